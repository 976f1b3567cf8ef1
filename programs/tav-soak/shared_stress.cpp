#include "programs/tav-soak/shared_stress.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "app/tav_app.h"
#include "platform/com/com.h"
#include "platform/control/boards/board_simulator.h"
#include "platform/control/control.h"
#include "platform/fw/clock.h"
#include "platform/fw/message_queue.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/queued_driver.h"
#include "platform/headless/transcript.h"
#include "programs/tav-scenario/witness.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"
#include "res/resources.h"
#include "views/remap_table_dlg.h"
#include "views/remap_table_grid.h"

namespace {

namespace fs = std::filesystem;
using Ports = std::vector<std::pair<int, int>>;  // original, new: a table in force, in order

constexpr char kSysDef[] =
    "    MAIN   VIDEO 128  64 01616 2 1112 16100  4 48 16\n"
    "    MAIN  AUDIO1  64  64 1 8 8 1 0 56  8\n"
    "    MAIN  AUDIO2  64  32 2 0 0 0 1 30  2\n"
    "  STUDIO   VIDEO  32  32 31212 2 1  0 12 20 12 24  8\n"
    "  STUDIO      TC  16  16 4 4 4 1 1 12  4 12  4\n";
// The idle inputs of MAIN VIDEO; each workstation remaps its own ports to its own idle ones, so
// that no change of one asks a question about another's.
constexpr int kIdle[] = {112, 113, 114, 115, 116, 117, 118, 119, 120, 121,
                         122, 123, 124, 125, 126, 127, 100, 101, 102, 103};
constexpr int kIdleEach = 5;
constexpr int kPortsEach = 12;
constexpr int kMaxInstances = 4;
constexpr auto kSettleLimit = std::chrono::seconds(3);

// One line in one write: the workstations append to the same logs.
void AppendLine(const fs::path& file, const std::string& line) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd >= 0) {
        const std::string text = line + "\n";
        (void)!::write(fd, text.data(), text.size());
        ::close(fd);
    }
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    char two[3];
    for (const std::uint8_t b : bytes) {
        std::snprintf(two, sizeof two, "%02x", b);
        text += two;
    }
    return text;
}

std::vector<std::uint8_t> FromHex(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

std::vector<std::string> Lines(const fs::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

int ThreadCount() {
    std::error_code ec;
    int threads = 0;
    for (auto it = fs::directory_iterator("/proc/self/task", ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        ++threads;
    }
    return threads;
}

struct Counts {
    int tried = 0;
    int confirmed = 0;
    int waited = 0;
    int readAgain = 0;
    int stopped = 0;
};

// Plays the operator of one workstation: confirms what was chosen, waits when another
// workstation holds the lock, and notes what it was told.
class StressDriver final : public headless::Driver {
  public:
    explicit StressDriver(Counts& counts) : m_counts(counts) {}

    std::function<void(fw::CDialog&)> onView;
    bool sent = false;
    std::vector<std::string> failures;

    void Idle(fw::CWnd& window) override {
        auto* dialog = dynamic_cast<fw::CDialog*>(&window);
        switch (dialog != nullptr ? dialog->TemplateId() : 0) {
            case IDD_REMAP_CONFIRM:
            case IDD_RESTORE_CONFIRM:
                headless::Item(window, fw::IDOK).UserClick();
                return;
            case IDD_SEND_REMAP_DATA:
                sent = true;
                headless::Item(window, fw::IDOK).UserClick();
                return;
            case IDD_LOCK_WAIT:
                if (window.GetSafeHwnd() != m_lastWait) {
                    m_lastWait = window.GetSafeHwnd();
                    ++m_counts.waited;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                return;
            case IDD_REMAP_TABLE:
                if (onView) {
                    onView(*dialog);
                    return;
                }
                break;
            default:
                break;
        }
        failures.push_back("unexpected window " + headless::DescribeWindow(window));
        window.UserClose();
    }

    int AnswerMessageBox(const fw::MessageBoxRequest& request) override {
        if (request.text.find("was changed at another workstation") != std::string::npos) {
            ++m_counts.readAgain;
            m_counts.stopped += request.text.find("Nothing was") != std::string::npos;
        } else {
            failures.push_back("told: " + request.text);
        }
        return fw::IDOK;
    }

    int AnswerPrintDialog(fw::PrintDialogRequest&) override {
        failures.push_back("a print dialog");
        return fw::IDCANCEL;
    }

  private:
    Counts& m_counts;
    fw::HWND m_lastWait = fw::kNoWindow;
};

void Choose(fw::CWnd& dlg, int id, const std::string& text) {
    fw::Control& list = headless::Item(dlg, id);
    list.UserSelect(list.FindStringExact(-1, text));
}

// One workstation, in a process of its own.
class Workstation {
  public:
    Workstation(int number, const SharedStressOptions& options)
        : m_number(number),
          m_options(options),
          m_random(options.seed * 1000u + static_cast<unsigned>(number)),
          m_driver(m_counts) {}

    int Run() {
        const fs::path own = m_options.folder / ("workstation-" + std::to_string(m_number));
        fs::create_directories(own / "run");
        ::setenv("TAVORA_DATA_DIR", (m_options.folder / "data").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (own / "run").c_str(), 1);
        ::setenv("XDG_STATE_HOME", (own / "state").c_str(), 1);
        ::setenv("TAVORA_AUDIT_JOURNAL", "off", 1);
        control::ResetSimulation();
        fw::InstallResources(&tav::TavResources());
        headless::HeadlessBackend backend(m_driver);
        fw::InstallBackend(&backend);
        fw::ManualClock clock;
        fw::InstallClock(&clock);
        {
            control::Config config = control::DefaultConfig();
            control::BoardSimulator boards(control::SimulatedBoardsOf(config),
                                           control::BoardSimulatorOptions{});
            const fs::path sentLog = m_options.folder / "sent.log";
            Witness witness(boards.Port(), [&sentLog](const std::vector<std::uint8_t>& bytes) {
                AppendLine(sentLog, Hex(bytes));
            });
            SendThroughWitness(config, witness, boards.Port());
            config.statusPort = 0;
            control::StartSimulation(std::move(config));
            std::string error;
            const std::uint16_t status = control::ConnectBoardNetwork(&error);
            boards.SetStatusPort(status);
            const std::uint64_t reportsBefore =
                boards.GetCounts().reportsSent - control::BoardReportCount();
            clock.SetSecondHook([&](std::int64_t) {
                // Everything sent has passed the witness and reached the boards, and every report
                // of theirs the Board Status Server.
                const auto deadline = std::chrono::steady_clock::now() + kSettleLimit;
                while (std::chrono::steady_clock::now() < deadline) {
                    const auto counts = boards.GetCounts();
                    if (witness.CaughtUp() &&
                        counts.received >= control::DatagramsSentTo(boards.Port()) &&
                        control::BoardReportCount() + reportsBefore >= counts.reportsSent) {
                        return;
                    }
                    boards.WaitFor(
                        [&](const control::BoardSimulator::Counts& now) {
                            return now.received != counts.received ||
                                   now.reportsSent != counts.reportsSent;
                        },
                        std::chrono::milliseconds(1));
                }
            });
            CTavApp app("tavora");
            if (status == 0 || com::FAILED(com::CoInitialize(nullptr)) ||
                !app.ConnectComponents() || !app.SetupSocket()) {
                m_driver.failures.push_back("workstation " + std::to_string(m_number) +
                                            " could not start: " + error);
            } else {
                CTavDlg dlg;
                dlg.Create(IDD_TAV_DIALOG);
                app.m_pMainWnd = &dlg;
                for (int k = 0; k < m_options.changes && m_driver.failures.empty(); ++k) {
                    Change(app, dlg);
                }
                app.m_pMainWnd = nullptr;
                dlg.DestroyWindow();
            }
            clock.SetSecondHook(nullptr);
            boards.Stop();
            control::ResetSimulation();
        }
        fw::TheMessageQueue().Clear();
        fw::InstallClock(nullptr);
        fw::InstallBackend(nullptr);
        AppendLine(m_options.folder / "counts.log",
                   std::to_string(m_counts.tried) + " " + std::to_string(m_counts.confirmed) + " " +
                       std::to_string(m_counts.waited) + " " + std::to_string(m_counts.readAgain) +
                       " " + std::to_string(m_counts.stopped));
        for (const std::string& failure : m_driver.failures) {
            AppendLine(m_options.folder / "failures.log",
                       "workstation " + std::to_string(m_number) + ": " + failure);
        }
        return m_driver.failures.empty() ? 0 : 1;
    }

  private:
    bool Own(int orig) const {
        return orig >= m_number * kPortsEach && orig < (m_number + 1) * kPortsEach;
    }

    // A random change: a remap of a port of this workstation's, a Restore of one, or now and
    // then a Restore All.
    void Change(CTavApp& app, CTavDlg& dlg) {
        const int pick = static_cast<int>(m_random() % 10);
        if (pick == 0) {
            Restore(app, dlg, true);
        } else if (pick < 4 || !Remap(dlg)) {
            Restore(app, dlg, false);
        }
    }

    void Confirmed(CTavDlg& dlg, const std::string& change) {
        if (m_driver.sent && dlg.BoardsResponded()) {
            ++m_counts.confirmed;
            AppendLine(m_options.folder / "changes.log", change);
        }
    }

    bool Remap(CTavDlg& dlg) {
        std::vector<int> origs;
        std::vector<int> idle;
        for (int p = m_number * kPortsEach; p < (m_number + 1) * kPortsEach; ++p) {
            origs.push_back(p);
        }
        for (int i = m_number * kIdleEach; i < (m_number + 1) * kIdleEach; ++i) {
            idle.push_back(kIdle[i]);
        }
        // As far as this workstation knows; a table changed elsewhere only frees ports of its.
        if (const auto& table = dlg.Table(IoType::Input)) {
            for (const auto& e : *table) {
                std::erase(origs, e->m_nOrigFirst);
                std::erase(idle, e->m_nNewFirst);
            }
        }
        if (origs.empty() || idle.empty()) {
            return false;
        }
        const int orig = origs[m_random() % origs.size()];
        const int now = idle[m_random() % idle.size()];
        headless::Item(dlg, IDC_INPUT).UserClick();
        Choose(dlg, IDC_SWITCHER, "MAIN");
        Choose(dlg, IDC_LEVEL, "VIDEO");
        headless::Item(dlg, IDC_SINGLE).UserClick();
        headless::Item(dlg, IDC_ORIGINAL_NUMBER).UserType(std::to_string(orig));
        Choose(dlg, IDC_NEW_NUMBER, std::to_string(now));
        headless::Item(dlg, IDC_COMMENT).UserType("w" + std::to_string(m_number));
        ++m_counts.tried;
        m_driver.sent = false;
        headless::Item(dlg, IDC_REMAP).UserClick();
        Confirmed(dlg, "remap " + std::to_string(orig) + " " + std::to_string(now));
        return true;
    }

    // In the view as it opens (the file read again when it changed): one of this workstation's
    // ports, or every port.
    void Restore(CTavApp& app, CTavDlg& dlg, bool all) {
        int step = 0;
        int chosen = -1;
        m_driver.sent = false;
        m_driver.onView = [&](fw::CDialog& view) {
            auto* table = dynamic_cast<CRemapTableDlg*>(&view);
            if (step++ > 0 || table == nullptr) {
                view.UserClose();
                return;
            }
            CRemapTableGrid* grid = table->GetGrid();
            std::vector<int> rows;
            for (int row = 1; row <= table->GetRowCount(); ++row) {
                if (all || Own(std::stoi(grid->GetCellText(row, 3)))) {
                    rows.push_back(row);
                }
            }
            if (rows.empty()) {
                view.UserClose();
                return;
            }
            ++m_counts.tried;
            if (all) {
                chosen = 0;
                headless::Item(view, IDC_RESTORE_ALL).UserClick();
                return;
            }
            const int row = rows[m_random() % rows.size()];
            chosen = std::stoi(grid->GetCellText(row, 3));
            grid->UserClickCell(row, 0);
            headless::Item(view, IDC_RESTORE).UserClick();
        };
        app.OnCmdMsg(ID_VIEW_INPUT_REMAP_TABLE);
        m_driver.onView = nullptr;
        if (chosen >= 0) {
            Confirmed(dlg, all ? "restoreall" : "restore " + std::to_string(chosen));
        }
    }

    int m_number;
    const SharedStressOptions& m_options;
    std::mt19937 m_random;
    Counts m_counts;
    StressDriver m_driver;
};

Ports PortsOf(const std::string& data) {
    Ports ports;
    static const std::regex port(R"(\d+:(\d+)>(\d+))");
    for (auto it = std::sregex_iterator(data.begin(), data.end(), port);
         it != std::sregex_iterator(); ++it) {
        ports.emplace_back(std::stoi((*it)[1]), std::stoi((*it)[2]));
    }
    return ports;
}

std::string Describe(const Ports& ports) {
    std::string text;
    for (const auto& [orig, now] : ports) {
        text += (text.empty() ? "" : " ") + std::to_string(orig) + ">" + std::to_string(now);
    }
    return "[" + text + "]";
}

// The single change that turns `before` into `after` ("remap O N", "restore O", "restoreall");
// empty when no single change does. Emptying a table of one entry is either a Restore of it or a
// Restore All: "restore O" then, which Judge also takes for a Restore All.
std::string ChangeBetween(const Ports& before, const Ports& after) {
    if (after.empty() && before.size() != 1) {
        return "restoreall";
    }
    if (after.size() == before.size() + 1 &&
        std::equal(before.begin(), before.end(), after.begin())) {
        return "remap " + std::to_string(after.back().first) + " " +
               std::to_string(after.back().second);
    }
    if (after.size() + 1 == before.size()) {
        for (std::size_t gone = 0; gone < before.size(); ++gone) {
            Ports without = before;
            without.erase(without.begin() + static_cast<std::ptrdiff_t>(gone));
            if (without == after) {
                return "restore " + std::to_string(before[gone].first);
            }
        }
    }
    return {};
}

// Every message the whole table in force, every confirmed change in one message, the file what
// the last message carried.
void Judge(const fs::path& folder, SharedStressReport& report) {
    std::multiset<std::string> confirmed;
    for (const std::string& change : Lines(folder / "changes.log")) {
        confirmed.insert(change);
    }
    Ports inForce;
    // Tables of one entry emptied: matched last, by a Restore of the entry or else a Restore All.
    std::vector<std::pair<int, std::string>> eitherWay;
    for (const std::string& line : Lines(folder / "sent.log")) {
        ++report.messages;
        char io = 0;
        std::string problem;
        const std::string data = Witness::Describe(FromHex(line), io, problem);
        const Ports sent = PortsOf(data);
        const std::string change = ChangeBetween(inForce, sent);
        const std::string at = "message " + std::to_string(report.messages) + ": ";
        if (!problem.empty() || io != 'I') {
            report.failures.push_back(at + "malformed or not input data: " + problem);
        } else if (change.empty()) {
            report.failures.push_back(at + "carries " + Describe(sent) +
                                      ", which no single change makes of the table in force " +
                                      Describe(inForce));
        } else if (inForce.size() == 1 && sent.empty()) {
            eitherWay.emplace_back(report.messages, change);
        } else if (const auto found = confirmed.find(change); found != confirmed.end()) {
            confirmed.erase(found);
        } else {
            report.failures.push_back(at + "\"" + change + "\" (" + Describe(inForce) + " to " +
                                      Describe(sent) + ") was confirmed by no workstation");
        }
        inForce = sent;
    }
    for (const auto& [message, change] : eitherWay) {
        auto found = confirmed.find(change);
        if (found == confirmed.end()) {
            found = confirmed.find("restoreall");
        }
        if (found == confirmed.end()) {
            report.failures.push_back("message " + std::to_string(message) + ": \"" + change +
                                      "\" was confirmed by no workstation");
        } else {
            confirmed.erase(found);
        }
    }
    for (const std::string& change : confirmed) {
        report.failures.push_back("\"" + change + "\" was confirmed but never sent");
    }
    Ports file;
    static const std::regex entry(R"(^[^,]*,[^,]*,MAIN,VIDEO,0,(\d+),\d+,(\d+),\d+,)");
    for (const std::string& line : Lines(folder / "data" / "TAV.IXT")) {
        std::smatch m;
        if (std::regex_search(line, m, entry)) {
            file.emplace_back(std::stoi(m[1]), std::stoi(m[2]));
        }
    }
    if (file != inForce) {
        report.failures.push_back("TAV.IXT holds " + Describe(file) + ", the boards were sent " +
                                  Describe(inForce));
    }
}

}  // namespace

SharedStressReport RunSharedStress(const SharedStressOptions& options) {
    SharedStressReport report;
    if (options.instances < 1 || options.instances > kMaxInstances) {
        report.failures.push_back("1 to " + std::to_string(kMaxInstances) + " workstations");
        return report;
    }
    if (ThreadCount() != 1) {
        report.failures.push_back("the process runs " + std::to_string(ThreadCount()) +
                                  " threads; forking it would copy locks other threads hold");
        return report;
    }
    fs::remove_all(options.folder);
    fs::create_directories(options.folder / "data");
    std::ofstream(options.folder / "data" / "TAV.SDF", std::ios::binary) << kSysDef;
    std::vector<pid_t> children;
    for (int i = 0; i < options.instances; ++i) {
        const pid_t child = ::fork();
        if (child == 0) {
            Workstation workstation(i, options);
            ::_exit(workstation.Run());
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
            report.failures.push_back("a workstation did not end by itself");
        }
    }
    for (const std::string& line : Lines(options.folder / "failures.log")) {
        report.failures.push_back(line);
    }
    for (const std::string& line : Lines(options.folder / "counts.log")) {
        std::istringstream in(line);
        Counts c;
        in >> c.tried >> c.confirmed >> c.waited >> c.readAgain >> c.stopped;
        report.tried += c.tried;
        report.confirmed += c.confirmed;
        report.waited += c.waited;
        report.readAgain += c.readAgain;
        report.stopped += c.stopped;
    }
    Judge(options.folder, report);
    return report;
}
