#include "platform/fw/named_mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace fw {

namespace {

struct Descriptor {
    int fd = -1;
    explicit Descriptor(int value) : fd(value) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    int Release() { return std::exchange(fd, -1); }
};

std::string FromEnv(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// A folder only this user can enter: created 0700 when missing, not a link, owned by the user;
// one that others could write to is tightened first. -1 when it cannot be made so (a folder of
// another user's, or a link planted in its place).
int OpenPrivateFolder(const std::string& path) {
    if (path.empty()) {
        return -1;
    }
    ::mkdir(path.c_str(), 0700);
    Descriptor dir(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (dir.fd < 0 || ::fstat(dir.fd, &st) != 0 || !S_ISDIR(st.st_mode) ||
        st.st_uid != ::geteuid()) {
        return -1;
    }
    if ((st.st_mode & 077) != 0 && ::fchmod(dir.fd, 0700) != 0) {
        return -1;
    }
    return dir.Release();
}

// The marker file in the folder: a regular file of this user's, never reached through a link.
int OpenMarker(int dir, const std::string& name) {
    if (dir < 0) {
        return -1;
    }
    Descriptor fd(::openat(dir, (name + ".lock").c_str(),
                           O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
    struct stat st {};
    if (fd.fd < 0 || ::fstat(fd.fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        return -1;
    }
    return fd.Release();
}

// The user's runtime folder when there is one; else a private folder under the temporary one,
// and when another user holds that name, one under the user's cache folder.
int OpenMarkerFile(const std::string& name) {
    const std::string runtime = FromEnv("XDG_RUNTIME_DIR");
    if (!runtime.empty()) {
        Descriptor dir(::open(runtime.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        return OpenMarker(dir.fd, name);
    }
    std::string temp = FromEnv("TMPDIR");
    if (temp.empty() || temp.front() != '/') {
        temp = "/tmp";
    }
    std::vector<std::string> candidates = {temp + "/" + name + "-" + std::to_string(::getuid())};
    if (const std::string cache = FromEnv("XDG_CACHE_HOME"); !cache.empty() && cache[0] == '/') {
        candidates.push_back(cache + "/" + name);
    } else if (const std::string home = FromEnv("HOME"); !home.empty() && home[0] == '/') {
        ::mkdir((home + "/.cache").c_str(), 0700);
        candidates.push_back(home + "/.cache/" + name);
    }
    for (const std::string& candidate : candidates) {
        Descriptor dir(OpenPrivateFolder(candidate));
        if (const int fd = OpenMarker(dir.fd, name); fd >= 0) {
            return fd;
        }
    }
    return -1;
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
    const int fd = OpenMarkerFile(name);
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
