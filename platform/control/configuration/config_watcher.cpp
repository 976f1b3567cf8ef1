#include "platform/control/configuration/config_watcher.h"

#include <sys/stat.h>

namespace control {

ConfigWatcher::ConfigWatcher(std::filesystem::path file, std::chrono::milliseconds interval,
                             std::function<void()> onChange)
    : m_file(std::move(file)),
      m_interval(interval),
      m_onChange(std::move(onChange)),
      m_last(Read()) {}

ConfigWatcher::~ConfigWatcher() {
    Stop();
}

ConfigWatcher::Stamp ConfigWatcher::Read() const {
    struct stat st {};
    if (::stat(m_file.c_str(), &st) != 0) {
        return {};
    }
    return Stamp{true, static_cast<std::uintmax_t>(st.st_size),
                 static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec,
                 static_cast<std::uint64_t>(st.st_ino)};
}

void ConfigWatcher::Start() {
    std::lock_guard lock(m_stopMutex);
    if (m_thread.joinable()) {
        return;
    }
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
}

void ConfigWatcher::Stop() {
    {
        std::lock_guard lock(m_stopMutex);
        m_stop = true;
    }
    m_stopCv.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

bool ConfigWatcher::CheckNow() {
    std::lock_guard lock(m_checkMutex);
    const Stamp now = Read();
    if (now == m_last) {
        return false;
    }
    m_last = now;
    m_onChange();
    return true;
}

void ConfigWatcher::Run() {
    std::unique_lock lock(m_stopMutex);
    while (!m_stopCv.wait_for(lock, m_interval, [this] { return m_stop; })) {
        lock.unlock();
        CheckNow();
        lock.lock();
    }
}

}  // namespace control
