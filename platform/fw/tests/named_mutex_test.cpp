// The single-instance marker: held by one process, seen by others, let go when its holder dies.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/fw/named_mutex.h"

namespace {

// The marker in a runtime folder of the test's own; the environment is restored afterwards.
class NamedMutexTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir =
            std::filesystem::temp_directory_path() / ("tavora-mutex-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir / "home");
        for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR", "HOME", "XDG_CACHE_HOME"}) {
            const char* value = std::getenv(name);
            m_saved.emplace_back(
                name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
        }
        ::setenv("XDG_RUNTIME_DIR", m_dir.c_str(), 1);
    }
    void TearDown() override {
        for (const auto& [name, value] : m_saved) {
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
        }
        std::filesystem::remove_all(m_dir);
    }
    // The first creation owns the name and the second learns that it exists; both let it go.
    static void ExpectOneHolder() {
        fw::DWORD error = 1;
        auto first = fw::CreateMutex("Tavora", &error);
        ASSERT_TRUE(first);
        EXPECT_EQ(error, 0u);
        auto second = fw::CreateMutex("Tavora", &error);
        ASSERT_TRUE(second);
        EXPECT_EQ(error, fw::ERROR_ALREADY_EXISTS);
        EXPECT_FALSE(second->IsOwner());
    }

    std::filesystem::path m_dir;

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

TEST_F(NamedMutexTest, SecondCreationLearnsThatTheNameExists) {
    ExpectOneHolder();
    fw::DWORD error = 1;
    auto third = fw::CreateMutex("Tavora", &error);
    EXPECT_EQ(error, 0u);
}

TEST_F(NamedMutexTest, ReleasedWhenTheHoldingProcessIsKilled) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        fw::DWORD error = 0;
        auto held = fw::CreateMutex("Tavora", &error);
        const char byte = held && error == 0 ? 1 : 0;
        (void)!::write(ready[1], &byte, 1);
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, 1);
    fw::DWORD error = 0;
    EXPECT_EQ(fw::CreateMutex("Tavora", &error) != nullptr, true);
    EXPECT_EQ(error, fw::ERROR_ALREADY_EXISTS);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    auto after = fw::CreateMutex("Tavora", &error);
    EXPECT_EQ(error, 0u);
    ::close(ready[0]);
    ::close(ready[1]);
}

// Without a runtime folder the marker lives in a folder of the user's own under the temporary
// one: created private, tightened when others could write to it, and never reached through a link
// someone planted there (the user's cache folder is used instead).
class PrivateFolderTest : public NamedMutexTest {
  protected:
    void SetUp() override {
        NamedMutexTest::SetUp();
        ::unsetenv("XDG_RUNTIME_DIR");
        ::unsetenv("XDG_CACHE_HOME");
        ::setenv("TMPDIR", m_dir.c_str(), 1);
        ::setenv("HOME", (m_dir / "home").c_str(), 1);
    }
    std::filesystem::path Folder() const {
        return m_dir / ("Tavora-" + std::to_string(::getuid()));
    }
    std::filesystem::path Cache() const { return m_dir / "home" / ".cache" / "Tavora"; }
    static unsigned Mode(const std::filesystem::path& path) {
        struct stat st {};
        EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
        return st.st_mode & 07777;
    }
};

TEST_F(PrivateFolderTest, TheFolderIsCreatedPrivate) {
    ExpectOneHolder();
    EXPECT_EQ(Mode(Folder()), 0700u);
    EXPECT_TRUE(std::filesystem::exists(Folder() / "Tavora.lock"));
}

TEST_F(PrivateFolderTest, AFolderOthersCouldWriteToIsTightened) {
    ASSERT_EQ(::mkdir(Folder().c_str(), 0700), 0);
    ASSERT_EQ(::chmod(Folder().c_str(), 0777), 0);
    ExpectOneHolder();
    EXPECT_EQ(Mode(Folder()), 0700u);
}

TEST_F(PrivateFolderTest, PlantedLinksAreNotFollowed) {
    const auto elsewhere = m_dir / "elsewhere";
    std::filesystem::create_directories(elsewhere);
    struct Case {
        const char* name;
        std::function<void()> plant;
    };
    const Case cases[] = {
        {"the folder is a link",
         [&] { std::filesystem::create_directory_symlink(elsewhere, Folder()); }},
        {"the marker is a link",
         [&] {
             ASSERT_EQ(::mkdir(Folder().c_str(), 0700), 0);
             std::filesystem::create_symlink(elsewhere / "Tavora.lock", Folder() / "Tavora.lock");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.plant();
        ExpectOneHolder();
        EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
        EXPECT_TRUE(std::filesystem::exists(Cache() / "Tavora.lock"));
        EXPECT_EQ(Mode(Cache()), 0700u);
        std::filesystem::remove_all(Folder());
        std::filesystem::remove_all(Cache());
    }
}

}  // namespace
