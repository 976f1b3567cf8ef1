#include "programs/tav-scenario/scenario_boards.h"

#include <chrono>
#include <iostream>

#include "platform/control/control.h"
#include "platform/control/udp_socket.h"

namespace {

using namespace std::chrono_literals;

// Loopback datagrams and the threads that take them need far less than this; a quiet spell
// this long means everything sent has been handled.
constexpr auto kQuiet = 50ms;
constexpr auto kSettleLimit = 3s;

headless::ScriptFailure Bad(const headless::ScriptLine& line, const std::string& why) {
    return headless::ScriptFailure("line " + std::to_string(line.number) + ": " + why);
}

std::int64_t Number(const headless::ScriptLine& line, std::size_t index) {
    try {
        return std::stoll(line.words.at(index));
    } catch (const std::exception&) {
        throw Bad(line, "a number is needed at word " + std::to_string(index + 1));
    }
}

// A board's remap data as "row:original>new" per port, in the message's order; "none" for data
// without entries, "nothing" when the board never took any.
std::string DescribeHeld(const std::optional<std::vector<std::uint8_t>>& data) {
    if (!data) {
        return "nothing";
    }
    std::string text;
    for (std::size_t at = 0; at + 6 <= data->size(); at += 6) {
        const auto* e = data->data() + at;
        text += (text.empty() ? "" : " ") + std::to_string(e[0]) + ":" +
                std::to_string((e[2] << 8) | e[3]) + ">" + std::to_string((e[4] << 8) | e[5]);
    }
    return text.empty() ? "none" : text;
}

}  // namespace

bool ScenarioBoards::CheckLine(const headless::ScriptLine& line) {
    const auto& w = line.words;
    if (w[0] == "expect-sent" || w[0] == "expect-sent-count") {
        CheckSent(line);
        return true;
    }
    if (w[0] != "expect-board") {
        return false;
    }
    if (w.size() != 4 || (w[2] != "input" && w[2] != "output")) {
        throw Bad(line, "expect-board N input|output \"ROW:ORIG>NEW ...\"");
    }
    if (!m_simulator) {
        throw Bad(line, "no boards are simulated");
    }
    Settle();
    const auto board = static_cast<std::uint16_t>(Number(line, 1));
    const std::string held = DescribeHeld(m_simulator->HeldData(board, w[2] == "input" ? 0 : 1));
    if (held != w[3]) {
        throw Bad(line, "board " + w[1] + " holds " + w[2] + " data \"" + held + "\"");
    }
    return true;
}

// expect-sent input|output "ROW:ORIG>NEW ..."|none: the latest RE-MAP message the witness took
// is of that I/O type and carries exactly this remap data. expect-sent-count N: the witness took
// N RE-MAP messages.
void ScenarioBoards::CheckSent(const headless::ScriptLine& line) {
    const auto& w = line.words;
    if (!m_witness) {
        throw Bad(line, w[0] + " needs the set-up line witness");
    }
    Settle();
    const auto messages = m_witness->Messages();
    if (w[0] == "expect-sent-count") {
        if (w.size() != 2 || std::to_string(messages.size()) != w[1]) {
            throw Bad(line, std::to_string(messages.size()) + " RE-MAP messages were sent");
        }
        return;
    }
    if (w.size() != 3 || (w[1] != "input" && w[1] != "output")) {
        throw Bad(line, "expect-sent input|output \"ROW:ORIG>NEW ...\"");
    }
    if (messages.empty()) {
        throw Bad(line, "no RE-MAP message was sent");
    }
    char io = 0;
    std::string problem;
    const std::string data = Witness::Describe(messages.back(), io, problem);
    if (!problem.empty()) {
        throw Bad(line, "the latest RE-MAP message is malformed: " + problem);
    }
    if (io != (w[1] == "input" ? 'I' : 'O') || data != w[2]) {
        throw Bad(line, std::string("the latest RE-MAP message carries ") +
                            (io == 'I' ? "input" : "output") + " data \"" + data + "\"");
    }
}

bool ScenarioBoards::TakeSetUpLine(const headless::ScriptLine& line) {
    const auto& w = line.words;
    if (w[0] == "witness" && w.size() == 1) {
        m_witnessWanted = true;
        return true;
    }
    if (w[0] == "config-change-after-send" && w.size() == 2) {
        m_configChangeAfter = Number(line, 1);
        return true;
    }
    if (w[0] == "send-fails" && w.size() == 1) {
        m_sendFails = true;
        return true;
    }
    if (w[0] != "board") {
        return false;
    }
    if (w.size() < 3) {
        throw Bad(line, "board needs a board number and a behaviour");
    }
    const auto board = static_cast<std::uint16_t>(Number(line, 1));
    if (w[2] == "answers-after" && w.size() == 4) {
        m_late.push_back({board, Number(line, 3), std::nullopt});
        m_behaviours.emplace_back(board, control::BoardBehaviour::Silent());
        return true;
    }
    const auto kind = control::BehaviourFromName(w[2]);
    if (!kind || *kind == control::BoardBehaviour::Kind::Delayed || w.size() != 3) {
        throw Bad(line, "board behaviours: normal, silent, wrongCrc, badStatus, answers-after S");
    }
    m_behaviours.emplace_back(board, control::BoardBehaviour{*kind, {}});
    return true;
}

void ScenarioBoards::Prepare(control::Config& config) {
    auto boards = control::SimulatedBoardsOf(config);
    for (const auto& [number, behaviour] : m_behaviours) {
        if (number >= boards.size()) {
            throw headless::ScriptFailure("board " + std::to_string(number) +
                                          " is not in the configuration");
        }
        boards[number].behaviour = behaviour;
    }
    m_simulator = std::make_unique<control::BoardSimulator>(std::move(boards),
                                                            control::BoardSimulatorOptions{});
    if (m_witnessWanted) {
        m_witness = std::make_unique<Witness>(m_simulator->Port());
    }
    // Port 0 is one the socket library refuses to send to.
    config.rebootPort = m_sendFails ? 0 : m_simulator->Port();
    if (m_witness && !m_sendFails) {
        SendThroughWitness(config, *m_witness, m_simulator->Port());
    }
    config.statusPort = 0;
}

void ScenarioBoards::Connect() {
    std::string error;
    const std::uint16_t status = control::ConnectBoardNetwork(&error);
    if (status == 0) {
        throw headless::ScriptFailure("the board network cannot be connected: " + error);
    }
    m_simulator->SetStatusPort(status);
    m_reportsBefore = m_simulator->GetCounts().reportsSent - control::BoardReportCount();
}

void ScenarioBoards::Settle() {
    const auto start = std::chrono::steady_clock::now();
    auto seen = m_simulator->GetCounts();
    while (std::chrono::steady_clock::now() - start < kSettleLimit) {
        const bool changed = m_simulator->WaitFor(
            [&](const control::BoardSimulator::Counts& c) {
                return c.received != seen.received || c.reportsSent != seen.reportsSent;
            },
            kQuiet);
        // Quiet boards are not enough on a busy machine: the boards must have taken every
        // datagram sent to them, and the Board Status Server every report they sent.
        const auto counts = m_simulator->GetCounts();
        if (!changed && (!m_witness || m_witness->CaughtUp()) &&
            counts.received >= control::DatagramsSentTo(m_simulator->Port()) &&
            control::BoardReportCount() + m_reportsBefore >= counts.reportsSent) {
            return;
        }
        seen = m_simulator->GetCounts();
    }
}

void ScenarioBoards::OnSecond(std::int64_t now) {
    if (!m_simulator) {
        return;
    }
    Settle();
    if (!m_firstMessageAt && m_simulator->GetCounts().accepted > 0) {
        m_firstMessageAt = now;
    }
    for (Late& late : m_late) {
        if (!late.tookAt &&
            (m_simulator->HeldData(late.board, 0) || m_simulator->HeldData(late.board, 1))) {
            late.tookAt = now;
        }
        if (late.tookAt && now - *late.tookAt == late.seconds) {
            m_simulator->SetBehaviour(late.board, control::BoardBehaviour::Normal());
        }
    }
    if (m_configChangeAfter && m_firstMessageAt && !m_configChanged &&
        now - *m_firstMessageAt >= *m_configChangeAfter) {
        m_configChanged = true;
        control::AnnounceConfigSetChanging();
    }
}

void ScenarioBoards::Stop() {
    m_witness.reset();
    if (m_simulator) {
        m_simulator->Stop();
    }
}
