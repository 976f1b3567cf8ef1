// The scenario player leaves none of its temporary folders behind, however a run ends: passed,
// failed, refused, with a window opened where a failure cannot pass, or killed by a signal half-way
// through (the folders' guard removes them then). Each run gets a temporary folder ($TMPDIR) of the
// test's own, watched from before the player starts, so that no removal goes unseen.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr char kStart[] =
    "msgbox caption=\"Load System Definition Table\" -> no\nwindow 102 \"Tavora\"\n";

struct Ending {
    const char* name;
    std::string script;
    bool qt = false;
    int signal = 0;    // sent once the main window is open; 0: the run ends by itself
    int exitCode = 0;  // when it ends by itself
};

class PlayerRuns : public ::testing::TestWithParam<Ending> {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tav-player-runs-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        fs::create_directory(m_dir / "tmp");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Starts the player on script with TMPDIR in the test's folder; its output comes through
    // m_output.
    pid_t Start(const Ending& run) {
        const fs::path script = m_dir / "run.scn";
        std::ofstream(script) << run.script;
        int out[2];
        EXPECT_EQ(::pipe(out), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(out[1], 1);
            ::dup2(out[1], 2);
            ::close(out[0]);
            ::close(out[1]);
            ::setenv("TMPDIR", (m_dir / "tmp").c_str(), 1);
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            std::vector<const char*> args = {TAV_SCENARIO_PLAYER};
            if (run.qt) {
                args.push_back("--qt");
            }
            args.push_back(script.c_str());
            args.push_back(nullptr);
            ::execv(args[0], const_cast<char* const*>(args.data()));
            ::_exit(127);
        }
        ::close(out[1]);
        m_output = out[0];
        return pid;
    }
    // Reads the player's output until it holds text, or to its end (text empty).
    bool ReadUntil(const std::string& text) {
        char buffer[4096];
        for (;;) {
            if (!text.empty() && m_seen.find(text) != std::string::npos) {
                return true;
            }
            const ssize_t n = ::read(m_output, buffer, sizeof buffer);
            if (n <= 0) {
                return text.empty();
            }
            m_seen.append(buffer, static_cast<std::size_t>(n));
        }
    }

    fs::path m_dir;
    int m_output = -1;
    std::string m_seen;
};

TEST_P(PlayerRuns, LeaveNoFolderBehind) {
    const Ending& run = GetParam();
    const fs::path tmp = m_dir / "tmp";
    const int watch = ::inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, tmp.c_str(), IN_CREATE | IN_DELETE), 0);

    const pid_t pid = Start(run);
    if (run.signal != 0) {
        ASSERT_TRUE(ReadUntil("open 102 ")) << m_seen;
        ASSERT_FALSE(fs::is_empty(tmp));
        ::kill(pid, run.signal);
    }
    ReadUntil("");
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    if (run.signal != 0) {
        ASSERT_TRUE(WIFSIGNALED(status)) << m_seen;
        EXPECT_EQ(WTERMSIG(status), run.signal);
    } else {
        ASSERT_TRUE(WIFEXITED(status)) << m_seen;
        EXPECT_EQ(WEXITSTATUS(status), run.exitCode) << m_seen;
        // The player removes its own folders before it ends.
        EXPECT_TRUE(fs::is_empty(tmp));
    }
    // A killed player's folders go with its guard, a moment after it ended: each change of the
    // folder is waited for (the test's timeout bounds the wait).
    while (!fs::is_empty(tmp)) {
        char events[4096];
        ASSERT_GT(::read(watch, events, sizeof events), 0);
    }
    ::close(watch);
    ::close(m_output);
}

const std::string kWaiting = std::string(kStart) + "wait-message 30000\n";

INSTANTIATE_TEST_SUITE_P(
    Endings, PlayerRuns,
    ::testing::Values(
        Ending{"passed", std::string(kStart) + "click 1019\nexit 0\n", false, 0, 0},
        Ending{"failed", std::string(kStart) + "click 1019\nexit 3\n", false, 0, 1},
        Ending{"refused", "board 0 sleepy\n", false, 0, 2},
        Ending{"error_window_in_a_destructor",
               "fault FileAccess Close E_FAIL\n" + std::string(kStart) + "click 1019\nexit 0\n",
               false, 0, 1},
        Ending{"SIGINT", kWaiting, false, SIGINT}, Ending{"SIGTERM", kWaiting, false, SIGTERM},
        Ending{"SIGHUP", kWaiting, false, SIGHUP}, Ending{"SIGKILL", kWaiting, false, SIGKILL},
        Ending{"SIGABRT", kWaiting, false, SIGABRT}, Ending{"qt_SIGTERM", kWaiting, true, SIGTERM}),
    [](const ::testing::TestParamInfo<Ending>& param) { return std::string(param.param.name); });

}  // namespace
