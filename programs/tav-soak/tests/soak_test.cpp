// The crash and soak runs, bounded: kills during rewrites leave every file whole and nothing
// behind after the next start, and remap and restore cycles leave the process as they found it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "programs/tav-soak/crash_rewrites.h"
#include "programs/tav-soak/remap_soak.h"
#include "programs/tav-soak/shared_stress.h"

namespace {

namespace fs = std::filesystem;

// In memory where the system has it: the runs measure kills and leaks, not the disk's fsync.
fs::path Folder(const std::string& name) {
    const fs::path base = fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path();
    fs::path folder = base / ("tav-soak-test-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

TEST(CrashRewrites, EveryFileStaysWholeAndTheNextStartRemovesLeftovers) {
    const fs::path folder = Folder("crash");
    const CrashReport report = RunCrashRewrites({folder, 100, 13});
    fs::remove_all(folder);
    EXPECT_EQ(report.failures, std::vector<std::string>{});
    EXPECT_EQ(report.kills, 100);
    EXPECT_EQ(report.filesChecked, 600);
    // The kills must land inside rewrites, or nothing was tried.
    EXPECT_GT(report.insideRewrite, 50);
    EXPECT_GT(report.tempFilesSeen, 0);
    EXPECT_EQ(report.tempFilesCleaned, report.tempFilesSeen);
}

TEST(CrashRewrites, TheCheckCatchesATornFileAndCountsLeftovers) {
    const fs::path folder = Folder("torn");
    const FileContents one{{"TAV.SDF", "a\n"}, {"TAV.IXT", "b\r\n"}, {"TAV.OXT", "c\r\n"}};
    const FileContents other{{"TAV.SDF", "aa\n"}, {"TAV.IXT", "bb\r\n"}, {"TAV.OXT", "cc\r\n"}};
    std::ofstream(folder / "TAV.SDF") << "a\n";
    std::ofstream(folder / "TAV.IXT") << "bb\r\n";
    std::ofstream(folder / "TAV.OXT") << "c";  // cut short
    std::ofstream(folder / ".TAV.OXT.tav-Ab12Cd") << "c";
    const FolderCheck check = CheckFolder(folder, one, other);
    fs::remove_all(folder);
    EXPECT_EQ(check.problems,
              std::vector<std::string>{"TAV.OXT holds 1 bytes, neither of its two contents"});
    EXPECT_EQ(check.tempFiles, 1);
}

TEST(RemapSoak, CyclesLeaveDescriptorsSocketsAndFilesFlat) {
    const fs::path folder = Folder("soak");
    const SoakReport report = RunRemapSoak({folder, 300, 50, nullptr});
    fs::remove_all(folder);
    EXPECT_EQ(report.failures, std::vector<std::string>{});
    EXPECT_EQ(report.remaps, 300);
    EXPECT_EQ(report.restores, 300);
    ASSERT_EQ(report.samples.size(), 7u);
    EXPECT_GT(report.samples.back().sockets, 0u);  // the boards and the program's sockets
    EXPECT_EQ(GrowthAfter(report.samples, 50, 8 * 1024), std::vector<std::string>{});
}

TEST(RemapSoak, GrowthAfterTheWarmUpIsCaught) {
    std::vector<SoakSample> samples(5);
    for (int i = 0; i < 5; ++i) {
        samples[i].cycle = 50 * i;
        samples[i].fds = 10;
        samples[i].heapBytes = 1000 + 100 * static_cast<std::size_t>(i);
    }
    samples[0].fds = 7;  // still warming up
    EXPECT_EQ(GrowthAfter(samples, 50, 200), std::vector<std::string>{});
    samples[2].heapBytes += 65536;  // held for a moment at that sample
    EXPECT_EQ(GrowthAfter(samples, 50, 200), std::vector<std::string>{});
    samples[3].fds = 11;
    EXPECT_EQ(
        GrowthAfter(samples, 50, 100),
        (std::vector<std::string>{"descriptors: 10 at cycle 50, 11 at cycle 150",
                                  "heap: 200 bytes more from cycle 150 on than from cycle 50"}));
}

// Three workstations on one folder, a few random changes each: nothing one confirmed is lost, and
// every RE-MAP message carries the whole table in force. Runs before anything here starts a
// thread: its workstations are forked.
TEST(SharedStress, EveryMessageCarriesTheTableInForce) {
    const fs::path folder = Folder("shared");
    const SharedStressReport report = RunSharedStress({folder, 3, 20, 7});
    fs::remove_all(folder);
    EXPECT_EQ(report.failures, std::vector<std::string>{});
    EXPECT_GT(report.confirmed, 10);
    EXPECT_GE(report.messages, report.confirmed);
}

}  // namespace
