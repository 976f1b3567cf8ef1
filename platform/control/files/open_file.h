// One file opened through File Access. Replacing a file's content never exposes a half-written
// file: the new content goes to a hidden file beside it, locked while it is written, which takes
// the file's place at Close in one rename. A handle dropped without Close (the server shutting
// down) leaves the file as it was.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/hresult.h"
#include "platform/control/unique_fd.h"

namespace control {

// Files larger than this are refused (kFileTooLarge): the program's files are a few kilobytes,
// and a huge or endless one must not take the memory.
inline constexpr std::uint64_t kMaxFileSize = 16u << 20;

// Removes the hidden files of replacements that were never put in place (a process killed during
// a rewrite); the server does this when it starts. A hidden file that a writer (of this or another
// workstation sharing the folder) holds locked is being written and stays.
void RemoveAbandonedReplacements(const std::filesystem::path& folder);
// Whether a name in the data folder is that of such a hidden file, which the clean-up removes.
bool IsAbandonedReplacementName(std::string_view name);

class OpenFile {
  public:
    // Opens `name` (the entry's name as stored; it need not exist) in `folder` with one of the
    // access values of file_access_codes.h. Open failures are the FACILITY_ITF open codes;
    // an unknown access value gives E_INVALIDARG.
    static com::HRESULT Open(const std::filesystem::path& folder, const std::string& name,
                             std::uint32_t access, std::unique_ptr<OpenFile>& file);

    ~OpenFile();
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    // Up to `wanted` bytes from the current position; fewer only at the end of the file. Small
    // reads are served from a read-ahead block, so that a file read a kilobyte at a time (as the
    // program's text files are) costs one system call per block, not one per kilobyte.
    com::HRESULT Read(std::uint32_t wanted, std::vector<std::uint8_t>& data);
    com::HRESULT Write(std::span<const std::uint8_t> bytes, std::uint32_t& written);
    com::HRESULT Seek(std::int64_t offset, std::uint32_t origin, std::int64_t& position);
    // Puts replaced content in place; the handle is finished either way. After a failed write the
    // replacement is abandoned and the file stays as it was, so a rewrite that broke off never
    // leaves a table cut short.
    com::HRESULT Close();
    void MarkWriteFailed() { m_writeFailed = true; }
    // Forgets the bytes read ahead and puts the descriptor back at the position the reader has
    // reached: before a write or a seek, and when another handle has written, so that every read
    // sees what the file holds.
    void DropReadAhead();

  private:
    enum class Replace { None, Pending, OnFirstWrite };

    OpenFile(std::filesystem::path folder, std::filesystem::path target, bool canRead,
             bool canWrite, Replace replace);
    com::HRESULT BeginReplacement();
    void Discard();

    std::filesystem::path m_folder;
    std::filesystem::path m_target;
    std::filesystem::path m_temp;  // set while replaced content waits for Close
    UniqueFd m_fd;
    bool m_canRead;
    bool m_canWrite;
    Replace m_replace;
    bool m_writeFailed = false;
    std::vector<std::uint8_t> m_ahead;  // read from the file, not yet handed out
    std::size_t m_aheadUsed = 0;        // of m_ahead, handed out already
};

}  // namespace control
