// Watches the configuration file: replacing or editing it while the program runs is how the
// configuration set is announced to be changing. A thread polls the file's identity, size and
// modification time; tests call CheckNow instead of waiting for it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

namespace control {

class ConfigWatcher {
  public:
    // Takes the file's current state as the reference; onChange runs on the thread that sees a
    // change (the polling thread or the caller of CheckNow), never twice at once.
    ConfigWatcher(std::filesystem::path file, std::chrono::milliseconds interval,
                  std::function<void()> onChange);
    ~ConfigWatcher();
    ConfigWatcher(const ConfigWatcher&) = delete;
    ConfigWatcher& operator=(const ConfigWatcher&) = delete;

    void Start();
    // Returns once the polling thread has ended; prompt, since the thread waits on a condition.
    void Stop();
    // Compares the file with the last state seen; true (after onChange ran) when it changed.
    bool CheckNow();

  private:
    struct Stamp {
        bool exists = false;
        std::uintmax_t size = 0;
        std::int64_t modified = 0;
        std::uint64_t inode = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    Stamp Read() const;
    void Run();

    const std::filesystem::path m_file;
    const std::chrono::milliseconds m_interval;
    const std::function<void()> m_onChange;
    std::mutex m_checkMutex;
    Stamp m_last;
    std::mutex m_stopMutex;
    std::condition_variable m_stopCv;
    bool m_stop = false;
    std::thread m_thread;
};

}  // namespace control
