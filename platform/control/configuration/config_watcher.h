// Watches the configuration file: replacing or editing it while the program runs is how the
// configuration set is announced to be changing. The file and its folder are watched with inotify,
// so that a file replaced, renamed or removed is seen as well as one edited (for a symbolic link,
// the file it leads to and that file's folder too); the folder's other files wake nothing. The
// file's identity, size and modification time are compared `settle` after the first sign of a
// change, so that an editor's writes in that time make one change; while nothing happens the
// thread sleeps without a deadline. Where inotify cannot tell (the folder does not exist, it is on
// a network file system where other machines' changes raise no event, or inotify cannot be had)
// the file is compared every `settle` instead. Tests call CheckNow instead of starting the thread.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "platform/control/socket_loop.h"
#include "platform/control/unique_fd.h"

namespace control {

class ConfigWatcher {
  public:
    // Takes the file's current state as the reference; onChange runs on the thread that sees a
    // change (the watcher's thread or the caller of CheckNow), never twice at once.
    ConfigWatcher(std::filesystem::path file, std::chrono::milliseconds settle,
                  std::function<void()> onChange);
    ~ConfigWatcher();
    ConfigWatcher(const ConfigWatcher&) = delete;
    ConfigWatcher& operator=(const ConfigWatcher&) = delete;

    void Start();
    // Returns once the watcher's thread has ended; at once, since the thread is woken for it.
    void Stop();
    // Compares the file with the last state seen; true (after onChange ran) when it changed.
    bool CheckNow();

    // How often the file has been compared (by the thread or CheckNow): with nothing happening
    // to the file, this does not move.
    std::uint64_t Looks() const { return m_looks; }
    // Whether the thread waits for inotify alone, or also compares the file every `settle`
    // because its folder cannot be watched.
    bool Polling() const { return m_polling; }

  private:
    struct Stamp {
        bool exists = false;
        std::uintmax_t size = 0;
        std::int64_t modified = 0;
        std::uint64_t inode = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    Stamp Read() const;

    // On the watcher's thread (or in Start, before it runs).
    void Watch();
    void TakeEvents();
    std::optional<SocketLoop::Clock::time_point> NextLook() const;
    void Look();

    const std::filesystem::path m_file;
    const std::chrono::milliseconds m_settle;
    const std::function<void()> m_onChange;
    std::mutex m_checkMutex;
    Stamp m_last;
    std::atomic<std::uint64_t> m_looks{0};
    std::atomic<bool> m_polling{false};

    UniqueFd m_inotify;
    // By watch: the file itself, or a folder and the names in it that are the file (or the file a
    // link leads to).
    struct Watched {
        bool wholeFile = false;
        std::set<std::string> names;
    };
    std::map<int, Watched> m_watches;
    std::optional<SocketLoop::Clock::time_point> m_lookAt;
    SocketLoop::Clock::time_point m_lastLook{};
    std::mutex m_startMutex;
    std::unique_ptr<SocketLoop> m_loop;  // last: its thread uses the members above
};

}  // namespace control
