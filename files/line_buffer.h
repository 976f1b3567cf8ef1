// The read side of a text file: a fixed buffer that the file's reads fill and whole lines are
// taken from, apart from where the bytes come from, so that it can be tried on any content.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

class CLineBuffer {
  public:
    static constexpr std::uint32_t kBufferSize = 1024;

    CLineBuffer();

    // The next line (without its LF; a CR before it stays) when one is waiting in the buffer, or
    // the rest once the file has ended; false when more must be read first.
    bool TakeLine(std::string& line);
    // Where the next read goes: the free end of the buffer, after what still waits has moved to
    // its front. Empty once the file has ended.
    std::span<char> Space();
    // `count` bytes were read into Space(); fewer than it offered means the file has ended.
    void Filled(std::uint32_t count, std::uint32_t offered);
    bool Ended() const { return m_bEof != 0; }

  private:
    std::unique_ptr<char[]> m_pBuffer;
    std::uint32_t m_nStart = 0;
    std::uint32_t m_nPending = 0;
    int m_bEof = 0;
    // The part of a line longer than the buffer that has already left it.
    std::string m_strCarry;
};
