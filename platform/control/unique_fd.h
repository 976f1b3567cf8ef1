// Owns one open file descriptor.
#pragma once

#include <unistd.h>

#include <utility>

namespace control {

class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.m_fd, -1));
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    // Closes the held descriptor; the result of close, or 0 when none was held.
    int Reset(int fd = -1) {
        const int old = std::exchange(m_fd, fd);
        return old >= 0 ? ::close(old) : 0;
    }

  private:
    int m_fd = -1;
};

}  // namespace control
