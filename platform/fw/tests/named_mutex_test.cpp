// The single-instance marker: held by one process, seen by others, let go when its holder dies.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/fw/named_mutex.h"

namespace {

class NamedMutexTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir =
            std::filesystem::temp_directory_path() / ("tavora-mutex-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
        ::setenv("XDG_RUNTIME_DIR", m_dir.c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

  private:
    std::filesystem::path m_dir;
};

TEST_F(NamedMutexTest, SecondCreationLearnsThatTheNameExists) {
    fw::DWORD error = 1;
    auto first = fw::CreateMutex("Tavora", &error);
    ASSERT_TRUE(first);
    EXPECT_EQ(error, 0u);
    auto second = fw::CreateMutex("Tavora", &error);
    ASSERT_TRUE(second);
    EXPECT_EQ(error, fw::ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(second->IsOwner());
    first.reset();
    second.reset();
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

}  // namespace
