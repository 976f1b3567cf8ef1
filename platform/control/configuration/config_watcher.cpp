#include "platform/control/configuration/config_watcher.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

namespace control {

namespace {

// The file itself: its content, size or times written.
constexpr std::uint32_t kFileEvents =
    IN_ATTRIB | IN_CLOSE_WRITE | IN_MODIFY | IN_DELETE_SELF | IN_MOVE_SELF;
// Its folder: a file of its name created, removed or renamed, and the folder itself going away or
// moving. Writes to the folder's other files are not asked for, so they wake nothing.
constexpr std::uint32_t kFolderEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                        IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

// inotify hears only what this machine does to a file: on a network or user-space file system a
// change made elsewhere (the configuration edited on another workstation) raises no event, so a
// folder there is compared on the clock as before.
bool ChangesAreHeard(const std::filesystem::path& folder) {
    struct statfs fs {};
    if (::statfs(folder.c_str(), &fs) != 0) {
        return false;
    }
    constexpr std::array<std::uint32_t, 11> kElsewhere = {
        0x6969,      // NFS
        0x517B,      // SMB
        0xFF534D42,  // CIFS
        0xFE534D42,  // SMB2
        0x65735546,  // FUSE (sshfs and the like)
        0x73757245,  // Coda
        0x5346414F,  // AFS
        0x01021997,  // 9P
        0x00C36400,  // Ceph
        0x7461636F,  // OCFS2
        0x01161970,  // GFS2
    };
    const auto type = static_cast<std::uint32_t>(fs.f_type);
    return std::find(kElsewhere.begin(), kElsewhere.end(), type) == kElsewhere.end();
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    const auto folder = file.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

}  // namespace

ConfigWatcher::ConfigWatcher(std::filesystem::path file, std::chrono::milliseconds settle,
                             std::function<void()> onChange)
    : m_file(std::move(file)), m_settle(settle), m_onChange(std::move(onChange)), m_last(Read()) {}

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
    std::lock_guard lock(m_startMutex);
    if (m_loop) {
        return;
    }
    m_inotify = UniqueFd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    m_watches.clear();
    m_lookAt.reset();
    m_lastLook = SocketLoop::Clock::now();
    // Before the thread runs, so that a change from here on is seen; and one comparison at once
    // for a change made since the reference was taken, which raised no event for anyone.
    Watch();
    m_lookAt = m_lastLook;
    std::vector<int> fds;
    if (m_inotify.Valid()) {
        fds.push_back(m_inotify.Get());
    }
    m_loop = std::make_unique<SocketLoop>(
        std::move(fds), SocketLoop::Handlers{[this](std::size_t) { TakeEvents(); },
                                             [this] { return NextLook(); }, [this] { Look(); }});
}

void ConfigWatcher::Stop() {
    std::unique_ptr<SocketLoop> loop;
    {
        std::lock_guard lock(m_startMutex);
        loop = std::move(m_loop);
    }
    if (loop) {
        loop->Stop();
    }
}

bool ConfigWatcher::CheckNow() {
    std::lock_guard lock(m_checkMutex);
    ++m_looks;
    const Stamp now = Read();
    if (now == m_last) {
        return false;
    }
    m_last = now;
    m_onChange();
    return true;
}

void ConfigWatcher::Watch() {
    if (!m_inotify.Valid()) {
        m_polling = true;
        return;
    }
    // The folder of the name given, and for a link the folder of the file it leads to now.
    std::map<std::filesystem::path, std::set<std::string>> folders;
    folders[FolderOf(m_file)].insert(m_file.filename().string());
    std::error_code error;
    const auto target = std::filesystem::canonical(m_file, error);
    if (!error) {
        folders[FolderOf(target)].insert(target.filename().string());
    }
    std::map<int, Watched> watches;
    bool everyFolder = true;
    for (const auto& [folder, names] : folders) {
        // A folder or file watched already keeps its watch (the same one comes back).
        const int wd = ::inotify_add_watch(m_inotify.Get(), folder.c_str(), kFolderEvents);
        if (wd < 0) {
            everyFolder = false;
            continue;
        }
        everyFolder = everyFolder && ChangesAreHeard(folder);
        watches[wd].names.insert(names.begin(), names.end());
    }
    // Through a link, the file it leads to; none while there is no file.
    const int file = ::inotify_add_watch(m_inotify.Get(), m_file.c_str(), kFileEvents);
    if (file >= 0) {
        watches[file].wholeFile = true;
    }
    for (const auto& [wd, watched] : m_watches) {
        if (!watches.contains(wd)) {
            ::inotify_rm_watch(m_inotify.Get(), wd);
        }
    }
    m_watches = std::move(watches);
    m_polling = !everyFolder;
}

void ConfigWatcher::TakeEvents() {
    alignas(inotify_event) std::array<char, 4096> buffer{};
    bool lookSoon = false;
    for (;;) {
        const ssize_t got = ::read(m_inotify.Get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;  // all taken
        }
        for (std::size_t at = 0; at + sizeof(inotify_event) <= static_cast<std::size_t>(got);) {
            inotify_event event{};
            std::memcpy(&event, buffer.data() + at, sizeof event);
            const char* name = buffer.data() + at + sizeof event;
            at += sizeof event + event.len;
            if ((event.mask & IN_Q_OVERFLOW) != 0) {
                lookSoon = true;  // events were lost: one of them may have been the file's
                continue;
            }
            const auto watched = m_watches.find(event.wd);
            if (watched == m_watches.end()) {
                continue;  // a watch let go of before
            }
            if ((event.mask & IN_IGNORED) != 0) {
                // The file or folder is gone: watched again (or compared every `settle`) at the
                // look.
                m_watches.erase(watched);
                lookSoon = true;
            } else if (watched->second.wholeFile ||
                       (event.mask & (IN_DELETE_SELF | IN_MOVE_SELF)) != 0 ||
                       (event.len > 0 && watched->second.names.contains(name))) {
                lookSoon = true;
            }
        }
    }
    if (lookSoon && !m_lookAt) {
        m_lookAt = SocketLoop::Clock::now() + m_settle;
    }
}

std::optional<SocketLoop::Clock::time_point> ConfigWatcher::NextLook() const {
    if (m_lookAt) {
        return m_lookAt;
    }
    if (m_polling) {
        return m_lastLook + m_settle;
    }
    return std::nullopt;  // until inotify has something to say
}

void ConfigWatcher::Look() {
    m_lookAt.reset();
    m_lastLook = SocketLoop::Clock::now();
    // Before the comparison: whatever changes after it is seen by the watches.
    Watch();
    CheckNow();
}

}  // namespace control
