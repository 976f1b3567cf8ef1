#include "programs/tav-scenario/run_folders.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

namespace {

// Runs in the guard: waits until the player's end of the pipe is closed (the player ended,
// however it ended), then removes the folder. The guard leaves the player's session and ignores
// the signals a terminal or a test runner sends, so that it outlives the player; it holds no
// output of the player's open, so that nobody reading that output waits for it.
[[noreturn]] void Guard(int pipe, const fs::path& folder) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        ::signal(signal, SIG_IGN);
    }
    const int null = ::open("/dev/null", O_RDWR);
    for (int fd = 0; fd <= 2 && null >= 0; ++fd) {
        ::dup2(null, fd);
    }
    for (int fd = 3; fd < pipe; ++fd) {
        ::close(fd);
    }
    ::close_range(static_cast<unsigned>(pipe) + 1, ~0u, 0);
    char byte = 0;
    while (::read(pipe, &byte, 1) < 0 && errno == EINTR) {
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    ::_exit(0);
}

}  // namespace

RunFolders::RunFolders() {
    std::string pattern = (fs::temp_directory_path() / "tavora-scenario-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder in " +
                                 fs::temp_directory_path().string());
    }
    m_parent = pattern;
    std::error_code ec;
    for (const fs::path& folder : {Runtime(), Data(), State(), Sync()}) {
        // Private, as a runtime folder must be (Qt takes another one of its own otherwise).
        fs::create_directory(folder, ec);
        if (!ec) {
            fs::permissions(folder, fs::perms::owner_all, ec);
        }
        if (ec) {
            fs::remove_all(m_parent, ec);
            throw std::runtime_error("cannot create " + folder.string());
        }
    }
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        fs::remove_all(m_parent);
        throw std::runtime_error("cannot start the guard of the run's folders");
    }
    const pid_t first = ::fork();
    if (first == 0) {
        // The first child only starts the guard and ends, so that the guard belongs to nobody's
        // process tree: a runner that kills the player's children does not reach it.
        ::close(ends[1]);
        ::setsid();
        if (::fork() == 0) {
            Guard(ends[0], m_parent);
        }
        ::_exit(0);
    }
    ::close(ends[0]);
    if (first < 0) {
        ::close(ends[1]);
        fs::remove_all(m_parent);
        throw std::runtime_error("cannot start the guard of the run's folders");
    }
    int status = 0;
    while (::waitpid(first, &status, 0) < 0 && errno == EINTR) {
    }
    m_guardPipe = ends[1];
}

RunFolders::~RunFolders() {
    std::error_code ignored;
    fs::remove_all(m_parent, ignored);
    ::close(m_guardPipe);
}
