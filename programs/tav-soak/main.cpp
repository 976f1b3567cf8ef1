// tav-soak: the crash and soak runs. "crash" kills a process at random moments while it rewrites
// the System Definition file and both remap table files; "cycles" remaps and restores a port
// over and over in one process and prints how memory, descriptors and connections stand.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "programs/tav-soak/crash_rewrites.h"
#include "programs/tav-soak/remap_soak.h"
#include "programs/tav-soak/shared_stress.h"

namespace {

namespace fs = std::filesystem;

constexpr char kUsage[] =
    "usage: tav-soak crash [KILLS] | cycles [CYCLES [EVERY]] | shared [WORKSTATIONS [CHANGES]]\n"
    "crash:  kills a process KILLS times (default 1000) while it rewrites TAV.SDF, TAV.IXT and\n"
    "        TAV.OXT, and checks every file and the next start after each kill.\n"
    "cycles: CYCLES remap and restore cycles (default 10000) with simulated boards, the process\n"
    "        measured every EVERY cycles (default 500).\n"
    "shared: WORKSTATIONS (default 4) processes on one data folder each make CHANGES random\n"
    "        remaps and restores (default 100); every RE-MAP message must carry the whole table\n"
    "        in force and TAV.IXT what the last one carried.\n"
    "Exit status 1 when a file was not whole, a leftover stayed, or something grew.\n";

// A data folder of the run's own, removed afterwards.
struct RunFolder {
    fs::path path = fs::temp_directory_path() / ("tav-soak-" + std::to_string(::getpid()));
    RunFolder() {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~RunFolder() { fs::remove_all(path); }
};

int Number(int argc, char** argv, int index, int otherwise) {
    return argc > index ? std::atoi(argv[index]) : otherwise;
}

int Crash(int kills) {
    RunFolder folder;
    const CrashReport report = RunCrashRewrites({folder.path, kills, 1});
    std::printf("kills: %d (%d while a save function ran)\n", report.kills, report.insideRewrite);
    std::printf("files checked: %d (3 after each kill, 3 after the next start)\n",
                report.filesChecked);
    std::printf("replacements left by a kill: %d, removed at the next start: %d\n",
                report.tempFilesSeen, report.tempFilesCleaned);
    std::printf("failures: %zu\n", report.failures.size());
    for (const auto& failure : report.failures) {
        std::printf("  %s\n", failure.c_str());
    }
    return report.failures.empty() && report.kills == kills ? 0 : 1;
}

int Cycles(int cycles, int every) {
    RunFolder folder;
    std::printf("%7s %8s %11s %4s %7s %10s %17s %7s %7s\n", "cycle", "rss_kb", "heap_bytes", "fds",
                "sockets", "open_files", "board_connections", "clients", "windows");
    SoakOptions options{folder.path, cycles, every, [](const SoakSample& s) {
                            std::printf("%7d %8zu %11zu %4zu %7zu %10zu %17zu %7zu %7zu\n", s.cycle,
                                        s.rssKb, s.heapBytes, s.fds, s.sockets, s.openFiles,
                                        s.boardConnections, s.clients, s.windows);
                            std::fflush(stdout);
                        }};
    const SoakReport report = RunRemapSoak(options);
    std::printf("remaps: %d, restores: %d\n", report.remaps, report.restores);
    // The first sampled interval is the warm-up; after it nothing may grow, the heap by at most
    // a few bytes a cycle.
    const auto grown = GrowthAfter(report.samples, every, static_cast<std::size_t>(cycles) * 8);
    for (const auto& line : report.failures) {
        std::printf("failure: %s\n", line.c_str());
    }
    for (const auto& line : grown) {
        std::printf("grew: %s\n", line.c_str());
    }
    if (report.failures.empty() && grown.empty()) {
        std::printf("flat after the warm-up\n");
    }
    return report.failures.empty() && grown.empty() ? 0 : 1;
}

int Shared(int workstations, int changes) {
    RunFolder folder;
    const SharedStressReport report =
        RunSharedStress({folder.path / "shared", workstations, changes, 1});
    std::printf("workstations: %d, changes each: %d\n", workstations, changes);
    std::printf("changes tried: %d, confirmed and written: %d\n", report.tried, report.confirmed);
    std::printf("lock found held and waited for: %d\n", report.waited);
    std::printf("table found changed and read again: %d (changes stopped by it: %d)\n",
                report.readAgain, report.stopped);
    std::printf("RE-MAP messages checked: %d\n", report.messages);
    std::printf("failures: %zu\n", report.failures.size());
    for (const auto& failure : report.failures) {
        std::printf("  %s\n", failure.c_str());
    }
    return report.failures.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--help" || mode == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (mode == "crash" && argc <= 3) {
        return Crash(Number(argc, argv, 2, 1000));
    }
    if (mode == "shared" && argc <= 4) {
        return Shared(Number(argc, argv, 2, 4), Number(argc, argv, 3, 100));
    }
    if (mode == "cycles" && argc <= 4) {
        return Cycles(Number(argc, argv, 2, 10000), std::max(1, Number(argc, argv, 3, 500)));
    }
    std::fputs(kUsage, stderr);
    return 2;
}
