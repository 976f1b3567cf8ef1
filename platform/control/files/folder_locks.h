// The locks of a data folder that several workstations share. They are the file system's own
// record locks on open file descriptions (which NFSv4, NFSv3 with its lock manager and SMB3 pass
// on to the server), so no server of ours is needed and a process that ends, however it ends,
// holds none. Each file name has one byte of a hidden lock file in the folder; the lock file is
// never replaced or removed, so every workstation always locks the same file.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "platform/com/hresult.h"
#include "platform/control/unique_fd.h"

namespace control {

// The lock file's name in the data folder. File Access neither lists nor opens it.
inline constexpr char kLockFileName[] = ".tavora.lock";

enum class LockResult {
    Taken,          // held now through this descriptor
    HeldElsewhere,  // another process, or another descriptor of this one, holds it
    Failed,         // the file system took no lock; errno says why
};

// An exclusive lock of `length` bytes from `start` (0: to any end) on the open file description
// behind fd, without waiting. It lasts until the description's last descriptor is closed.
LockResult TryLockRange(int fd, off_t start, off_t length);

// Where a name's lock lies in the lock file: the same byte for every spelling of the name.
off_t LockOffsetOf(std::string_view name);

class FolderLocks {
  public:
    // S_OK when the name's lock is held now (also when it was held here already), S_FALSE when it
    // is held elsewhere, a failure code otherwise (*why then says what failed).
    com::HRESULT TryLock(const std::filesystem::path& folder, std::string_view name,
                         std::string* why);
    void Unlock(std::string_view name);
    void ReleaseAll();
    std::size_t HeldCount() const { return m_held.size(); }

  private:
    // One description of the lock file per lock held, so that letting one go is closing it.
    std::map<std::string, UniqueFd> m_held;
};

}  // namespace control
