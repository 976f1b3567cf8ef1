// Workstations sharing one data folder: the file locks File Access offers beside its files, and
// the start-up clean-up that must leave another workstation's rewrite in flight alone.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <functional>

#include "platform/control/file_access_codes.h"
#include "platform/control/files/folder_locks.h"
#include "platform/control/files/open_file.h"
#include "platform/control/tests/fixture.h"

namespace control::testing {
namespace {

namespace fs = std::filesystem;

class FileLocksTest : public SimulationTest {
  protected:
    void SetUp() override {
        SimulationTest::SetUp();
        StartDefault();
        files = Create<IFileAccess>(CLSID_FileAccess);
        ASSERT_EQ(files.As(locks), com::S_OK);
    }
    void TearDown() override {
        locks.Reset();
        files.Reset();
        SimulationTest::TearDown();
    }

    com::HRESULT TryLock(const std::string& name) {
        return locks->TryLock(static_cast<std::uint16_t>(name.size() + 1), name.c_str());
    }
    com::HRESULT Unlock(const std::string& name) {
        return locks->Unlock(static_cast<std::uint16_t>(name.size() + 1), name.c_str());
    }

    // Runs fn in a process of its own and waits for it; fn's result is the exit status.
    static int InChild(const std::function<int()>& fn) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::_exit(fn());
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    com::ComPtr<IFileAccess> files;
    com::ComPtr<IFileLocks> locks;
};

// Another workstation is another holder of the folder's lock file: its locks exclude this one's,
// name by name, without regard to case, until it lets them go.
TEST_F(FileLocksTest, ALockExcludesEveryOtherHolderOfTheSameName) {
    FolderLocks other;
    std::string why;
    ASSERT_EQ(TryLock("TAV.IXT"), com::S_OK);
    EXPECT_EQ(TryLock("TAV.IXT"), com::S_OK) << "held here already";
    EXPECT_EQ(other.TryLock(DataDir(), "tav.ixt", &why), com::S_FALSE);
    EXPECT_EQ(other.TryLock(DataDir(), "TAV.OXT", &why), com::S_OK) << "another name";
    EXPECT_EQ(TryLock("TAV.OXT"), com::S_FALSE);

    EXPECT_EQ(Unlock("TAV.IXT"), com::S_OK);
    EXPECT_EQ(other.TryLock(DataDir(), "TAV.IXT", &why), com::S_OK);
    other.ReleaseAll();
    EXPECT_EQ(TryLock("TAV.OXT"), com::S_OK);
    EXPECT_EQ(Unlock("TAV.SDF"), com::S_OK) << "not held: nothing to do";
}

// The locks are the file system's: a workstation that ends, however it ends, holds none, and one
// that stops its server lets every lock go.
TEST_F(FileLocksTest, AnEndedHolderHoldsNothing) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        FolderLocks held;
        std::string why;
        const char result = held.TryLock(DataDir(), "TAV.SDF", &why) == com::S_OK ? 1 : 0;
        (void)!::write(ready[1], &result, 1);
        ::pause();
        ::_exit(0);
    }
    char result = 0;
    ASSERT_EQ(::read(ready[0], &result, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_EQ(result, 1);
    EXPECT_EQ(TryLock("TAV.SDF"), com::S_FALSE) << "held by the other process";
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(TryLock("TAV.SDF"), com::S_OK);

    EXPECT_EQ(InChild([this] {
                  FolderLocks other;
                  std::string why;
                  return other.TryLock(DataDir(), "TAV.SDF", &why) == com::S_FALSE ? 0 : 1;
              }),
              0);
    locks.Reset();
    files.Reset();
    StopSimulation();
    EXPECT_EQ(InChild([this] {
                  FolderLocks other;
                  std::string why;
                  return other.TryLock(DataDir(), "TAV.SDF", &why) == com::S_OK ? 0 : 1;
              }),
              0);
}

// The lock file is where the workstations meet: nobody replaces, empties or lists it through
// File Access, and it names no lock of its own.
TEST_F(FileLocksTest, TheLockFileIsNeitherListedNorOpened) {
    ASSERT_EQ(TryLock("TAV.IXT"), com::S_OK);
    ASSERT_TRUE(fs::exists(DataDir() / kLockFileName));
    for (const std::uint32_t access :
         {kAccessRead, kAccessReadWrite, kAccessAppend, kAccessReplace, kAccessReplaceOnWrite}) {
        for (const char* name : {".tavora.lock", ".TAVORA.LOCK"}) {
            std::uint32_t handle = 0;
            EXPECT_EQ(files->Open(static_cast<std::uint16_t>(std::strlen(name) + 1), name, access,
                                  kShareDefault, &handle),
                      kFileOpenGeneral)
                << name << " " << access;
        }
    }
    std::uint8_t record[kFindRecordSize] = {};
    EXPECT_EQ(files->FindFirst(4, "*.*", kAttrHidden | kAttrSystem | kAttrDirectory, record),
              kFileNothingFound);
    EXPECT_EQ(TryLock(".tavora.lock"), kFileOpenGeneral);
    EXPECT_EQ(TryLock("../TAV.IXT"), kFileOpenGeneral);
    EXPECT_NE(Describe(files).find("not a bare file name"), std::string::npos);
}

// The start-up clean-up of another workstation (another process starting on the same folder)
// removes the hidden file of a rewrite that was abandoned, and leaves the one a writer holds.
TEST_F(FileLocksTest, TheCleanUpRemovesOnlyReplacementsNobodyHolds) {
    std::uint32_t handle = 0;
    ASSERT_EQ(files->Open(8, "TAV.IXT", kAccessReplace, kShareDefault, &handle), com::S_OK);
    std::uint32_t count = 5;
    ASSERT_EQ(files->Write(handle, &count, reinterpret_cast<const std::uint8_t*>("whole")),
              com::S_OK);
    std::vector<std::string> held;
    for (const auto& entry : fs::directory_iterator(DataDir())) {
        held.push_back(entry.path().filename().string());
    }
    ASSERT_EQ(held.size(), 1u);
    const std::string abandoned = ".TAV.OXT.tav-Ab12Cd";
    WriteFile(DataDir() / abandoned, "left by a killed rewrite");

    EXPECT_EQ(InChild([this] {
                  RemoveAbandonedReplacements(DataDir());
                  return 0;
              }),
              0);
    EXPECT_TRUE(fs::exists(DataDir() / held[0])) << "in flight at this workstation";
    EXPECT_FALSE(fs::exists(DataDir() / abandoned));
    EXPECT_EQ(files->Close(handle), com::S_OK);
    EXPECT_EQ(ReadFile(DataDir() / "TAV.IXT"), "whole");
}

}  // namespace
}  // namespace control::testing
