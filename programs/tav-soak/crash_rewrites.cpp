#include "programs/tav-soak/crash_rewrites.h"

#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <optional>
#include <random>
#include <thread>

#include "platform/control/control.h"
#include "programs/tav-soak/headless_tavora.h"
#include "remap/remap_line.h"
#include "remap/tav_dlg.h"
#include "sysdef/sysdef_format.h"

namespace {

namespace fs = std::filesystem;

// Five rows on the built-in configuration's levels, with idle ranges; the other content drops
// them, so the two differ in length as well.
constexpr const char* kSysDefLines[] = {
    "    MAIN   VIDEO 128  64 01616 2 1112 16100  4 48 16",
    "    MAIN  AUDIO1  64  64 1 8 8 1 0 56  8",
    "    MAIN  AUDIO2  64  32 2 0 0 0 1 30  2",
    "  STUDIO   VIDEO  32  32 31212 2 1  0 12 20 12 24  8",
    "  STUDIO      TC  16  16 4 4 4 1 1 12  4 12  4",
};

// Entries per table file in each of the two contents: short and long files both ways.
constexpr int kEntries[2][2] = {{2, 30}, {40, 1}};

// Where the rewriting process stands, in memory it shares with the one that kills it.
struct Progress {
    std::atomic<int> saving{0};  // 1 while one of the save functions runs
};

std::unique_ptr<SysDefTable> SysDefContent(int version) {
    auto table = std::make_unique<SysDefTable>();
    for (const char* line : kSysDefLines) {
        auto record = sysdef::ParseSysDefLine(line);
        if (version == 1) {
            record->m_nIdleInRanges = record->m_nIdleOutRanges = 0;
            record->m_pIdleInStart = record->m_pIdleInCount = std::nullopt;
            record->m_pIdleOutStart = record->m_pIdleOutCount = std::nullopt;
        }
        table->push_back(std::move(record));
    }
    return table;
}

std::unique_ptr<RemapTable> TableContent(int version, IoType io) {
    auto table = std::make_unique<RemapTable>();
    for (int k = 0; k < kEntries[version][IoSlot(io)]; ++k) {
        const int port = 10 + k;
        table->push_back(
            ParseRemapLine("14:05:09,March 03 2002,MAIN,VIDEO,0," + std::to_string(port) + "," +
                           std::to_string(port) + "," + std::to_string(port + 60) + "," +
                           std::to_string(port + 60) + ",card " + std::to_string(version)));
    }
    return table;
}

// Both contents of both remap tables, built once: a round only swaps them in, so that nearly all
// of its time is spent in the save functions.
struct Tables {
    std::unique_ptr<RemapTable> of[2][2];  // [version][io]
    Tables() {
        for (int version : {0, 1}) {
            for (IoType io : {IoType::Input, IoType::Output}) {
                of[version][IoSlot(io)] = TableContent(version, io);
            }
        }
    }
};

// One round of rewrites as the program makes them: the System Definition save, then each remap
// table rewritten as after a remap.
void SaveRound(CTavDlg& dlg, Tables& tables, int version, Progress* progress) {
    dlg.SetSysDefTable(SysDefContent(version));
    for (IoType io : {IoType::Input, IoType::Output}) {
        std::swap(dlg.Table(io), tables.of[version][IoSlot(io)]);
    }
    if (progress != nullptr) {
        progress->saving = 1;
    }
    dlg.SaveSysDefTable();
    for (IoType io : {IoType::Input, IoType::Output}) {
        if (dlg.OpenRemapTableFile(io, fw::TRUE, fw::TRUE, {})) {
            dlg.WriteRemapTableFile(io);
        }
        dlg.CloseRemapTableFile();
    }
    if (progress != nullptr) {
        progress->saving = 0;
    }
    for (IoType io : {IoType::Input, IoType::Output}) {
        std::swap(dlg.Table(io), tables.of[version][IoSlot(io)]);
    }
}

FileContents ReadFiles(const fs::path& folder) {
    FileContents files;
    for (const char* name : kRewrittenFiles) {
        files[name] = ReadWholeFile(folder / name);
    }
    return files;
}

// Rewrites until killed, telling the parent through the pipe after each round.
[[noreturn]] void RewriteUntilKilled(const fs::path& folder, int pipe, Progress* progress) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    HeadlessTavora tavora(folder);
    std::string error;
    if (!tavora.Start(control::DefaultConfig(), &error)) {
        ::_exit(3);
    }
    CTavDlg dlg;
    dlg.KnownFiles().RememberNow({"TAV.SDF", "TAV.IXT", "TAV.OXT"});  // as the start-up does
    Tables tables;
    for (int round = 0;; ++round) {
        SaveRound(dlg, tables, round % 2, progress);
        const char done = 1;
        if (::write(pipe, &done, 1) != 1) {
            ::_exit(4);
        }
    }
}

int ThreadCount() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Threads:", 0) == 0) {
            return std::stoi(line.substr(8));
        }
    }
    return 0;
}

// Both contents of every file, from the program's own save functions, and how long a round of
// rewrites takes here. The files are left holding the first content.
bool Calibrate(const fs::path& folder, FileContents (&contents)[2],
               std::chrono::microseconds& round, std::string& error) {
    HeadlessTavora tavora(folder);
    if (!tavora.Start(control::DefaultConfig(), &error)) {
        return false;
    }
    CTavDlg dlg;
    dlg.KnownFiles().RememberNow({"TAV.SDF", "TAV.IXT", "TAV.OXT"});  // as the start-up does
    Tables tables;
    SaveRound(dlg, tables, 1, nullptr);
    contents[1] = ReadFiles(folder);
    constexpr int kTimedRounds = 4;
    const auto start = std::chrono::steady_clock::now();
    for (int r = 1; r <= kTimedRounds; ++r) {
        SaveRound(dlg, tables, r % 2, nullptr);  // ending on the first content
    }
    round = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                  start) /
            kTimedRounds;
    contents[0] = ReadFiles(folder);
    for (const char* name : kRewrittenFiles) {
        if (contents[0][name].empty() || contents[0][name] == contents[1][name]) {
            error = std::string(name) + " was not written with two different contents";
            return false;
        }
    }
    return true;
}

}  // namespace

FolderCheck CheckFolder(const fs::path& folder, const FileContents& one,
                        const FileContents& other) {
    FolderCheck check;
    check.found = ReadFiles(folder);
    for (const auto& [name, content] : check.found) {
        if (content != one.at(name) && content != other.at(name)) {
            check.problems.push_back(name + " holds " + std::to_string(content.size()) +
                                     " bytes, neither of its two contents");
        }
    }
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.front() == '.' && name.find(".tav-") != std::string::npos) {
            ++check.tempFiles;
        }
    }
    return check;
}

namespace {

void Fail(CrashReport& report, int kill, const std::string& what) {
    report.failures.push_back("kill " + std::to_string(kill) + ": " + what);
}

// Starts a process that rewrites the files again and again and kills it after a random delay,
// counting whether it stood inside a rewrite when it died. Nothing when it was killed; else why
// it could not be.
std::optional<std::string> KillARewrite(const fs::path& folder, Progress& progress,
                                        std::uniform_int_distribution<std::int64_t>& delay,
                                        std::mt19937& random, CrashReport& report) {
    int pipe[2];
    if (::pipe(pipe) != 0) {
        return "no pipe";
    }
    progress.saving = 0;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        RewriteUntilKilled(folder, pipe[1], &progress);
    }
    ::close(pipe[1]);
    char done = 0;
    const bool started = child > 0 && ::read(pipe[0], &done, 1) == 1;
    if (started) {
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
    }
    int status = 0;
    if (child > 0) {
        ::waitpid(child, &status, 0);
    }
    // As the child stood when it died.
    report.insideRewrite += started ? progress.saving.load() : 0;
    ::close(pipe[0]);
    if (!started) {
        return "the rewriting process did not start (status " + std::to_string(status) + ")";
    }
    return std::nullopt;
}

// The folder after a kill holds each file with one of its two contents, and the next start
// removes the replacements left behind without changing a file.
void CheckAfterKill(const fs::path& folder, const FileContents (&contents)[2], int kill,
                    CrashReport& report) {
    const FolderCheck afterKill = CheckFolder(folder, contents[0], contents[1]);
    report.filesChecked += static_cast<int>(afterKill.found.size());
    report.tempFilesSeen += afterKill.tempFiles;
    for (const auto& problem : afterKill.problems) {
        Fail(report, kill, problem);
    }
    // The next start: File Access's server starts with the simulation.
    control::StartSimulation(control::DefaultConfig());
    const FolderCheck afterStart = CheckFolder(folder, contents[0], contents[1]);
    control::ResetSimulation();
    report.filesChecked += static_cast<int>(afterStart.found.size());
    report.tempFilesCleaned += afterKill.tempFiles - afterStart.tempFiles;
    if (afterStart.tempFiles > 0) {
        Fail(report, kill,
             std::to_string(afterStart.tempFiles) + " replacement(s) left after the next start");
    }
    if (afterStart.found != afterKill.found) {
        Fail(report, kill, "the next start changed a file");
    }
}

}  // namespace

CrashReport RunCrashRewrites(const CrashOptions& options) {
    CrashReport report;
    FileContents contents[2];
    std::chrono::microseconds round{};
    std::string error;
    if (!Calibrate(options.folder, contents, round, error)) {
        Fail(report, 0, error);
        return report;
    }
    if (ThreadCount() != 1) {
        Fail(report, 0,
             "the process runs " + std::to_string(ThreadCount()) +
                 " threads; forking it would copy locks other threads hold");
        return report;
    }
    void* shared = ::mmap(nullptr, sizeof(Progress), PROT_READ | PROT_WRITE,
                          MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED) {
        Fail(report, 0, "no shared memory");
        return report;
    }
    // The shared page is the object's storage; it has no owner but the mapping.
    auto* progress = new (shared) Progress;
    std::mt19937 random(options.seed);
    // Over two rounds, so that kills land in every part of a rewrite and between files.
    std::uniform_int_distribution<std::int64_t> delay(0,
                                                      2 * std::max<std::int64_t>(round.count(), 1));
    for (int kill = 1; kill <= options.kills; ++kill) {
        if (const auto why = KillARewrite(options.folder, *progress, delay, random, report)) {
            Fail(report, kill, *why);
            break;
        }
        ++report.kills;
        CheckAfterKill(options.folder, contents, kill, report);
    }
    progress->~Progress();
    ::munmap(shared, sizeof(Progress));
    return report;
}
