// Text files through the File Access component: opened at construction, read line by line
// through a 1024-byte buffer, written raw (CR LF) or as lines (LF), optionally time-stamped.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "files/line_buffer.h"

// Thrown by a failed write, after the error dialog, so that a whole sequence of writes stops at
// the first failure.
class CUserException : public std::exception {
  public:
    const char* what() const noexcept override { return "file write failed"; }
};

class CTavFile {
  public:
    // Mode bits.
    static constexpr int kAppend = 1;
    static constexpr int kTimeStamp = 2;
    static constexpr int kRead = 4;
    static constexpr int kReplace = 8;
    static constexpr std::uint32_t kBufferSize = CLineBuffer::kBufferSize;

    // Opens at once; a nonzero m_nError afterwards means there is no file to read or write.
    CTavFile(const std::string& name, int mode);
    ~CTavFile();
    CTavFile(const CTavFile&) = delete;
    CTavFile& operator=(const CTavFile&) = delete;

    void WriteLine(const std::string& text);
    void WriteRaw(const std::string& text);
    // 1 and the next line (without its LF; a CR before it stays), or 0 at the end or on failure;
    // after a failure m_nError is not 0, so that a caller can tell a table read only in part
    // from a whole one.
    int ReadLine(std::string& line);
    // Tells the operator why the file could not be opened: the File Access message for its
    // code, or the error dialog for any other failure.
    void ReportOpenError() const;
    int Rewind();
    void Close();

    std::uint32_t m_hFile = 0;
    int m_nMode = 0;
    int m_bTimeStamp = 0;
    std::uint32_t m_nError = 0;
    std::int32_t m_hrError = 0;  // the failed call's result, for the error report
    // Something was written through the handle: its Close then puts the content in place, so a
    // failed Close loses it.
    bool m_bWritten = false;
    int m_bClosed = 0;
    std::unique_ptr<CLineBuffer> m_pBuffer;  // none when the file could not be opened

  private:
    void Write(const std::string& text);
    int Refill();
    void KeepErrorCode(std::int32_t hr);
    void KeepFailure(std::int32_t hr);
};
