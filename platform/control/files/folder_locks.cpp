#include "platform/control/files/folder_locks.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/control/file_access_codes.h"

namespace control {

namespace {

constexpr mode_t kLockFileMode = 0644;
// Offsets stay below 2^31: every lock manager takes them, also 32-bit ones.
constexpr std::uint32_t kOffsetSpan = 1u << 30;

std::string Key(std::string_view name) {
    std::string key(name);
    for (char& c : key) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return key;
}

}  // namespace

LockResult TryLockRange(int fd, off_t start, off_t length) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = start;
    lock.l_len = length;
    lock.l_pid = 0;  // required for open file description locks
    for (;;) {
        if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) {
            return LockResult::Taken;
        }
        if (errno == EINTR) {
            continue;
        }
        return errno == EAGAIN || errno == EACCES ? LockResult::HeldElsewhere : LockResult::Failed;
    }
}

off_t LockOffsetOf(std::string_view name) {
    // FNV-1a over the name in capitals. Two names on one byte only share a lock.
    std::uint32_t hash = 2166136261u;
    for (const char c : Key(name)) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return static_cast<off_t>(1 + hash % kOffsetSpan);
}

com::HRESULT FolderLocks::TryLock(const std::filesystem::path& folder, std::string_view name,
                                  std::string* why) {
    const std::string key = Key(name);
    if (m_held.count(key) != 0) {
        return com::S_OK;
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.Valid()) {
        *why = "the data folder cannot be opened (" + std::string(std::strerror(errno)) + ")";
        return kFileFolderUnavailable;
    }
    // Never through a link, and never waiting on something that is not a plain file.
    UniqueFd file(::openat(dir.Get(), kLockFileName,
                           O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                           kLockFileMode));
    struct stat st {};
    if (!file.Valid() || ::fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        *why = std::string("the lock file ") + kLockFileName + " cannot be opened" +
               (file.Valid() ? std::string(" (not a plain file)")
                             : " (" + std::string(std::strerror(errno)) + ")");
        return kFileOpenUnknown;
    }
    switch (TryLockRange(file.Get(), LockOffsetOf(key), 1)) {
        case LockResult::Taken:
            m_held.emplace(key, std::move(file));
            return com::S_OK;
        case LockResult::HeldElsewhere:
            return com::S_FALSE;
        case LockResult::Failed:
            break;
    }
    *why = "the data folder's file system takes no lock (" + std::string(std::strerror(errno)) +
           "); workstations sharing it need one that does";
    return com::HRESULT_FROM_WIN32(com::ERROR_NOT_SUPPORTED);
}

void FolderLocks::Unlock(std::string_view name) {
    m_held.erase(Key(name));
}

void FolderLocks::ReleaseAll() {
    m_held.clear();
}

}  // namespace control
