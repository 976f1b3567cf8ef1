// The configuration watcher's thread: every kind of change of the file is announced, and the file
// is looked at only when something happened to it (or, while its folder cannot be watched, every
// `settle`).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>

#include "platform/control/configuration/config_watcher.h"
#include "platform/control/tests/fixture.h"
#include "platform/control/tests/loopback.h"

namespace control {
namespace {

namespace fs = std::filesystem;
using testing::kPatience;

// Each change made below is one event that names the file, so even the shortest settle makes one
// look of it; a watcher that also looked on a clock would look more often than that.
constexpr std::chrono::milliseconds kSettle{1};

class ConfigWatcherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() /
                ("tavora-watcher-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        watcher.reset();
        fs::remove_all(m_dir);
    }

    void MakeWatcher(const fs::path& file, std::chrono::milliseconds settle = kSettle) {
        m_firstLooks = 0;
        watcher = std::make_unique<ConfigWatcher>(file, settle, [this] {
            std::lock_guard lock(m_mutex);
            ++m_announced;
            m_changed.notify_all();
        });
    }
    // Starts the watcher and waits for its first comparison, made at once; looks are counted
    // from there.
    void StartWatching(const fs::path& file, std::chrono::milliseconds settle = kSettle) {
        MakeWatcher(file, settle);
        watcher->Start();
        ASSERT_TRUE(Reached(1, 0)) << "the comparison at the start";
        m_firstLooks = watcher->Looks();
    }
    std::uint64_t Looks() const { return watcher->Looks() - m_firstLooks; }

    // Waits, without a fixed sleep, until the watcher has looked `looks` times and announced
    // `announced` changes in all; false when it did not within the patience.
    bool Reached(std::uint64_t looks, int announced) {
        std::unique_lock lock(m_mutex);
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (Looks() < looks || m_announced < announced) {
            // The looks are not signalled: ask again soon, the announcements wake the wait.
            if (m_changed.wait_until(lock, std::min(deadline, std::chrono::steady_clock::now() +
                                                                  std::chrono::milliseconds(5))) ==
                    std::cv_status::timeout &&
                std::chrono::steady_clock::now() >= deadline) {
                return false;
            }
        }
        return true;
    }
    int Announced() {
        std::lock_guard lock(m_mutex);
        return m_announced;
    }
    bool PollingWithin(bool polling) {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (watcher->Polling() != polling) {
            if (std::chrono::steady_clock::now() >= deadline) {
                return false;
            }
            std::unique_lock lock(m_mutex);
            m_changed.wait_for(lock, std::chrono::milliseconds(5));
        }
        return true;
    }

    // Writes the text beside `file` and renames it into place: one event in the folder.
    void Replace(const fs::path& file, const std::string& text) {
        const auto staging = file.parent_path() / ".staging";
        testing::WriteFile(staging, text);
        fs::rename(staging, file);
    }

    fs::path Dir() const { return m_dir; }

    std::unique_ptr<ConfigWatcher> watcher;

  private:
    fs::path m_dir;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_announced = 0;
    std::uint64_t m_firstLooks = 0;
};

TEST_F(ConfigWatcherTest, EveryChangeIsAnnouncedAndTheFileIsLookedAtOnlyWhenSomethingHappened) {
    const auto file = Dir() / "tavora.json";
    const auto aside = Dir() / "aside.json";
    testing::WriteFile(file, "{}");
    StartWatching(file);
    EXPECT_FALSE(watcher->Polling());

    struct Step {
        const char* what;
        std::function<void()> act;
        int looks;      // looks the step causes
        int announced;  // changes it announces
    };
    const std::vector<Step> steps = {
        {"another file of the folder written, again and again",
         [&] {
             for (int i = 0; i < 200; ++i) {
                 testing::WriteFile(aside, std::to_string(i));
             }
         },
         0, 0},
        {"the file replaced", [&] { Replace(file, R"({"a": 1})"); }, 1, 1},
        {"its modification time set",
         [&] {
             const timespec times[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
             ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
         },
         1, 1},
        {"its size changed", [&] { fs::resize_file(file, 100); }, 1, 1},
        {"its mode changed (looked at, not a change)",
         [&] { fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write); }, 1, 0},
        {"another file removed", [&] { fs::remove(aside); }, 0, 0},
        {"the file renamed away", [&] { fs::rename(file, aside); }, 1, 1},
        {"the file renamed back", [&] { fs::rename(aside, file); }, 1, 1},
        {"the file removed", [&] { fs::remove(file); }, 1, 1},
        {"the file written anew", [&] { Replace(file, "{}"); }, 1, 1},
    };
    // A change whose events come apart on a loaded machine (a rename that also lets the old file
    // go) may be looked at twice; a watcher that looked on a clock would look dozens of times.
    std::uint64_t fewest = 0;
    std::uint64_t most = 0;
    int announced = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        fewest += static_cast<std::uint64_t>(step.looks);
        most += static_cast<std::uint64_t>(step.looks > 0 ? step.looks + 1 : 0);
        announced += step.announced;
        if (step.looks > 0) {
            ASSERT_TRUE(Reached(fewest, announced));
            // A look while nothing happened to the file (or for the other file's changes, made
            // before) would show here.
            EXPECT_LE(Looks(), most);
            EXPECT_EQ(Announced(), announced);
        }
    }
    EXPECT_FALSE(watcher->Polling());
}

// A configuration reached through a link: the file it leads to is watched in its own folder, and
// the link's new target once it is pointed elsewhere.
TEST_F(ConfigWatcherTest, ALinkIsFollowedToTheFileItLeadsTo) {
    fs::create_directories(Dir() / "site");
    const auto first = Dir() / "site" / "first.json";
    const auto second = Dir() / "site" / "second.json";
    testing::WriteFile(first, "{}");
    testing::WriteFile(second, "{}");
    const auto link = Dir() / "tavora.json";
    fs::create_symlink(first, link);
    StartWatching(link);

    Replace(first, R"({"a": 1})");
    ASSERT_TRUE(Reached(1, 1)) << "the file the link leads to, edited";

    const auto newLink = Dir() / "new-link";
    fs::create_symlink(second, newLink);
    fs::rename(newLink, link);
    ASSERT_TRUE(Reached(2, 2)) << "the link pointed elsewhere";

    Replace(first, R"({"a": 2})");  // no longer the configuration
    Replace(second, R"({"b": 1})");
    ASSERT_TRUE(Reached(3, 3)) << "the new target, edited";
    EXPECT_LE(Looks(), 6u);
    EXPECT_EQ(Announced(), 3);
}

// Without its folder nothing can be watched: the file is compared every `settle` until the folder
// is there, then watched again; the folder going away is a change like any other.
TEST_F(ConfigWatcherTest, AFolderThatIsNotThereIsComparedUntilItCanBeWatched) {
    const auto folder = Dir() / "later";
    const auto file = folder / "tavora.json";
    StartWatching(file);
    EXPECT_TRUE(watcher->Polling());

    fs::create_directories(folder);
    Replace(file, "{}");
    ASSERT_TRUE(Reached(0, 1)) << "the file that appeared";
    ASSERT_TRUE(PollingWithin(false));
    const auto looks = Looks();
    Replace(file, R"({"a": 1})");
    ASSERT_TRUE(Reached(looks + 1, 2));
    EXPECT_LE(Looks(), looks + 2) << "watched, no longer compared on a clock";

    fs::remove_all(folder);
    ASSERT_TRUE(Reached(0, 3)) << "the file gone with its folder";
    ASSERT_TRUE(PollingWithin(true));
    fs::create_directories(folder);
    Replace(file, "{}");
    ASSERT_TRUE(Reached(0, 4)) << "back again";
    EXPECT_EQ(Announced(), 4);
}

// The reference is taken when the watcher is made, and a change made before its watches are set
// raises no event for it: the start compares the file once.
TEST_F(ConfigWatcherTest, AChangeBeforeTheStartIsAnnounced) {
    const auto file = Dir() / "tavora.json";
    testing::WriteFile(file, "{}");
    MakeWatcher(file, std::chrono::hours(1));
    Replace(file, R"({"a": 1})");
    watcher->Start();
    ASSERT_TRUE(Reached(1, 1));
}

// The thread's next look is an hour away (or never): a stop that waited for it would hang until
// the test's timeout instead of returning.
TEST_F(ConfigWatcherTest, StoppingDoesNotWaitForTheNextLook) {
    for (const auto& file : {Dir() / "tavora.json", Dir() / "missing" / "tavora.json"}) {
        SCOPED_TRACE(file.string());
        testing::WriteFile(Dir() / "tavora.json", "{}");
        StartWatching(file, std::chrono::hours(1));
        watcher->Stop();
        watcher.reset();
    }
}

}  // namespace
}  // namespace control
