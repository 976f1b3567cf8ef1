#include "platform/com/task_memory.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace com {
namespace {

TEST(TaskMemory, CountsLiveBlocksAndBytes) {
    const std::size_t blocks = TaskMemLiveBlocks();
    const std::size_t bytes = TaskMemLiveBytes();
    void* a = CoTaskMemAlloc(10);
    void* b = CoTaskMemAlloc(0);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(TaskMemLiveBlocks(), blocks + 2);
    EXPECT_EQ(TaskMemLiveBytes(), bytes + 10);
    CoTaskMemFree(a);
    CoTaskMemFree(b);
    CoTaskMemFree(nullptr);
    EXPECT_EQ(TaskMemLiveBlocks(), blocks);
    EXPECT_EQ(TaskMemLiveBytes(), bytes);
}

TEST(TaskMemory, CopiesKeepTextZeroTerminatedAndBytesWhole) {
    for (const char* text : {"MAIN", ""}) {
        char* copy = TaskStrDup(text);
        ASSERT_NE(copy, nullptr);
        EXPECT_STREQ(copy, text);
        CoTaskMemFree(copy);
    }
    const std::array<std::uint8_t, 6> address{2, 0, 0, 0, 0, 1};
    std::uint8_t* copy = TaskMemDup(address);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::memcmp(copy, address.data(), address.size()), 0);
    CoTaskMemFree(copy);
    const std::size_t blocks = TaskMemLiveBlocks();
    EXPECT_EQ(TaskMemDup({}), nullptr);
    EXPECT_EQ(TaskMemLiveBlocks(), blocks);
}

TEST(TaskMemoryDeathTest, FreeingAForeignPointerStopsTheProcess) {
    int local = 0;
    EXPECT_DEATH(CoTaskMemFree(&local), "not allocated by the task allocator");
}

}  // namespace
}  // namespace com
