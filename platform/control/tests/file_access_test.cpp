#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <tuple>

#include "platform/control/files/file_names.h"
#include "platform/control/files/open_file.h"
#include "platform/control/tests/fixture.h"

namespace control {
namespace {

using testing::ReadFile;
using testing::SimulationTest;
using testing::WriteFile;

class FileAccessTest : public SimulationTest {
  protected:
    void SetUp() override {
        SimulationTest::SetUp();
        StartDefault();
        files = Create<IFileAccess>(CLSID_FileAccess);
    }

    HRESULT Open(const std::string& name, std::uint32_t access, std::uint32_t& handle) {
        return files->Open(static_cast<std::uint16_t>(name.size() + 1), name.c_str(), access,
                           kShareDefault, &handle);
    }

    HRESULT Write(std::uint32_t handle, const std::string& text) {
        std::uint32_t count = static_cast<std::uint32_t>(text.size());
        const HRESULT hr =
            files->Write(handle, &count, reinterpret_cast<const std::uint8_t*>(text.data()));
        EXPECT_EQ(count, com::SUCCEEDED(hr) ? text.size() : count);
        return hr;
    }

    // Reads up to `wanted` bytes through the component, freeing its block.
    std::string Read(std::uint32_t handle, std::uint32_t wanted) {
        std::uint32_t count = wanted;
        std::uint8_t* block = nullptr;
        EXPECT_EQ(files->Read(handle, &count, &block), com::S_OK);
        std::string text(reinterpret_cast<const char*>(block), count);
        if (count == 0) {
            EXPECT_EQ(block, nullptr) << "no block when nothing is delivered";
        }
        com::CoTaskMemFree(block);
        return text;
    }

    // Opens `name` for `access`; 0 when that fails.
    std::uint32_t Opened(const std::string& name, std::uint32_t access) {
        std::uint32_t handle = 0;
        EXPECT_EQ(Open(name, access, handle), com::S_OK) << name;
        return handle;
    }

    // Opens `name` for `access`, writes `text` (if any) and closes it.
    void WriteThrough(const std::string& name, std::uint32_t access, const std::string& text) {
        const std::uint32_t handle = Opened(name, access);
        if (!text.empty()) {
            EXPECT_EQ(Write(handle, text), com::S_OK);
        }
        EXPECT_EQ(files->Close(handle), com::S_OK);
    }

    // The names in the data folder, sorted.
    std::vector<std::string> Entries() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(DataDir())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    struct Listed {
        std::string name;
        std::uint32_t attributes;
        friend bool operator==(const Listed&, const Listed&) = default;
    };

    // The whole listing for a pattern; the first call's result in *first.
    std::vector<Listed> List(const std::string& pattern, HRESULT* first = nullptr,
                             std::uint32_t attributes = 0x12) {
        std::vector<Listed> listed;
        std::array<std::uint8_t, kFindRecordSize> record{};
        HRESULT hr = files->FindFirst(static_cast<std::uint16_t>(pattern.size() + 1),
                                      pattern.c_str(), attributes, record.data());
        if (first != nullptr) {
            *first = hr;
        }
        while (com::SUCCEEDED(hr)) {
            std::uint32_t attrs = 0;
            std::memcpy(&attrs, record.data(), 4);
            listed.push_back(
                {reinterpret_cast<const char*>(record.data() + kFindNameOffset), attrs});
            hr = files->FindNext(record.data());
        }
        EXPECT_EQ(hr, kFileNothingFound);
        return listed;
    }

    com::ComPtr<IFileAccess> files;
};

TEST_F(FileAccessTest, RefusedOpensGiveTheirCode) {
    WriteFile(Dir() / "x", "outside");
    WriteFile(DataDir() / "ro.ixt", "x");
    std::filesystem::permissions(DataDir() / "ro.ixt", std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::group_read);
    std::vector<std::tuple<std::string, std::uint32_t, HRESULT>> cases = {
        {"TAV.SDF", kAccessRead, kFileNotFound},
        {"TAV.SDF", kAccessReadWrite, kFileNotFound},
        {"a", 0x99, com::E_INVALIDARG},  // an unknown access value
    };
    for (const std::uint32_t access :
         {kAccessReadWrite, kAccessAppend, kAccessReplace, kAccessReplaceOnWrite}) {
        cases.emplace_back("ro.ixt", access, kFileReadOnly);
    }
    for (const char* name :
         {"../x", "a/b", "..", "/etc/passwd", ".", "a\\b", "..\\x", "", "TAV*.IXT"}) {
        cases.emplace_back(name, kAccessRead, kFileOpenGeneral);
        cases.emplace_back(name, kAccessReplace, kFileOpenGeneral);
    }
    for (const auto& [name, access, code] : cases) {
        SCOPED_TRACE(name + " " + std::to_string(access));
        std::uint32_t handle = 99;
        EXPECT_EQ(Open(name, access, handle), code);
        if (code == kFileOpenGeneral) {
            EXPECT_EQ(handle, 0u);
            EXPECT_NE(Describe(files).find("not a bare file name"), std::string::npos);
        }
    }
    EXPECT_EQ(com::HRESULT_CODE(kFileNotFound), 0x206u);
    EXPECT_EQ(com::HRESULT_FACILITY(kFileOpenGeneral), com::FACILITY_ITF);
    EXPECT_EQ(ReadFile(Dir() / "x"), "outside");
    EXPECT_EQ(files->Close(0), com::S_OK) << "closing after a failed open is harmless";
    EXPECT_EQ(files->Close(Opened("ro.ixt", kAccessRead)), com::S_OK);
}

// Nothing in the folder may lead outside it or hang the program: a link (dangling or not) is
// neither followed nor replaced, a FIFO or a device is never opened, and a huge file is refused
// before it is read.
TEST_F(FileAccessTest, LinksSpecialFilesAndHugeFilesAreRefused) {
    namespace fs = std::filesystem;
    fs::create_directories(DataDir());
    WriteFile(Dir() / "outside.txt", "outside");
    fs::create_symlink(Dir() / "created-outside", DataDir() / "TAV.IXT");  // dangling
    fs::create_symlink(Dir() / "outside.txt", DataDir() / "TAV.OXT");
    fs::create_symlink("/dev/zero", DataDir() / "zero.txt");
    ASSERT_EQ(::mkfifo((DataDir() / "TAV.SDF").c_str(), 0600), 0);
    {
        std::ofstream big(DataDir() / "big.ixt", std::ios::binary);
        big.seekp(static_cast<std::streamoff>(kMaxFileSize));
        big.put('x');
    }
    const struct {
        const char* name;
        HRESULT code;
    } cases[] = {
        {"TAV.IXT", kFileOpenGeneral}, {"tav.ixt", kFileOpenGeneral},
        {"TAV.OXT", kFileOpenGeneral}, {"zero.txt", kFileOpenGeneral},
        {"TAV.SDF", kFileOpenGeneral}, {"big.ixt", kFileTooLarge},
    };
    for (const auto& c : cases) {
        for (const std::uint32_t access : {kAccessRead, kAccessReadWrite, kAccessAppend,
                                           kAccessReplace, kAccessReplaceOnWrite}) {
            SCOPED_TRACE(std::string(c.name) + " " + std::to_string(access));
            std::uint32_t handle = 99;
            EXPECT_EQ(Open(c.name, access, handle), c.code);
            EXPECT_EQ(handle, 0u);
        }
    }
    EXPECT_NE(Describe(files).find("larger than 16 MB"), std::string::npos);
    EXPECT_FALSE(fs::exists(Dir() / "created-outside"));
    EXPECT_EQ(ReadFile(Dir() / "outside.txt"), "outside");
    EXPECT_TRUE(fs::is_symlink(DataDir() / "TAV.OXT"));
    EXPECT_TRUE(fs::is_fifo(DataDir() / "TAV.SDF"));
    EXPECT_EQ(OpenFileCount(), 0u);
    // A link is listed as a system entry, not as a file to open.
    EXPECT_TRUE(List("TAV.OXT").empty());
}

// The hidden files of rewrites that were interrupted (a killed process) are removed when the
// server starts; other hidden files, and the files themselves, stay.
TEST_F(FileAccessTest, AbandonedReplacementsAreRemovedAtStart) {
    const std::uint32_t handle = Opened("TAV.IXT", kAccessReplace);
    ASSERT_EQ(Write(handle, "half a table"), com::S_OK);
    const std::vector<std::string> hidden = Entries();
    ASSERT_EQ(hidden.size(), 1u) << "the pending replacement";
    EXPECT_EQ(hidden[0].rfind(".TAV.IXT.tav-", 0), 0u) << hidden[0];
    EXPECT_EQ(files->Close(handle), com::S_OK);
    files.Reset();
    StopSimulation();
    // What killed processes left: a pending replacement, one of an older version's naming.
    WriteFile(DataDir() / hidden[0], "half a table");
    WriteFile(DataDir() / ".TAV.OXT.aB3xQz", "left by an older version");
    WriteFile(DataDir() / ".notes.backup", "the operator's own");

    StartDefault();
    EXPECT_EQ(Entries(), (std::vector<std::string>{".notes.backup", "TAV.IXT"}));
    EXPECT_EQ(ReadFile(DataDir() / "TAV.IXT"), "half a table");
}

TEST_F(FileAccessTest, TheFolderIsCreatedWhenAFileIsCreated) {
    std::filesystem::remove_all(DataDir());
    std::uint32_t handle = 0;
    EXPECT_EQ(Open("TAV.SDF", kAccessRead, handle), kFileNotFound);
    WriteThrough("TAV.SDF", kAccessReplace, "");
    EXPECT_TRUE(std::filesystem::exists(DataDir() / "TAV.SDF"));
}

TEST_F(FileAccessTest, NamesAreMatchedWithoutRegardToCase) {
    WriteFile(DataDir() / "TAV.SDF", "line\n");
    const std::uint32_t handle = Opened("tav.sdf", kAccessRead);
    EXPECT_EQ(Read(handle, 100), "line\n");
    EXPECT_EQ(files->Close(handle), com::S_OK);
    WriteThrough("Tav.Sdf", kAccessReplace, "new\n");
    EXPECT_EQ(ReadFile(DataDir() / "TAV.SDF"), "new\n") << "the existing file is the one replaced";
    EXPECT_FALSE(std::filesystem::exists(DataDir() / "Tav.Sdf"));
}

TEST_F(FileAccessTest, ReadDeliversAtMostWhatWasAskedAndSeekRewinds) {
    WriteFile(DataDir() / "a.txt", "abcdef");
    const std::uint32_t handle = Opened("a.txt", kAccessRead);
    EXPECT_EQ(Read(handle, 4), "abcd");
    EXPECT_EQ(Read(handle, 4), "ef");
    EXPECT_EQ(Read(handle, 4), "");
    std::int32_t position = 0;
    ASSERT_EQ(files->Seek(handle, &position, kSeekFromStart), com::S_OK);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(Read(handle, 100), "abcdef");
    position = -2;
    ASSERT_EQ(files->Seek(handle, &position, kSeekFromEnd), com::S_OK);
    EXPECT_EQ(position, 4);
    EXPECT_EQ(Read(handle, 100), "ef");
    position = 0;
    EXPECT_EQ(files->Seek(handle, &position, 0), com::E_INVALIDARG);
    EXPECT_EQ(Write(handle, "x"), com::E_ACCESSDENIED) << "opened for reading only";
    EXPECT_EQ(files->Close(handle), com::S_OK);
    EXPECT_EQ(files->Close(handle), com::E_HANDLE);
    EXPECT_EQ(OpenFileCount(), 0u);
}

TEST_F(FileAccessTest, AppendCreatesReadsFromTheStartAndWritesAtTheEnd) {
    std::uint32_t handle = Opened("TAV.IXT", kAccessAppend);
    EXPECT_TRUE(std::filesystem::exists(DataDir() / "TAV.IXT"));
    EXPECT_EQ(Read(handle, 10), "");
    ASSERT_EQ(Write(handle, "one\n"), com::S_OK);
    ASSERT_EQ(files->Close(handle), com::S_OK);

    handle = Opened("TAV.IXT", kAccessAppend);
    std::int32_t position = 0;
    ASSERT_EQ(files->Seek(handle, &position, kSeekFromStart), com::S_OK);
    EXPECT_EQ(Read(handle, 100), "one\n");
    position = 0;
    ASSERT_EQ(files->Seek(handle, &position, kSeekFromStart), com::S_OK);
    ASSERT_EQ(Write(handle, "two\n"), com::S_OK);
    ASSERT_EQ(files->Close(handle), com::S_OK);
    EXPECT_EQ(ReadFile(DataDir() / "TAV.IXT"), "one\ntwo\n");
}

TEST_F(FileAccessTest, ReplaceTakesEffectAtCloseInOneStepOrNotAtAll) {
    WriteFile(DataDir() / "TAV.OXT", "old content that is longer\n");
    std::uint32_t handle = Opened("TAV.OXT", kAccessReplace);
    ASSERT_EQ(Write(handle, "CONFIGCRC(1)\r\n"), com::S_OK);
    EXPECT_EQ(ReadFile(DataDir() / "TAV.OXT"), "old content that is longer\n")
        << "readers see the old file until the new one is complete";
    ASSERT_EQ(files->Close(handle), com::S_OK);
    EXPECT_EQ(ReadFile(DataDir() / "TAV.OXT"), "CONFIGCRC(1)\r\n");
    EXPECT_EQ(List("*.*", nullptr, 0x12).size(), 1u) << "no leftover beside it";

    ASSERT_EQ(Write(Opened("TAV.OXT", kAccessReplace), "half"), com::S_OK);
    StopSimulation();  // never closed
    EXPECT_EQ(ReadFile(DataDir() / "TAV.OXT"), "CONFIGCRC(1)\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"TAV.OXT"});
}

TEST_F(FileAccessTest, SaveAsReplacesOnlyWhenWritten) {
    WriteFile(DataDir() / "copy.ixt", "saved table\n");
    WriteThrough("copy.ixt", kAccessReplaceOnWrite, "");
    EXPECT_EQ(ReadFile(DataDir() / "copy.ixt"), "saved table\n") << "selecting keeps the file";
    WriteThrough("COPY.IXT", kAccessReplaceOnWrite, "CONFIGCRC(7)\r\n");
    EXPECT_EQ(ReadFile(DataDir() / "copy.ixt"), "CONFIGCRC(7)\r\n");
    WriteThrough("new.oxt", kAccessReplaceOnWrite, "");
    EXPECT_TRUE(std::filesystem::exists(DataDir() / "new.oxt"));
}

TEST_F(FileAccessTest, HandlesRunOutWithCode208) {
    WriteFile(DataDir() / "a", "x");
    std::vector<std::uint32_t> handles;
    HRESULT hr = com::S_OK;
    while (handles.size() < 1000) {
        std::uint32_t handle = 0;
        hr = Open("a", kAccessRead, handle);
        if (com::FAILED(hr)) {
            break;
        }
        handles.push_back(handle);
    }
    EXPECT_EQ(hr, kFileNoHandles);
    EXPECT_GE(handles.size(), 16u);
    for (const std::uint32_t handle : handles) {
        EXPECT_EQ(files->Close(handle), com::S_OK);
    }
}

TEST_F(FileAccessTest, ListingFindsMatchesWithTheirAttributesOrIsCode211) {
    for (const char* name : {"TAV.IXT", "saved.ixt", "TAV.OXT", ".hidden.ixt", "ro.ixt"}) {
        WriteFile(DataDir() / name, "");
    }
    std::filesystem::permissions(DataDir() / "ro.ixt", std::filesystem::perms::owner_read);
    std::filesystem::create_directory(DataDir() / "dir.ixt");

    const auto listed = List("*.ixt");
    EXPECT_EQ(listed, (std::vector<Listed>{{".hidden.ixt", kAttrArchive | kAttrHidden},
                                           {"TAV.IXT", kAttrArchive},
                                           {"dir.ixt", kAttrDirectory},
                                           {"ro.ixt", kAttrArchive | kAttrReadOnly},
                                           {"saved.ixt", kAttrArchive}}));
    EXPECT_EQ(List("*.IXT", nullptr, 0),
              (std::vector<Listed>{{"TAV.IXT", kAttrArchive},
                                   {"ro.ixt", kAttrArchive | kAttrReadOnly},
                                   {"saved.ixt", kAttrArchive}}))
        << "case ignored; hidden entries and folders only when asked for";
    EXPECT_EQ(List("*.*", nullptr, 0).size(), 4u);
    EXPECT_EQ(List("TAV.?XT", nullptr, 0).size(), 2u);

    HRESULT first = com::S_OK;
    EXPECT_TRUE(List("*.sdf", &first).empty());
    EXPECT_EQ(first, kFileNothingFound);
    EXPECT_EQ(com::HRESULT_CODE(first), 0x211u);
    EXPECT_EQ(com::HRESULT_FACILITY(first), com::FACILITY_ITF);
    std::filesystem::remove_all(DataDir());
    EXPECT_TRUE(List("*.*", &first).empty());
    EXPECT_EQ(first, kFileNothingFound) << "also when the folder does not exist yet";
}

TEST_F(FileAccessTest, OperationFaultsFailTheChosenCall) {
    InjectFault(Fault(ComponentId::FileAccess, "Write", com::E_ACCESSDENIED, 1, 1,
                      "the disk is write-protected"));
    const std::uint32_t handle = Opened("log.txt", kAccessAppend);
    EXPECT_EQ(Write(handle, "a"), com::S_OK);
    EXPECT_EQ(Write(handle, "b"), com::E_ACCESSDENIED);
    EXPECT_EQ(Describe(files), "File Access: the disk is write-protected");
    EXPECT_EQ(Write(handle, "c"), com::S_OK);
    EXPECT_EQ(files->Close(handle), com::S_OK);
    EXPECT_EQ(ReadFile(DataDir() / "log.txt"), "ac");
}

TEST(Wildcards, MatchLikeThePlatform) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"*.ixt", "TAV.IXT", true},    {"*.ixt", "TAV.OXT", false},
        {"*.ixt", "a.ixt.bak", false}, {"*.*", "README", true},
        {"*.*", "a.b.c", true},        {"*", "", true},
        {"TAV.?XT", "tav.oxt", true},  {"?", "", false},
        {"a*b*c", "aXXbYYc", true},    {"a*b*c", "aXXbYY", false},
        {"TAV.*", "TAV", true},        {"*.ixt", "ixt", false}};
    for (const auto& [pattern, name, matches] : cases) {
        EXPECT_EQ(WildcardMatch(pattern, name), matches) << pattern << " vs " << name;
    }
}

}  // namespace
}  // namespace control
