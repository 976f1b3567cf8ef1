// A fresh simulated control system per test, with its own data folder, and helpers to run what
// the components posted to the user-interface thread's queue.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/com/com.h"
#include "platform/control/control.h"
#include "platform/fw/message_queue.h"

namespace control::testing {

// Runs every call waiting in the queue, as the program's message pump would; returns how many.
inline int RunPostedCalls() {
    int count = 0;
    fw::Msg msg;
    while (fw::TheMessageQueue().Peek(msg)) {
        if (msg.call) {
            msg.call();
            ++count;
        }
    }
    return count;
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class SimulationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetSimulation();
        fw::TheMessageQueue().Clear();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "tavora-control-" + std::to_string(::getpid()) + "-" +
                           info->test_suite_name() + "-" + info->name();
        std::replace(name.begin(), name.end(), '/', '_');
        m_dir = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir / "data");
        m_blocksBefore = com::TaskMemLiveBlocks();
        ASSERT_EQ(com::CoInitialize(), com::S_OK);
    }

    void TearDown() override {
        ResetSimulation();
        fw::TheMessageQueue().Clear();
        std::filesystem::remove_all(m_dir);
        EXPECT_EQ(com::TaskMemLiveBlocks(), m_blocksBefore)
            << "task memory handed out and not freed";
    }

    // The built-in configuration with this test's data folder.
    void StartDefault() {
        Config config = DefaultConfig();
        config.dataFolder = DataDir();
        StartSimulation(std::move(config));
    }

    template <class I>
    com::ComPtr<I> Create(const com::CLSID& clsid) {
        com::ComPtr<I> p;
        EXPECT_EQ(com::CoCreateInstance(clsid, nullptr, com::CLSCTX_LOCAL_SERVER, I::kIid,
                                        p.ReleaseAndGetVoidAddressOf()),
                  com::S_OK);
        return p;
    }

    // The component's error description, freed here.
    template <class I>
    std::string Describe(const com::ComPtr<I>& component) {
        com::ComPtr<IErrorDescription> description;
        if (FAILED(component.As(description))) {
            return "<no description interface>";
        }
        char* text = nullptr;
        std::uint32_t code = 0;
        if (FAILED(description->GetErrorDescription(&code, &text))) {
            return "<description failed>";
        }
        std::string copy = text;
        com::CoTaskMemFree(text);
        return copy;
    }

    std::filesystem::path Dir() const { return m_dir; }
    std::filesystem::path DataDir() const { return m_dir / "data"; }

  private:
    std::filesystem::path m_dir;
    std::size_t m_blocksBefore = 0;
};

}  // namespace control::testing
