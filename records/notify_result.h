// What one board notification came to, board by board, so that it can be logged and audited.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/io_type.h"

namespace boards {

enum class BoardOutcome {
    Confirmed,      // reported exactly the data it was sent
    NoReport,       // its record never changed from what it held before the send
    FlagDiffers,    // reported, but the remap flag of the I/O type is not the one sent
    CrcDiffers,     // reported the flag sent, but another CRC
    StatusNotZero,  // reported the flag and CRC sent, with a nonzero status
    AlreadyHeld,    // held exactly this data before the send: its report cannot be told from none
};

const char* OutcomeText(BoardOutcome outcome);

struct BoardResult {
    std::uint16_t number = 0;
    std::string name;
    BoardOutcome outcome = BoardOutcome::NoReport;
    int partnerOf = -1;  // the board of the same name this one was told with; -1 for none
};

struct NotifyResult {
    bool sent = false;        // the socket library took the message
    bool aborted = false;     // the configuration set changed during the wait
    std::int64_t sentAt = 0;  // wall-clock second the send returned
    std::vector<BoardResult> boards;
    // Datagrams the Board Status Server refused at its status port while the boards were waited
    // for (not a report, or not from the board it names); unknown when it could not be asked.
    std::optional<std::uint32_t> reportsRefused;
};

// Board by board, how the notification ended, one line each in the message's order
// ("MAINVID, board 2, partner of board 0: no report"); first a line saying so when the message
// was never sent.
std::string NotifyDetail(const NotifyResult& result);

using BoardRecord = std::array<std::uint8_t, 8>;

// Why a board's current record is or is not the expected one, for data of I/O type io; before is
// what the board held when the message was sent.
BoardOutcome JudgeBoard(IoType io, const BoardRecord& before, const BoardRecord& expected,
                        const BoardRecord& current);

}  // namespace boards
