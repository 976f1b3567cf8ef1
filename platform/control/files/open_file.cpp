#include "platform/control/files/open_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/control/file_access_codes.h"
#include "platform/control/files/folder_locks.h"

namespace control {

namespace {

namespace fs = std::filesystem;

constexpr mode_t kNewFileMode = 0644;
constexpr std::uint32_t kMaxReadChunk = 16u << 20;
constexpr std::size_t kReadAheadBytes = 64u << 10;
// The hidden file a replacement is written to: ".<name>.tav-XXXXXX".
constexpr char kTempPrefix[] = ".";
constexpr char kTempMarker[] = ".tav-";
constexpr std::size_t kTempRandom = 6;
// Hidden files a starting workstation took from under the writer before it locked them.
constexpr int kReplacementAttempts = 8;

com::HRESULT OpenErrorFromErrno(int error, bool writing) {
    switch (error) {
        case ENOENT:
            return kFileNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return writing ? kFileReadOnly : kFileOpenGeneral;
        case EMFILE:
        case ENFILE:
            return kFileNoHandles;
        case EEXIST:
            return kFileExists;
        case EBUSY:
        case ETXTBSY:
            return kFileShareViolation;
        case EISDIR:
        case ENAMETOOLONG:
        case ENOTDIR:
            return kFileOpenGeneral;
        default:
            return kFileOpenUnknown;
    }
}

com::HRESULT WriteErrorFromErrno(int error) {
    return com::HRESULT_FROM_WIN32(error == ENOSPC || error == EDQUOT ? com::ERROR_DISK_FULL
                                                                      : com::ERROR_WRITE_FAULT);
}

// mkostemp's six characters: letters and digits. A name of the older form is only taken for one
// when the six hold both a capital and a lower-case letter or a digit, as random ones nearly
// always do, and unlike a user's ".notes.backup".
bool IsOlderTempSuffix(std::string_view six) {
    bool upper = false;
    bool other = false;
    for (const char c : six) {
        if (c >= 'A' && c <= 'Z') {
            upper = true;
        } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            other = true;
        } else {
            return false;
        }
    }
    return upper && other;
}

void SyncFolder(const fs::path& folder) {
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Valid()) {
        ::fsync(dir.Get());
    }
}

}  // namespace

OpenFile::OpenFile(fs::path folder, fs::path target, bool canRead, bool canWrite, Replace replace)
    : m_folder(std::move(folder)),
      m_target(std::move(target)),
      m_canRead(canRead),
      m_canWrite(canWrite),
      m_replace(replace) {}

OpenFile::~OpenFile() {
    Discard();
}

namespace {

// The file as found beneath the folder's descriptor (no link followed) may be opened so.
com::HRESULT CheckFound(int dir, const std::string& name, bool mustExist, bool canWrite) {
    struct stat st {};
    const bool exists = ::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        return kFileOpenGeneral;  // a folder, a link, a FIFO or a device
    }
    if (!exists && mustExist) {
        return kFileNotFound;
    }
    if (exists && static_cast<std::uint64_t>(st.st_size) > kMaxFileSize) {
        return kFileTooLarge;
    }
    // The owner's write bit is the read-only attribute, also for a process that could ignore it.
    if (exists && canWrite && (st.st_mode & S_IWUSR) == 0) {
        return kFileReadOnly;
    }
    return com::S_OK;
}

// Not blocking, so that something swapped in since the check (a FIFO) cannot hold the open; what
// was opened is checked again before it is used.
com::HRESULT OpenFound(int dir, const std::string& name, int flags, bool canWrite, UniqueFd& fd) {
    fd.Reset(::openat(dir, name.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, kNewFileMode));
    if (!fd.Valid()) {
        return errno == ELOOP ? kFileOpenGeneral : OpenErrorFromErrno(errno, canWrite);
    }
    struct stat opened_st {};
    if (::fstat(fd.Get(), &opened_st) != 0 || !S_ISREG(opened_st.st_mode)) {
        return kFileOpenGeneral;
    }
    if (static_cast<std::uint64_t>(opened_st.st_size) > kMaxFileSize) {
        return kFileTooLarge;
    }
    ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
    return com::S_OK;
}

}  // namespace

com::HRESULT OpenFile::Open(const fs::path& folder, const std::string& name, std::uint32_t access,
                            std::unique_ptr<OpenFile>& file) {
    file.reset();
    bool mustExist = false;
    bool canWrite = true;
    Replace replace = Replace::None;
    int flags = O_RDWR | O_CLOEXEC;
    switch (access) {
        case kAccessRead:
            mustExist = true;
            canWrite = false;
            flags = O_RDONLY | O_CLOEXEC;
            break;
        case kAccessReadWrite:
            mustExist = true;
            break;
        case kAccessAppend:
            flags |= O_CREAT | O_APPEND;
            break;
        case kAccessReplace:
            replace = Replace::Pending;
            break;
        case kAccessReplaceOnWrite:
            flags |= O_CREAT;
            replace = Replace::OnFirstWrite;
            break;
        default:
            return com::E_INVALIDARG;
    }

    const fs::path target = folder / name;
    if (!mustExist) {
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (ec || !fs::is_directory(folder, ec)) {
            return kFileFolderUnavailable;
        }
    }
    // Everything below happens beneath the folder's own descriptor, and no link is followed: a
    // link left in the folder (dangling or not) must not let a file be read or created elsewhere.
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.Valid()) {
        return errno == ENOENT ? (mustExist ? kFileNotFound : kFileFolderUnavailable)
                               : kFileFolderUnavailable;
    }
    if (const com::HRESULT hr = CheckFound(dir.Get(), name, mustExist, canWrite); com::FAILED(hr)) {
        return hr;
    }

    std::unique_ptr<OpenFile> opened(new OpenFile(folder, target, true, canWrite, replace));
    if (replace == Replace::Pending) {
        if (const com::HRESULT hr = opened->BeginReplacement(); com::FAILED(hr)) {
            return hr;
        }
    } else {
        if (const com::HRESULT hr = OpenFound(dir.Get(), name, flags, canWrite, opened->m_fd);
            com::FAILED(hr)) {
            return hr;
        }
    }
    file = std::move(opened);
    return com::S_OK;
}

com::HRESULT OpenFile::BeginReplacement() {
    // The hidden file is locked while it is written, so that a workstation starting meanwhile
    // does not take it for one a killed rewrite left behind. Between its creation and the lock, a
    // starting workstation may have taken it already: it is then given up for another one.
    for (int attempt = 0; attempt < kReplacementAttempts; ++attempt) {
        std::string pattern =
            (m_folder / (kTempPrefix + m_target.filename().string() + kTempMarker + "XXXXXX"))
                .string();
        UniqueFd temp(::mkostemp(pattern.data(), O_CLOEXEC));
        if (!temp.Valid()) {
            return OpenErrorFromErrno(errno, true);
        }
        const LockResult lock = TryLockRange(temp.Get(), 0, 0);
        struct stat held {};
        struct stat named {};
        const bool ours = lock == LockResult::Failed ||
                          (lock == LockResult::Taken && ::fstat(temp.Get(), &held) == 0 &&
                           ::lstat(pattern.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
                           held.st_dev == named.st_dev);
        if (!ours) {
            continue;  // the clean-up has it, and removes it
        }
        struct stat st {};
        const mode_t mode = ::lstat(m_target.c_str(), &st) == 0 && S_ISREG(st.st_mode)
                                ? (st.st_mode & 07777)
                                : kNewFileMode;
        ::fchmod(temp.Get(), mode);
        m_temp = pattern;
        m_fd = std::move(temp);
        m_replace = Replace::Pending;
        return com::S_OK;
    }
    return kFileOpenUnknown;
}

namespace {

// Reads until `count` bytes are in, or the end of the file; the number read, or -1 on a failure.
ssize_t ReadFully(int fd, std::uint8_t* into, std::size_t count) {
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n = ::read(fd, into + got, count - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return -1;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

}  // namespace

com::HRESULT OpenFile::Read(std::uint32_t wanted, std::vector<std::uint8_t>& data) {
    data.clear();
    if (!m_canRead) {
        return com::E_ACCESSDENIED;
    }
    const std::size_t count = std::min(wanted, kMaxReadChunk);
    data.reserve(count);
    for (;;) {
        const std::size_t take = std::min(count - data.size(), m_ahead.size() - m_aheadUsed);
        data.insert(data.end(), m_ahead.begin() + static_cast<std::ptrdiff_t>(m_aheadUsed),
                    m_ahead.begin() + static_cast<std::ptrdiff_t>(m_aheadUsed + take));
        m_aheadUsed += take;
        const std::size_t missing = count - data.size();
        if (missing == 0) {
            return com::S_OK;
        }
        m_ahead.clear();
        m_aheadUsed = 0;
        if (missing >= kReadAheadBytes) {
            // A large read goes straight into the caller's block.
            const std::size_t had = data.size();
            data.resize(count);
            const ssize_t n = ReadFully(m_fd.Get(), data.data() + had, missing);
            if (n < 0) {
                data.clear();
                return com::HRESULT_FROM_WIN32(com::ERROR_READ_FAULT);
            }
            data.resize(had + static_cast<std::size_t>(n));
            return com::S_OK;
        }
        m_ahead.resize(kReadAheadBytes);
        const ssize_t n = ReadFully(m_fd.Get(), m_ahead.data(), m_ahead.size());
        if (n < 0) {
            m_ahead.clear();
            data.clear();
            return com::HRESULT_FROM_WIN32(com::ERROR_READ_FAULT);
        }
        m_ahead.resize(static_cast<std::size_t>(n));
        if (n == 0) {
            return com::S_OK;  // the end of the file
        }
    }
}

void OpenFile::DropReadAhead() {
    const std::size_t unread = m_ahead.size() - m_aheadUsed;
    if (unread > 0) {
        ::lseek(m_fd.Get(), -static_cast<off_t>(unread), SEEK_CUR);
    }
    m_ahead.clear();
    m_aheadUsed = 0;
}

com::HRESULT OpenFile::Write(std::span<const std::uint8_t> bytes, std::uint32_t& written) {
    written = 0;
    if (!m_canWrite) {
        return com::E_ACCESSDENIED;
    }
    DropReadAhead();
    if (m_replace == Replace::OnFirstWrite && !bytes.empty()) {
        if (const com::HRESULT hr = BeginReplacement(); com::FAILED(hr)) {
            return com::HRESULT_FROM_WIN32(com::ERROR_WRITE_FAULT);
        }
    }
    while (written < bytes.size()) {
        const ssize_t n = ::write(m_fd.Get(), bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            m_writeFailed = true;
            return WriteErrorFromErrno(errno);
        }
        written += static_cast<std::uint32_t>(n);
    }
    return com::S_OK;
}

com::HRESULT OpenFile::Seek(std::int64_t offset, std::uint32_t origin, std::int64_t& position) {
    int whence = SEEK_SET;
    switch (origin) {
        case kSeekFromStart:
            whence = SEEK_SET;
            break;
        case kSeekFromCurrent:
            whence = SEEK_CUR;
            break;
        case kSeekFromEnd:
            whence = SEEK_END;
            break;
        default:
            return com::E_INVALIDARG;
    }
    DropReadAhead();
    const off_t result = ::lseek(m_fd.Get(), static_cast<off_t>(offset), whence);
    if (result < 0) {
        return com::E_INVALIDARG;
    }
    position = result;
    return com::S_OK;
}

com::HRESULT OpenFile::Close() {
    if (m_replace == Replace::Pending && m_writeFailed) {
        Discard();
        return com::S_OK;
    }
    if (m_replace != Replace::Pending) {
        const bool failed = m_fd.Reset() != 0;
        return failed ? com::HRESULT_FROM_WIN32(com::ERROR_WRITE_FAULT) : com::S_OK;
    }
    const bool synced = ::fsync(m_fd.Get()) == 0;
    const int syncError = errno;
    // The lock goes with the description's last descriptor: one stays open until the hidden file
    // has taken the file's place, while the close that reports the writing's failures is made.
    UniqueFd locked(::dup(m_fd.Get()));
    const bool closed = m_fd.Reset() == 0;
    if (!synced || !closed) {
        m_fd = std::move(locked);
        Discard();
        return WriteErrorFromErrno(synced ? EIO : syncError);
    }
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        const int error = errno;
        m_fd = std::move(locked);
        Discard();
        return WriteErrorFromErrno(error);
    }
    locked.Reset();
    m_temp.clear();
    m_replace = Replace::None;
    SyncFolder(m_folder);
    return com::S_OK;
}

bool IsAbandonedReplacementName(std::string_view name) {
    // Written by BeginReplacement; older versions wrote ".<name>.XXXXXX", without the marker.
    const std::size_t marker = name.rfind(kTempMarker);
    const bool current = marker != std::string_view::npos && marker > 1 &&
                         name.size() == marker + std::strlen(kTempMarker) + kTempRandom;
    const bool older = name.size() > 2 + kTempRandom &&
                       name[name.size() - kTempRandom - 1] == '.' &&
                       IsOlderTempSuffix(name.substr(name.size() - kTempRandom));
    return name.rfind(kTempPrefix, 0) == 0 && (current || older);
}

void RemoveAbandonedReplacements(const fs::path& folder) {
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (!dir.Valid()) {
        return;
    }
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!IsAbandonedReplacementName(name)) {
            continue;
        }
        // A writer, here or at another workstation, holds the lock of the file it is writing; only
        // a file nobody holds was left behind. The lock is kept until the name is gone, and what
        // is removed is the very file that was locked.
        UniqueFd file(::openat(dir.Get(), name.c_str(),
                               O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat st {};
        struct stat named {};
        if (file.Valid() && ::fstat(file.Get(), &st) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == ::geteuid() && TryLockRange(file.Get(), 0, 0) == LockResult::Taken &&
            ::fstatat(dir.Get(), name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_ino == st.st_ino && named.st_dev == st.st_dev) {
            ::unlinkat(dir.Get(), name.c_str(), 0);
        }
    }
}

void OpenFile::Discard() {
    // Removed while still locked, so that nobody takes the name for one left behind meanwhile.
    if (!m_temp.empty()) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
    m_fd.Reset();
}

}  // namespace control
