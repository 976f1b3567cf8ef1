// The fault sweep's harness: a flow of the program run headless from a fixed start on the
// simulated control system, with boards that answer, a driver that plays the operator, and one
// chosen component call failing; what the run showed and left behind comes back as an Outcome.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/tests/app_fixture.h"
#include "platform/control/control.h"
#include "platform/control/udp_socket.h"
#include "remap/tav_dlg.h"

namespace apptest {

using Files = std::map<std::string, std::string>;

// The active set's CRC every flow runs under.
inline constexpr std::uint16_t kSweepCrc = 4660;

// The pseudo-component of the COM library calls, which the start-up makes before any component.
inline constexpr char kComLibrary[] = "COM";

class FaultSweep;
using WindowStep = std::function<void(fw::CDialog&, int visit)>;

struct Flow {
    std::string name;
    Files files;                                        // the data folder before the flow
    std::function<void(FaultSweep&, CTavDlg&)> action;  // on the main dialog; none: start-up
    std::map<int, WindowStep> windows;                  // by template: what the operator does there
    std::string appendedRecord;                         // a remap's journal line may stay appended
    std::function<std::string(FaultSweep&)> checkClean;  // "" when the clean run did its work
};

// One sweep point: a component call, or a COM library call of the start-up, and how it fails.
struct Point {
    std::string component;  // a component key, or kComLibrary
    std::string operation;
    std::uint32_t after = 0;
    com::HRESULT hr = com::E_FAIL;
    std::int32_t times = 1;    // -1: this call and every later one
    bool undescribed = false;  // the component cannot describe the failure either
    std::string Describe() const {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
        return component + "." + operation + " #" + std::to_string(after + 1) + " (" + code +
               (times < 0 ? ", from then on" : "") + (undescribed ? ", no description" : "") + ")";
    }
};

struct Outcome {
    std::vector<std::string> shown;  // "box: ..." and "error: <message> | <detail>"
    std::string failure;             // what went wrong with the run itself
    Files before;  // the data folder when the flow began (after the start-up, for a command)
    Files files;   // and when the program had ended
    std::vector<control::ComponentCall> trace;
    std::size_t openFiles = 0;
    std::size_t clients = 0;
    std::size_t boardConnections = 0;
    std::size_t taskBlocks = 0;
    std::size_t windowsLeft = 0;
};

class SweepDriver final : public headless::Driver {
  public:
    explicit SweepDriver(FaultSweep& sweep) : m_sweep(sweep) {}
    void Idle(fw::CWnd& modalWindow) override;
    int AnswerMessageBox(const fw::MessageBoxRequest& request) override;
    int AnswerPrintDialog(fw::PrintDialogRequest& request) override {
        request.pd->settings = {};
        return fw::IDOK;
    }

  private:
    FaultSweep& m_sweep;
};

class FaultSweep : public AppTest {
  public:
    FaultSweep() { fw::InstallBackend(&m_backend); }

    // Runs the flow from its start: cleanly, recording its component calls, or with the point's
    // call failing as the point says.
    Outcome Run(const Flow& flow, const std::optional<Point>& point);

    void OnIdle(fw::CWnd& window);
    int OnBox(const fw::MessageBoxRequest& request);
    CTavDlg* Main() { return app ? app->GetMainDlg() : nullptr; }
    bool Clean() const { return !m_point; }
    // A fault the flow's own checks found in the run.
    void Note(const std::string& fault) { m_outcome.failure += fault; }
    const headless::HeadlessBackend& Backend() const { return m_backend; }
    std::string File(const std::string& name) { return Get(name); }

  private:
    void Arm();
    void Answer();
    Files ReadFiles() const;

    SweepDriver m_driver{*this};
    headless::HeadlessBackend m_backend{m_driver};
    std::unique_ptr<fw::ManualClock> m_clock;
    control::UdpSocket m_boards = control::UdpSocket::BindLoopback(0);
    std::vector<std::uint8_t> m_lastMessage;

    const Flow* m_flow = nullptr;
    std::optional<Point> m_point;
    Outcome m_outcome;
    std::map<int, int> m_visits;
    int m_idles = 0;
};

}  // namespace apptest
