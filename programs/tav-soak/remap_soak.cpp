#include "programs/tav-soak/remap_soak.h"

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>

#include "platform/control/boards/board_simulator.h"
#include "platform/control/control.h"
#include "platform/fw/message_queue.h"
#include "programs/tav-soak/headless_tavora.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"
#include "views/remap_table_dlg.h"
#include "views/remap_table_grid.h"

namespace {

namespace fs = std::filesystem;

// Idle ports on every level, so that both I/O types have a new number to offer.
constexpr char kSysDef[] =
    "    MAIN   VIDEO 128  64 01616 2 1112 16100  4 48 16\n"
    "    MAIN  AUDIO1  64  64 1 8 8 1 0 56  8\n"
    "    MAIN  AUDIO2  64  32 2 0 0 0 1 30  2\n"
    "  STUDIO   VIDEO  32  32 31212 2 1  0 12 20 12 24  8\n"
    "  STUDIO      TC  16  16 4 4 4 1 1 12  4 12  4\n";

// Long enough for loopback datagrams on a loaded machine; a board that has not answered by then
// is a failure of the run, not a wait.
constexpr auto kSettleLimit = std::chrono::seconds(3);

// The simulated boards in step with the program's clock: at each new second everything sent to
// them has been taken, and every report they sent has reached the Board Status Server.
class SteppedBoards {
  public:
    explicit SteppedBoards(control::Config& config)
        : m_boards(control::SimulatedBoardsOf(config), control::BoardSimulatorOptions{}) {
        config.rebootPort = m_boards.Port();
        config.statusPort = 0;
    }
    bool Connect(std::string* error) {
        const std::uint16_t status = control::ConnectBoardNetwork(error);
        m_boards.SetStatusPort(status);
        m_reportsBefore = m_boards.GetCounts().reportsSent - control::BoardReportCount();
        return status != 0;
    }
    void Settle() {
        const auto deadline = std::chrono::steady_clock::now() + kSettleLimit;
        while (std::chrono::steady_clock::now() < deadline) {
            const auto counts = m_boards.GetCounts();
            // Reports are counted before the datagram that caused them.
            if (counts.received >= control::DatagramsSentTo(m_boards.Port()) &&
                control::BoardReportCount() + m_reportsBefore >= counts.reportsSent) {
                return;
            }
            m_boards.WaitFor(
                [&](const control::BoardSimulator::Counts& now) {
                    return now.received != counts.received || now.reportsSent != counts.reportsSent;
                },
                std::chrono::milliseconds(1));
        }
    }
    void Stop() { m_boards.Stop(); }

  private:
    control::BoardSimulator m_boards;
    std::uint64_t m_reportsBefore = 0;
};

void PressOk(fw::CWnd& window) {
    headless::Item(window, fw::IDOK).UserClick();
}

void Choose(CTavDlg& dlg, int id, const std::string& text) {
    fw::Control& list = headless::Item(dlg, id);
    list.UserSelect(list.FindStringExact(-1, text));
}

std::size_t Entries(CTavDlg& dlg, IoType io) {
    return dlg.Table(io) ? dlg.Table(io)->size() : 0;
}

// The Remap button for original port 5 of MAIN VIDEO to the first idle number, confirmed, the
// progress window closed when the wait is over.
std::string Remap(CTavDlg& dlg, headless::QueuedDriver& driver, IoType io) {
    headless::Item(dlg, io == IoType::Input ? IDC_INPUT : IDC_OUTPUT).UserClick();
    Choose(dlg, IDC_SWITCHER, "MAIN");
    Choose(dlg, IDC_LEVEL, "VIDEO");
    headless::Item(dlg, IDC_SINGLE).UserClick();
    headless::Item(dlg, IDC_ORIGINAL_NUMBER).UserType("5");
    headless::Item(dlg, IDC_NEW_NUMBER).UserSelect(0);
    driver.Then(PressOk);  // the confirmation
    driver.Then(PressOk);  // the progress window
    headless::Item(dlg, IDC_REMAP).UserClick();
    if (!driver.Exhausted() || Entries(dlg, io) != 1 || !dlg.BoardsResponded()) {
        return "the remap was not made and confirmed";
    }
    return {};
}

// The remap table view opened from the menu, its one row selected, Restore confirmed, the
// progress window closed, the view closed.
std::string Restore(CTavDlg& dlg, headless::QueuedDriver& driver, CTavApp& app, IoType io) {
    bool viewed = false;
    driver.Then([&viewed](fw::CWnd& window) {
        if (auto* view = dynamic_cast<CRemapTableDlg*>(&window)) {
            viewed = view->GetRowCount() == 1;
            view->GetGrid()->UserClickCell(1, 0);
            headless::Item(window, IDC_RESTORE).UserClick();
        }
    });
    driver.Then(PressOk);  // the question
    driver.Then(PressOk);  // the progress window
    driver.Then([](fw::CWnd& window) { window.UserClose(); });
    app.OnCmdMsg(io == IoType::Input ? ID_VIEW_INPUT_REMAP_TABLE : ID_VIEW_OUTPUT_REMAP_TABLE);
    if (!viewed || !driver.Exhausted() || Entries(dlg, io) != 0 || !dlg.BoardsResponded()) {
        return "the restore was not made and confirmed";
    }
    return {};
}

}  // namespace

SoakSample MeasureProcess() {
    SoakSample sample;
    std::ifstream statm("/proc/self/statm");
    std::size_t size = 0;
    std::size_t resident = 0;
    statm >> size >> resident;
    sample.rssKb = resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)) / 1024;
    const struct mallinfo2 heap = ::mallinfo2();
    sample.heapBytes = heap.uordblks + heap.hblkhd;
    std::error_code ec;
    for (const auto& fd : fs::directory_iterator("/proc/self/fd", ec)) {
        ++sample.fds;
        sample.sockets += fs::read_symlink(fd.path(), ec).string().rfind("socket:", 0) == 0;
    }
    sample.openFiles = control::OpenFileCount();
    sample.boardConnections = control::BoardConnectionCount();
    sample.clients = control::RegisteredClientCount();
    sample.windows = fw::CWnd::TopLevelWindows().size();
    return sample;
}

SoakReport RunRemapSoak(const SoakOptions& options) {
    SoakReport report;
    fs::create_directories(options.folder);
    std::ofstream(options.folder / "TAV.SDF", std::ios::binary) << kSysDef;
    HeadlessTavora tavora(options.folder);
    control::Config config = control::DefaultConfig();
    SteppedBoards boards(config);
    std::string error;
    if (!tavora.Start(config, &error) || !boards.Connect(&error) || !tavora.app->SetupSocket()) {
        report.failures.push_back(error.empty() ? "the socket sender could not start" : error);
        return report;
    }
    tavora.clock.SetSecondHook([&boards](std::int64_t) { boards.Settle(); });
    CTavDlg dlg;
    if (!dlg.Create(IDD_TAV_DIALOG)) {
        report.failures.push_back("the main dialog could not be created");
        return report;
    }
    tavora.app->m_pMainWnd = &dlg;
    auto sample = [&](int cycle) {
        // The transcript is the harness's record of what was shown, not the program's memory.
        tavora.backend.GetTranscript().Clear();
        SoakSample s = MeasureProcess();
        s.cycle = cycle;
        report.samples.push_back(s);
        if (options.onSample) {
            options.onSample(s);
        }
    };
    sample(0);
    for (int cycle = 1; cycle <= options.cycles && report.failures.empty(); ++cycle) {
        const IoType io = cycle % 2 == 0 ? IoType::Input : IoType::Output;
        std::string failure = Remap(dlg, tavora.driver, io);
        report.remaps += failure.empty();
        if (failure.empty()) {
            failure = Restore(dlg, tavora.driver, *tavora.app, io);
            report.restores += failure.empty();
        }
        if (!failure.empty()) {
            report.failures.push_back("cycle " + std::to_string(cycle) + ": " + failure);
        } else if (cycle % options.sampleEvery == 0) {
            sample(cycle);
        }
    }
    tavora.app->m_pMainWnd = nullptr;
    dlg.DestroyWindow();
    boards.Stop();
    return report;
}

std::vector<std::string> GrowthAfter(const std::vector<SoakSample>& samples, int warmUpCycle,
                                     std::size_t heapAllowance) {
    std::vector<std::string> grown;
    auto base = samples.begin();
    while (base != samples.end() && base->cycle < warmUpCycle) {
        ++base;
    }
    if (base == samples.end()) {
        return {"no sample after the warm-up"};
    }
    const std::pair<const char*, std::size_t SoakSample::*> counts[] = {
        {"descriptors", &SoakSample::fds},
        {"sockets", &SoakSample::sockets},
        {"open files", &SoakSample::openFiles},
        {"board connections", &SoakSample::boardConnections},
        {"registered clients", &SoakSample::clients},
        {"windows", &SoakSample::windows},
    };
    for (const auto& [name, field] : counts) {
        for (auto s = base; s != samples.end(); ++s) {
            if ((*s).*field != (*base).*field) {
                grown.push_back(std::string(name) + ": " + std::to_string((*base).*field) +
                                " at cycle " + std::to_string(base->cycle) + ", " +
                                std::to_string((*s).*field) + " at cycle " +
                                std::to_string(s->cycle));
                break;
            }
        }
    }
    // Compared by their least values: a buffer another thread holds for a moment (a 64 KB
    // datagram buffer) must not read as growth, while a leak raises the least value as well.
    const auto later = base + (samples.end() - base + 1) / 2;
    auto least = [](auto from, auto to) {
        return std::min_element(from, to,
                                [](const SoakSample& a, const SoakSample& b) {
                                    return a.heapBytes < b.heapBytes;
                                })
            ->heapBytes;
    };
    const std::size_t before = least(base, later);
    const std::size_t after = later == samples.end() ? before : least(later, samples.end());
    if (after > before + heapAllowance) {
        grown.push_back("heap: " + std::to_string(after - before) + " bytes more from cycle " +
                        std::to_string(later->cycle) + " on than from cycle " +
                        std::to_string(base->cycle));
    }
    return grown;
}
