// The router boards of a scenario: the board simulator embedded in the player on ports the
// system chooses, with board behaviours and timed events taken from set-up lines, kept in step
// with the program's clock (which runs far faster than real time).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/control/boards/board_simulator.h"
#include "platform/control/configuration/config.h"
#include "platform/headless/scenario_driver.h"
#include "programs/tav-scenario/witness.h"

class ScenarioBoards {
  public:
    // Takes a set-up line it knows (board ..., config-change-after-send, send-fails, witness);
    // false otherwise.
    // Throws headless::ScriptFailure for a malformed one.
    bool TakeSetUpLine(const headless::ScriptLine& line);

    // Before the simulation starts: the boards listen on a port of their own, which becomes the
    // configuration's reboot port; reports go to a status port the system chooses.
    void Prepare(control::Config& config);
    // After the simulation has started: connects the Board Status Server's end.
    void Connect();
    // Called at every new second of the program's clock while the program sleeps: lets the
    // boards' datagrams settle in real time, then applies what is due at that second.
    void OnSecond(std::int64_t now);
    void Stop();
    // Takes an expectation about the boards (expect-board) or about what the witness saw sent
    // (expect-sent); false for any other line. Throws headless::ScriptFailure when the
    // expectation does not hold.
    bool CheckLine(const headless::ScriptLine& line);

  private:
    struct Late {
        std::uint16_t board;
        std::int64_t seconds;
        std::optional<std::int64_t> tookAt;
    };
    void Settle();
    void CheckSent(const headless::ScriptLine& line);

    std::vector<std::pair<std::uint16_t, control::BoardBehaviour>> m_behaviours;
    std::vector<Late> m_late;
    std::optional<std::int64_t> m_configChangeAfter;
    std::optional<std::int64_t> m_firstMessageAt;
    bool m_configChanged = false;
    bool m_sendFails = false;
    bool m_witnessWanted = false;
    std::unique_ptr<control::BoardSimulator> m_simulator;
    std::unique_ptr<Witness> m_witness;  // in front of the boards when the script asks
    std::uint64_t m_reportsBefore = 0;   // sent by the boards, less those the server took
};
