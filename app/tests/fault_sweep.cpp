#include "app/tests/fault_sweep.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/com/runtime.h"
#include "platform/com/task_memory.h"
#include "platform/fw/message_queue.h"
#include "res/resource.h"

namespace apptest {

void SweepDriver::Idle(fw::CWnd& modalWindow) {
    m_sweep.OnIdle(modalWindow);
}

int SweepDriver::AnswerMessageBox(const fw::MessageBoxRequest& request) {
    return m_sweep.OnBox(request);
}

void FaultSweep::Arm() {
    m_outcome.before = ReadFiles();
    if (!m_point) {
        control::StartCallTrace();
    } else if (m_point->component == kComLibrary) {
        (m_point->operation == "CoInitialize" ? com::SetCoInitializeFailure
                                              : com::SetCoInitializeSecurityFailure)(m_point->hr);
    } else {
        control::InjectFault(control::Fault(
            *control::ComponentFromKey(m_point->component), m_point->operation, m_point->hr,
            m_point->after, m_point->times, "sweep fault at " + m_point->Describe()));
        if (m_point->undescribed) {
            control::InjectFault(control::Fault(*control::ComponentFromKey(m_point->component),
                                                "GetErrorDescription", com::E_FAIL));
        }
    }
}

void FaultSweep::OnIdle(fw::CWnd& window) {
    auto* dialog = dynamic_cast<fw::CDialog*>(&window);
    if (dialog == nullptr || ++m_idles > 400) {
        throw std::runtime_error("stuck in window " + headless::DescribeWindow(window));
    }
    const int id = dialog->TemplateId();
    const int visit = m_visits[id]++;
    auto click = [dialog](int control) { headless::Item(*dialog, control).UserClick(); };
    if (id == IDD_ERROR) {
        m_outcome.shown.push_back("error: " + dialog->GetDlgItemText(IDC_ERROR_MESSAGE) + " | " +
                                  dialog->GetDlgItemText(IDC_ERROR_DETAIL));
        click(fw::IDOK);
    } else if (id == IDD_TAV_DIALOG) {
        if (visit == 0 && m_flow->action) {
            Arm();
            m_flow->action(*this, *Main());
            if (!m_point) {
                m_outcome.trace = control::TakeCallTrace();
            }
        } else {
            click(IDC_CLOSE);
        }
    } else if (const auto step = m_flow->windows.find(id); step != m_flow->windows.end()) {
        step->second(*dialog, visit);
    } else if (id == IDD_REMAP_CONFIRM || id == IDD_RESTORE_CONFIRM || id == IDD_SEND_REMAP_DATA) {
        click(fw::IDOK);
    } else {
        m_outcome.shown.push_back("window: " + headless::DescribeWindow(window));
        dialog->UserPressEscape();
    }
}

int FaultSweep::OnBox(const fw::MessageBoxRequest& request) {
    m_outcome.shown.push_back("box: " + request.text);
    switch (request.type & fw::MB_TYPEMASK) {
        case fw::MB_OK:
            return fw::IDOK;
        case fw::MB_YESNO:
            // Save As over an existing copy is what the flow asks for; anything else is declined.
            return request.text.find("Replace existing file?") != std::string::npos ? fw::IDYES
                                                                                    : fw::IDNO;
        default:
            return fw::IDCANCEL;
    }
}

// The boards: each refresh request is answered with what each chosen board took from the last
// RE-MAP message, as well-behaved boards would report it.
void FaultSweep::Answer() {
    while (auto datagram = m_boards.TryReceive()) {
        m_lastMessage = datagram->bytes;
    }
    CTavDlg* main = Main();
    if (main == nullptr) {
        return;
    }
    const auto& chosen = main->NotifyBoardList();
    if (m_lastMessage.size() < 16 + 6 * chosen.size()) {
        return;
    }
    const std::size_t at = 12 + 6 * chosen.size();
    const int io = m_lastMessage[at + 1] == 'I' ? 0 : 1;
    for (const auto& board : chosen) {
        const BoardInfo* held = app->GetBoardInfo(board.number);
        if (held == nullptr) {
            continue;
        }
        std::array<std::uint8_t, 8> record = *held;
        record[io] = m_lastMessage[at] > 0 ? 1 : 0;
        record[2 + 2 * io] = m_lastMessage[at + 3];
        record[3 + 2 * io] = m_lastMessage[at + 2];
        record[6 + io] = 0;
        control::AcceptBoardReport(board.number, record);
    }
}

Files FaultSweep::ReadFiles() const {
    Files files;
    for (const auto& entry : std::filesystem::directory_iterator(dir / "data")) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        files[entry.path().filename().string()] = text.str();
    }
    return files;
}

Outcome FaultSweep::Run(const Flow& flow, const std::optional<Point>& point) {
    m_flow = &flow;
    m_point = point;
    m_outcome = {};
    m_visits.clear();
    m_idles = 0;
    m_lastMessage.clear();
    control::ResetSimulation();
    fw::TheMessageQueue().Clear();
    std::filesystem::remove_all(dir / "data");
    std::filesystem::create_directories(dir / "data");
    for (const auto& [name, content] : flow.files) {
        Put(name, content);
    }
    m_clock = std::make_unique<fw::ManualClock>();
    fw::InstallClock(m_clock.get());

    control::Config config = control::DefaultConfig();
    config.activeSetCrc = kSweepCrc;
    config.rebootPort = m_boards.LocalPort();
    config.statusPort = 0;
    control::StartSimulation(std::move(config));
    control::SetBoardRefreshHandler([this](std::int32_t) { Answer(); });
    if (!flow.action) {
        Arm();
    }
    try {
        app = std::make_unique<CTavApp>("tavora");
        app->Run();
    } catch (const std::exception& e) {
        m_outcome.failure = std::string("exception: ") + e.what();
    }
    if (!flow.action && !point) {
        m_outcome.trace = control::TakeCallTrace();
    }
    for (fw::CWnd* window : fw::CWnd::TopLevelWindows()) {
        ++m_outcome.windowsLeft;
        window->DestroyWindow();
    }
    app.reset();
    fw::TheMessageQueue().Clear();
    m_outcome.openFiles = control::OpenFileCount();
    m_outcome.clients = control::RegisteredClientCount();
    m_outcome.boardConnections = control::BoardConnectionCount();
    m_outcome.taskBlocks = com::TaskMemLiveBlocks();
    m_outcome.files = ReadFiles();
    control::ResetSimulation();
    return m_outcome;
}

}  // namespace apptest
