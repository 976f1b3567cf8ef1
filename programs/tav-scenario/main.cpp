// The scenario player: runs Tavora on the headless back end against the simulated control system,
// driven by a script (docs/scenarios.md), and prints what an operator would have seen.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <variant>

#include "app/tav_app.h"
#include "platform/com/runtime.h"
#include "platform/control/control.h"
#include "platform/fw/clock.h"
#include "platform/fw/named_mutex.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/scenario_driver.h"
#include "programs/tav-scenario/audit_checks.h"
#include "programs/tav-scenario/other_workstation.h"
#include "programs/tav-scenario/qt_side.h"
#include "programs/tav-scenario/run_folders.h"
#include "programs/tav-scenario/scenario_boards.h"
#include "programs/tav-scenario/sync_lines.h"
#include "remap/tav_dlg.h"
#include "res/resources.h"

namespace {

namespace fs = std::filesystem;

struct Options {
    fs::path script;
    bool qt = false;
    std::optional<fs::path> config;
    std::optional<fs::path> dataDir;
    fs::path pictures;  // where snapshot names without a folder of their own go
    std::optional<fs::path> syncDir;
    bool quiet = false;
};

constexpr char kUsage[] =
    "usage: tav-scenario [--qt] [--pictures DIR] [--config FILE] [--data-dir DIR] "
    "[--sync-dir DIR] [--quiet] SCRIPT\n"
    "Plays a scenario script against Tavora on the headless back end (--qt: real Qt windows on\n"
    "the offscreen platform), prints what an operator would have seen, and exits non-zero at the\n"
    "first expectation that is not met. With --qt, snapshot lines save pictures (into DIR with\n"
    "--pictures). Players given one --data-dir are workstations sharing it; their signal and\n"
    "await lines meet in one --sync-dir. The script format is in docs/scenarios.md.\n";

int Usage() {
    std::cerr << kUsage;
    return 2;
}

// Set-up lines stand before the first line that acts on the running program.
struct SetUp {
    std::optional<fs::path> config;
    std::optional<std::uint16_t> activeSetCrc;
    std::vector<std::string> readOnly;
    std::vector<std::string> folders;
    std::vector<headless::ScriptLine> faults;
    bool anotherInstance = false;
    bool auditFifo = false;
    struct File {
        int line = 0;
        std::string name;
        std::string content;
    };
    std::vector<File> files;
    // after-send S signal|await NAME: a step kept with another player while the program waits
    // for its boards, S seconds (program clock) after it sent.
    struct AfterSend {
        std::int64_t seconds;
        headless::ScriptLine line;
        bool done = false;
    };
    std::vector<AfterSend> afterSend;
};

SetUp TakeSetUp(std::vector<headless::ScriptLine>& lines, const fs::path& scriptDir,
                ScenarioBoards& boards) {
    SetUp setUp;
    std::size_t i = 0;
    for (; i < lines.size(); ++i) {
        const auto& words = lines[i].words;
        if (words[0] == "config" && words.size() == 2) {
            fs::path file = words[1];
            setUp.config = file.is_absolute() ? file : scriptDir / file;
        } else if (words[0] == "crc" && words.size() == 2) {
            setUp.activeSetCrc = static_cast<std::uint16_t>(std::stoul(words[1], nullptr, 0));
        } else if (words[0] == "readonly" && words.size() == 2) {
            setUp.readOnly.push_back(words[1]);
        } else if (words[0] == "folder" && words.size() == 2) {
            setUp.folders.push_back(words[1]);
        } else if (words[0] == "another-instance") {
            setUp.anotherInstance = true;
        } else if (words[0] == "audit-fifo" && words.size() == 1) {
            setUp.auditFifo = true;
        } else if (words[0] == "fault") {
            setUp.faults.push_back(lines[i]);
        } else if (words[0] == "file" && words.size() == 3) {
            setUp.files.push_back({lines[i].number, words[1], words[2]});
        } else if (words[0] == "after-send" && words.size() == 4 &&
                   (words[2] == "signal" || words[2] == "await")) {
            headless::ScriptLine step = lines[i];
            step.words.erase(step.words.begin(), step.words.begin() + 2);
            setUp.afterSend.push_back({std::stoll(words[1]), std::move(step)});
        } else if (boards.TakeSetUpLine(lines[i])) {
            continue;
        } else {
            break;
        }
    }
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(i));
    return setUp;
}

// What is wrong with a fault line, for the part the fault parser found wrong.
std::string FaultLineProblem(const control::FaultText& text, control::FaultTextError error) {
    using Part = control::FaultTextError::Part;
    switch (error.part) {
        case Part::Component:
            return "unknown component " + *text.component;
        case Part::Operation:
            return text.component == "COM"
                       ? "COM fails only in CoInitialize or CoInitializeSecurity"
                       : "unknown operation " + *text.operation + " of " + *text.component;
        case Part::Result:
            return "not a result code: " + *text.hresult;
        case Part::Interface:
            break;
    }
    return error.problem == control::FaultTextError::Problem::Misplaced
               ? "only a QueryInterface fault names an interface"
               : "unknown interface " + *text.interfaceName;
}

// fault COMPONENT OPERATION HRESULT [after N] [times N] [interface NAME]; COMPONENT "COM" with
// OPERATION CoInitialize or CoInitializeSecurity makes the library call itself fail.
void InjectFault(const headless::ScriptLine& line) {
    const auto& w = line.words;
    auto bad = [&](const std::string& why) {
        return headless::ScriptFailure("line " + std::to_string(line.number) + ": " + why);
    };
    if (w.size() < 4) {
        throw bad("fault needs a component, an operation and a result code");
    }
    control::FaultText text{w[1], w[2], w[3], std::nullopt};
    std::optional<std::uint32_t> after;
    std::optional<std::int32_t> times;
    for (std::size_t i = 4; i + 1 < w.size(); i += 2) {
        if (w[i] == "after") {
            after = static_cast<std::uint32_t>(std::stoul(w[i + 1]));
        } else if (w[i] == "times") {
            times = std::stoi(w[i + 1]);
        } else if (w[i] == "interface") {
            text.interfaceName = w[i + 1];
        } else {
            throw bad("unknown fault option " + w[i]);
        }
    }
    const auto parsed = control::ParseFaultText(text);
    if (const auto* error = std::get_if<control::FaultTextError>(&parsed)) {
        throw bad(FaultLineProblem(text, *error));
    }
    if (const auto* library = std::get_if<control::LibraryFault>(&parsed)) {
        library->security ? com::SetCoInitializeSecurityFailure(library->hr)
                          : com::SetCoInitializeFailure(library->hr);
        return;
    }
    control::Fault fault = std::get<control::Fault>(parsed);
    fault.after = after.value_or(fault.after);
    fault.times = times.value_or(fault.times);
    control::InjectFault(fault);
}

// data-file-has NAME "TEXT" / data-file-lacks NAME "TEXT": the data folder's file holds TEXT
// (or does not); data-file-lines NAME N: it has N lines. False for any other line.
bool CheckDataFile(const headless::ScriptLine& line, const fs::path& dataDir) {
    const auto& w = line.words;
    if (w.size() != 3 ||
        (w[0] != "data-file-has" && w[0] != "data-file-lacks" && w[0] != "data-file-lines")) {
        return false;
    }
    std::ifstream in(dataDir / w[1], std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), {});
    auto fail = [&](const std::string& why) {
        return headless::ScriptFailure("line " + std::to_string(line.number) + ": " + w[1] + " " +
                                       why + "; it holds \"" + content + "\"");
    };
    if (!in && content.empty() && !fs::exists(dataDir / w[1])) {
        throw fail("does not exist");
    }
    if (w[0] == "data-file-lines") {
        const auto lines =
            static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n'));
        if (std::to_string(lines) != w[2]) {
            throw fail("has " + std::to_string(lines) + " lines");
        }
        return true;
    }
    const bool found = content.find(w[2]) != std::string::npos;
    if (found != (w[0] == "data-file-has")) {
        throw fail(found ? "holds it" : "does not hold it");
    }
    return true;
}

// expect-seconds-since-send N: the program's clock stands N seconds after the second in which
// the latest RE-MAP message was handed to the socket library.
void CheckSecondsSinceSend(const headless::ScriptLine& line, std::int64_t now) {
    CTavApp* app = GetTavApp();
    CTavDlg* dlg = app != nullptr ? app->GetMainDlg() : nullptr;
    if (dlg == nullptr || dlg->LastNotification().sentAt == 0) {
        throw headless::ScriptFailure("line " + std::to_string(line.number) +
                                      ": no RE-MAP message has been sent");
    }
    const std::int64_t since = now - dlg->LastNotification().sentAt;
    if (std::to_string(since) != line.words[1]) {
        throw headless::ScriptFailure("line " + std::to_string(line.number) + ": it is " +
                                      std::to_string(since) + " seconds since the send");
    }
}

// Puts the set-up's files and folders into the data folder: folders first, so that a file may
// go into one. A file whose folder does not exist, or that cannot be written, refuses the script.
void PrepareDataFolder(const SetUp& setUp, const fs::path& dataDir) {
    for (const auto& name : setUp.folders) {
        fs::create_directories(dataDir / name);
    }
    for (const auto& file : setUp.files) {
        const fs::path target = dataDir / file.name;
        auto refuse = [&](const std::string& why) {
            return std::runtime_error("line " + std::to_string(file.line) + ": file " + file.name +
                                      ": " + why);
        };
        std::error_code ec;
        if (!fs::is_directory(target.parent_path(), ec)) {
            throw refuse("the folder " + target.parent_path().string() + " does not exist");
        }
        std::ofstream out(target, std::ios::binary);
        out << file.content;
        out.close();
        if (!out) {
            throw refuse("cannot be written to " + target.string());
        }
    }
    for (const auto& name : setUp.readOnly) {
        fs::permissions(dataDir / name,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
}

// The program finds the run's folders through its environment; its audit trail goes to the run's
// own file (TAVORA_AUDIT_JOURNAL=on sends it to the journal instead, to look at by hand), which
// the set-up may have made a FIFO. Returns the audit file.
fs::path PointProgramAtRun(const RunFolders& folders, const fs::path& dataDir, bool auditFifo) {
    ::setenv("XDG_RUNTIME_DIR", folders.Runtime().c_str(), 1);
    ::setenv("TAVORA_DATA_DIR", dataDir.c_str(), 1);
    ::setenv("XDG_STATE_HOME", folders.State().c_str(), 1);
    ::setenv("TAVORA_AUDIT_JOURNAL", "off", 0);
    const fs::path auditFile = folders.State() / "tavora" / "audit.log";
    if (auditFifo) {
        fs::create_directories(auditFile.parent_path());
        if (::mkfifo(auditFile.c_str(), 0600) != 0) {
            throw std::runtime_error("cannot make the audit file a FIFO");
        }
    }
    return auditFile;
}

// Each second of the program's clock moves the boards on and runs the after-send steps that are
// due.
void RunEverySecond(fw::ManualClock& clock, ScenarioBoards& boards, const SyncLines& syncLines,
                    std::vector<SetUp::AfterSend>& afterSend) {
    SetUp::AfterSend* const steps = afterSend.data();
    const std::size_t stepCount = afterSend.size();
    clock.SetSecondHook([&boards, &syncLines, steps, stepCount](std::int64_t now) {
        boards.OnSecond(now);
        CTavApp* app = GetTavApp();
        const CTavDlg* dlg = app != nullptr ? app->GetMainDlg() : nullptr;
        const std::int64_t sentAt = dlg != nullptr ? dlg->LastNotification().sentAt : 0;
        for (std::size_t i = 0; i < stepCount && sentAt != 0; ++i) {
            if (!steps[i].done && now - sentAt >= steps[i].seconds) {
                steps[i].done = true;
                syncLines.Run(steps[i].line);
            }
        }
    });
}

// The player's own lines, beside those acting on the program: the other players, the other
// workstation, the boards, pictures, and checks of what the program left behind.
struct PlayerLines {
    const fs::path& dataDir;
    const fs::path& auditFile;
    const fs::path& pictures;
    fw::ManualClock& clock;
    ScenarioBoards& boards;
    const SyncLines& syncLines;
    OtherWorkstation& other;
    QtSide* const& qtSide;

    bool operator()(const headless::ScriptLine& line, fw::CWnd* window) const {
        if (syncLines.Run(line) || other.Run(line)) {
            return true;
        }
        if (line.words[0] == "config-change") {
            control::AnnounceConfigSetChanging();
            return true;
        }
        if (line.words[0] == "snapshot" && line.words.size() == 2) {
            // Only real windows can be pictured; without --qt the line is passed over.
            if (qtSide != nullptr &&
                (window == nullptr ||
                 !qtSide->Snapshot(*window, (pictures / line.words[1]).string()))) {
                throw headless::ScriptFailure("line " + std::to_string(line.number) +
                                              ": cannot save a picture as " + line.words[1]);
            }
            return true;
        }
        if (boards.CheckLine(line)) {
            return true;
        }
        if (line.words[0] == "expect-seconds-since-send" && line.words.size() == 2) {
            CheckSecondsSinceSend(line, clock.Now());
            return true;
        }
        return CheckAudit(line, auditFile) || CheckDataFile(line, dataDir);
    }
};

// With --qt every window is a real Qt window on the offscreen platform; the script acts through
// the same framework calls a click or a key makes. False when this build has no Qt back end.
bool InstallWindows(const Options& options, headless::HeadlessBackend& backend,
                    headless::ScenarioDriver& driver, std::unique_ptr<QtSide>& qt) {
    if (!options.qt) {
        fw::InstallBackend(&backend);
        return true;
    }
    qt = MakeQtSide(backend);
    if (!qt) {
        std::cerr << "tav-scenario: this build has no Qt back end\n";
        return false;
    }
    fw::InstallBackend(qt->Backend());
    driver.SetMessageBoxPicture(
        [qtSide = qt.get(), pictures = options.pictures](
            const fw::MessageBoxRequest& request, const std::string& name, bool detailsShown) {
            return qtSide->SnapshotMessageBox(request, (pictures / name).string(), detailsShown);
        });
    return true;
}

// The configuration file named on the command line, else the set-up's, else the built-in
// configuration; nothing (after saying why) when the file cannot be loaded.
std::optional<control::Config> LoadConfig(const std::optional<fs::path>& configFile,
                                          const SetUp& setUp) {
    control::Config config;
    try {
        config = configFile ? control::LoadConfigFile(*configFile) : control::DefaultConfig();
    } catch (const control::ConfigError& e) {
        std::cerr << "tav-scenario: " << e.what() << "\n";
        return std::nullopt;
    }
    if (setUp.activeSetCrc) {
        config.activeSetCrc = *setUp.activeSetCrc;
    }
    return config;
}

// Runs the program to its end with the boards connected and the set-up's faults in place: 0 when
// the scenario passed, 1 at its first failure.
int RunProgram(const Options& options, const SetUp& setUp, ScenarioBoards& boards,
               headless::ScenarioDriver& driver) {
    try {
        boards.Connect();
        for (const auto& line : setUp.faults) {
            InjectFault(line);
        }
        int code = 0;
        {
            CTavApp app("tavora");
            code = app.Run();
        }
        driver.ThrowPendingFailure();  // the first failure, rather than what it left behind
        for (fw::CWnd* wnd : fw::CWnd::TopLevelWindows()) {
            throw headless::ScriptFailure("window " + headless::DescribeWindow(*wnd) +
                                          " is still open after the program ended");
        }
        driver.Finish(code);
        std::cout << "scenario passed: " << options.script.filename().string() << "\n";
    } catch (const headless::ScriptFailure& failure) {
        std::cout << "FAILED: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}

int Play(const Options& options) {
    // First, while the player has no other thread: the guard of the run's folders is forked.
    RunFolders folders;
    std::ifstream in(options.script);
    if (!in) {
        std::cerr << "tav-scenario: cannot read " << options.script << "\n";
        return 2;
    }
    auto lines = headless::ParseScript(in);
    ScenarioBoards boards;
    SetUp setUp = TakeSetUp(lines, options.script.parent_path(), boards);

    const fs::path dataDir = options.dataDir.value_or(folders.Data());
    const SyncLines syncLines(options.syncDir.value_or(folders.Sync()));
    const fs::path auditFile = PointProgramAtRun(folders, dataDir, setUp.auditFifo);
    PrepareDataFolder(setUp, dataDir);

    fw::ManualClock clock;
    fw::InstallClock(&clock);
    headless::ScenarioDriver driver(std::move(lines), &clock);
    driver.SetDataFolder(dataDir);
    RunEverySecond(clock, boards, syncLines, setUp.afterSend);
    QtSide* qtSide = nullptr;
    OtherWorkstation other(dataDir);
    driver.SetExtension(
        PlayerLines{dataDir, auditFile, options.pictures, clock, boards, syncLines, other, qtSide});
    headless::HeadlessBackend backend(driver);
    driver.SetTranscript(&backend.GetTranscript());
    if (!options.quiet) {
        // Line by line, so that a run killed half-way has shown what it got to.
        backend.GetTranscript().SetEcho([](const std::string& l) { std::cout << l << std::endl; });
    }
    fw::InstallResources(&tav::TavResources());
    std::unique_ptr<QtSide> qt;
    if (!InstallWindows(options, backend, driver, qt)) {
        return 2;
    }
    qtSide = qt.get();

    std::unique_ptr<fw::NamedMutex> otherCopy;
    if (setUp.anotherInstance) {
        fw::DWORD lastError = 0;
        otherCopy = fw::CreateMutex("Tavora", &lastError);
    }

    const std::optional<fs::path> configFile = options.config ? options.config : setUp.config;
    std::optional<control::Config> config = LoadConfig(configFile, setUp);
    if (!config) {
        return 2;
    }
    boards.Prepare(*config);
    control::StartSimulation(std::move(*config), configFile, false);
    const int result = RunProgram(options, setUp, boards, driver);
    boards.Stop();
    control::StopSimulation();
    clock.SetSecondHook(nullptr);
    fw::InstallBackend(nullptr);
    fw::InstallClock(nullptr);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "--config" && i + 1 < argc) {
            options.config = argv[++i];
        } else if (arg == "--data-dir" && i + 1 < argc) {
            options.dataDir = fs::absolute(argv[++i]);
        } else if (arg == "--pictures" && i + 1 < argc) {
            options.pictures = argv[++i];
        } else if (arg == "--sync-dir" && i + 1 < argc) {
            options.syncDir = fs::absolute(argv[++i]);
        } else if (arg == "--qt") {
            options.qt = true;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (!arg.empty() && arg[0] != '-' && options.script.empty()) {
            options.script = arg;
        } else {
            return Usage();
        }
    }
    if (options.script.empty()) {
        return Usage();
    }
    try {
        return Play(options);
    } catch (const std::exception& e) {
        std::cerr << "tav-scenario: " << e.what() << "\n";
        return 2;
    }
}
