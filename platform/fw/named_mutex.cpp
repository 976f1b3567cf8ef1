#include "platform/fw/named_mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace fw {

namespace {

std::string MarkerPath(const std::string& name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string dir = runtime != nullptr && *runtime != '\0'
                          ? std::string(runtime)
                          : "/tmp/" + name + "-" + std::to_string(::getuid());
    if (runtime == nullptr || *runtime == '\0') {
        ::mkdir(dir.c_str(), 0700);
    }
    return dir + "/" + name + ".lock";
}

}  // namespace

NamedMutex::~NamedMutex() {
    if (m_fd >= 0) {
        ::close(m_fd);  // closing drops the lock
    }
}

std::unique_ptr<NamedMutex> CreateMutex(const std::string& name, DWORD* lastError) {
    if (lastError != nullptr) {
        *lastError = 0;
    }
    // An advisory lock on an open file: the kernel releases it when the process dies, so a
    // crashed copy never keeps the next one from starting.
    const int fd = ::open(MarkerPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return nullptr;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        return std::unique_ptr<NamedMutex>(new NamedMutex(fd, true));
    }
    if (errno != EWOULDBLOCK) {
        ::close(fd);
        return nullptr;
    }
    if (lastError != nullptr) {
        *lastError = ERROR_ALREADY_EXISTS;
    }
    return std::unique_ptr<NamedMutex>(new NamedMutex(fd, false));
}

}  // namespace fw
