// A named, process-wide marker like the platform's named mutex: the first process to create a
// name holds it; later creations succeed but learn that it already existed. The system lets go of
// it when the holding process ends, however it ends.
#pragma once

#include <memory>
#include <string>

#include "platform/fw/types.h"

namespace fw {

inline constexpr DWORD ERROR_ALREADY_EXISTS = 183;

class NamedMutex {
  public:
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;
    bool IsOwner() const { return m_owner; }

  private:
    friend std::unique_ptr<NamedMutex> CreateMutex(const std::string& name, DWORD* lastError);
    NamedMutex(int fd, bool owner) : m_fd(fd), m_owner(owner) {}
    int m_fd;
    bool m_owner;
};

// Null when the marker could not be created at all; otherwise *lastError is 0, or
// ERROR_ALREADY_EXISTS when another process holds the name. Lives in the user's runtime folder
// ($XDG_RUNTIME_DIR), else in a folder only the user can enter: "<name>-<uid>" under $TMPDIR or
// /tmp (created 0700, its owner checked, no link followed), or "<name>" under the user's cache
// folder when another user has taken that one.
std::unique_ptr<NamedMutex> CreateMutex(const std::string& name, DWORD* lastError);

}  // namespace fw
