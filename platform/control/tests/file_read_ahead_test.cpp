// File Access reads ahead in blocks: whatever it has read ahead, a reader's position, a write on
// the same handle and a write through another handle behave as if every read went to the file.
#include <gtest/gtest.h>

#include <string>

#include "platform/control/tests/fixture.h"

namespace control {
namespace {

using testing::ReadFile;
using testing::SimulationTest;
using testing::WriteFile;

class FileReadAheadTest : public SimulationTest {
  protected:
    void SetUp() override {
        SimulationTest::SetUp();
        StartDefault();
        files = Create<IFileAccess>(CLSID_FileAccess);
    }

    std::uint32_t Open(const std::string& name, std::uint32_t access) {
        std::uint32_t handle = 0;
        EXPECT_EQ(files->Open(static_cast<std::uint16_t>(name.size() + 1), name.c_str(), access,
                              kShareDefault, &handle),
                  com::S_OK);
        return handle;
    }

    std::string Read(std::uint32_t handle, std::uint32_t wanted) {
        std::uint32_t count = wanted;
        std::uint8_t* block = nullptr;
        EXPECT_EQ(files->Read(handle, &count, &block), com::S_OK);
        std::string text(reinterpret_cast<const char*>(block), count);
        com::CoTaskMemFree(block);
        return text;
    }

    void Write(std::uint32_t handle, const std::string& text) {
        auto count = static_cast<std::uint32_t>(text.size());
        EXPECT_EQ(files->Write(handle, &count, reinterpret_cast<const std::uint8_t*>(text.data())),
                  com::S_OK);
    }

    std::int32_t Seek(std::uint32_t handle, std::int32_t offset, std::uint32_t origin) {
        EXPECT_EQ(files->Seek(handle, &offset, origin), com::S_OK);
        return offset;
    }

    com::ComPtr<IFileAccess> files;
};

// Bytes that differ from block to block, so a piece read from the wrong place shows.
std::string Pattern(std::size_t size) {
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = static_cast<char>('a' + (i * 7 + i / 1000) % 26);
    }
    return text;
}

TEST_F(FileReadAheadTest, SmallReadsGiveTheFileAndThePositionTheReaderReached) {
    const std::string content = Pattern(200'000);  // several read-ahead blocks, a short last one
    WriteFile(DataDir() / "BIG.TXT", content);
    const std::uint32_t handle = Open("BIG.TXT", kAccessRead);
    std::string read;
    for (std::string piece; !(piece = Read(handle, 1024)).empty();) {
        read += piece;
        if (read.size() % (40 * 1024) == 0) {
            ASSERT_EQ(Seek(handle, 0, kSeekFromCurrent), static_cast<std::int32_t>(read.size()));
        }
    }
    EXPECT_EQ(read, content);
    EXPECT_EQ(Seek(handle, 0, kSeekFromCurrent), static_cast<std::int32_t>(content.size()));
    // Back to a place inside what was read ahead, and one large read past the block size.
    EXPECT_EQ(Seek(handle, 1500, kSeekFromStart), 1500);
    EXPECT_EQ(Read(handle, 10), content.substr(1500, 10));
    EXPECT_EQ(Read(handle, 150'000), content.substr(1510, 150'000));
    EXPECT_EQ(files->Close(handle), com::S_OK);
}

TEST_F(FileReadAheadTest, WritesAndOtherHandlesSeeTheReadersPlace) {
    WriteFile(DataDir() / "T.TXT", "0123456789abcdefghijklmnopqrstuvwxyz");
    // A write on the handle that read lands where its reading stopped, not after the read-ahead.
    const std::uint32_t both = Open("T.TXT", kAccessReadWrite);
    EXPECT_EQ(Read(both, 10), "0123456789");
    Write(both, "ABC");
    EXPECT_EQ(Read(both, 3), "def");
    // Another handle writes inside what the first one has read ahead; the first one reads it.
    const std::uint32_t other = Open("T.TXT", kAccessReadWrite);
    EXPECT_EQ(Seek(other, 20, kSeekFromStart), 20);
    Write(other, "KLM");
    EXPECT_EQ(Read(both, 10), "ghijKLMnop");
    EXPECT_EQ(files->Close(other), com::S_OK);
    // Bytes appended after a reader reached the end are read next.
    EXPECT_EQ(Read(both, 100), "qrstuvwxyz");
    const std::uint32_t append = Open("T.TXT", kAccessAppend);
    Write(append, "+more");
    EXPECT_EQ(files->Close(append), com::S_OK);
    EXPECT_EQ(Read(both, 100), "+more");
    EXPECT_EQ(files->Close(both), com::S_OK);
    EXPECT_EQ(ReadFile(DataDir() / "T.TXT"), "0123456789ABCdefghijKLMnopqrstuvwxyz+more");
}

}  // namespace
}  // namespace control
