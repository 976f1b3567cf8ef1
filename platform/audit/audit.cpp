#include "platform/audit/audit.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <systemd/sd-journal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>

namespace audit {
namespace {

std::mutex g_mutex;
JournalSender g_sender;  // guarded by g_mutex
std::atomic<bool> g_warned{false};

constexpr char kNotRegular[] = "not a regular file";

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string UserName() {
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
        found->pw_name != nullptr) {
        return found->pw_name;
    }
    const std::string user = Env("USER");
    return user.empty() ? "uid " + std::to_string(::geteuid()) : user;
}

std::string HomeFolder() {
    std::string home = Env("HOME");
    if (!home.empty()) {
        return home;
    }
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr) {
        home = found->pw_dir;
    }
    return home;
}

std::string HostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) {
        return "unknown";
    }
    return name;
}

int SendToJournal(const std::vector<std::string>& fields) {
    // libsystemd drops a message without a word when the journal's socket does not exist, which
    // would lose the event: the file takes it instead.
    if (!JournalReachable(kJournalSocket)) {
        return -ENOENT;
    }
    std::vector<iovec> parts;
    parts.reserve(fields.size());
    for (const std::string& field : fields) {
        parts.push_back({const_cast<char*>(field.data()), field.size()});
    }
    return ::sd_journal_sendv(parts.data(), static_cast<int>(parts.size()));
}

// Creates the missing folders of path's folder, each readable by its owner only.
int MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            return errno;
        }
    }
    return 0;
}

// Appends line with one write, so that lines of programs writing at once never interleave.
// Returns "" or why the line could not be written.
std::string AppendLine(const std::string& path, const std::string& line) {
    if (path.empty()) {
        return std::strerror(ENOENT);
    }
    if (const int error = MakeFolders(path); error != 0) {
        return std::strerror(error);
    }
    // Not blocking, so that a FIFO in the file's place cannot hold the program (opening one for
    // writing waits for a reader); anything but a regular file is refused once it is open.
    const int fd = ::open(
        path.c_str(),
        O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0600);
    if (fd < 0) {
        return errno == ENXIO ? kNotRegular : std::strerror(errno);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return kNotRegular;
    }
    const ssize_t written = ::write(fd, line.data(), line.size());
    int error = written < 0 ? errno : 0;
    if (written >= 0 && static_cast<std::size_t>(written) != line.size()) {
        error = ENOSPC;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    return error == 0 ? std::string() : std::strerror(error);
}

std::string UtcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

}  // namespace

bool JournalReachable(const std::string& socketPath) {
    struct stat info {};
    return ::stat(socketPath.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

std::string AuditFilePath() {
    std::string state = Env("XDG_STATE_HOME");
    if (state.empty() || state[0] != '/') {
        const std::string home = HomeFolder();
        if (home.empty()) {
            return "";
        }
        state = home + "/.local/state";
    }
    return state + "/tavora/audit.log";
}

std::string FileLine(const Event& event) {
    std::string line;
    for (const auto& [name, value] : event) {
        if (!line.empty()) {
            line += '\t';
        }
        line += name + '=';
        for (const char c : value) {
            const auto byte = static_cast<unsigned char>(c);
            if (c == '\\') {
                line += "\\\\";
            } else if (c == '\t') {
                line += "\\t";
            } else if (c == '\n') {
                line += "\\n";
            } else if (c == '\r') {
                line += "\\r";
            } else if (byte < 0x20 || byte == 0x7F) {
                char hex[5];
                std::snprintf(hex, sizeof hex, "\\x%02X", byte);
                line += hex;
            } else {
                line += c;
            }
        }
    }
    return line;
}

Recorded Record(const Event& event) {
    Event full;
    full.reserve(event.size() + 4);
    full.emplace_back("SYSLOG_IDENTIFIER", "tavora");
    full.emplace_back("TAVORA_USER", UserName());
    full.emplace_back("TAVORA_HOST", HostName());
    full.insert(full.end(), event.begin(), event.end());

    std::string journalWhy = "switched off by TAVORA_AUDIT_JOURNAL";
    if (Env("TAVORA_AUDIT_JOURNAL") != "off") {
        std::vector<std::string> fields;
        for (const auto& [name, value] : full) {
            fields.push_back(name + '=' + value);
        }
        const std::lock_guard lock(g_mutex);
        const int journal = g_sender ? g_sender(fields) : SendToJournal(fields);
        if (journal >= 0) {
            return {};
        }
        journalWhy = std::strerror(-journal);
    }
    full.insert(full.begin(), {"TAVORA_TIME", UtcNow()});
    const std::string line = FileLine(full);
    const std::string path = AuditFilePath();
    const std::string error = AppendLine(path, line + '\n');
    if (error.empty()) {
        return {};
    }
    const std::string problem = "no journal (" + journalWhy + "), and " +
                                (path.empty() ? "no home folder" : path) + ": " + error;
    if (!g_warned.exchange(true)) {
        std::fprintf(stderr,
                     "tavora: the audit trail cannot be written: %s; audit events follow on "
                     "stderr\n",
                     problem.c_str());
    }
    std::fprintf(stderr, "tavora audit: %s\n", line.c_str());
    return {false, problem};
}

void SetJournalSenderForTests(JournalSender sender) {
    const std::lock_guard lock(g_mutex);
    g_sender = std::move(sender);
    g_warned = false;
}

}  // namespace audit
