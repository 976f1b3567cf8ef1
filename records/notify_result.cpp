#include "records/notify_result.h"

#include "common/format.h"

namespace boards {

std::string NotifyDetail(const NotifyResult& result) {
    std::string detail = result.sent ? "" : "The message was not sent.\n";
    for (const BoardResult& board : result.boards) {
        const std::string partner =
            board.partnerOf >= 0 ? tav::Format(", partner of board %d", board.partnerOf) : "";
        detail +=
            tav::Format("%s, board %u%s: %s\n", board.name, static_cast<unsigned>(board.number),
                        partner, OutcomeText(board.outcome));
    }
    if (!detail.empty()) {
        detail.pop_back();
    }
    return detail;
}

const char* OutcomeText(BoardOutcome outcome) {
    switch (outcome) {
        case BoardOutcome::Confirmed:
            return "confirmed";
        case BoardOutcome::NoReport:
            return "no report";
        case BoardOutcome::FlagDiffers:
            return "flag differs";
        case BoardOutcome::CrcDiffers:
            return "CRC differs";
        case BoardOutcome::StatusNotZero:
            return "status not 0";
        case BoardOutcome::AlreadyHeld:
            return "held it already";
    }
    return "unknown";
}

BoardOutcome JudgeBoard(IoType io, const BoardRecord& before, const BoardRecord& expected,
                        const BoardRecord& current) {
    if (current == expected) {
        return BoardOutcome::Confirmed;
    }
    if (current == before) {
        return BoardOutcome::NoReport;
    }
    const std::size_t flag = io == IoType::Input ? 0 : 1;
    const std::size_t crc = io == IoType::Input ? 2 : 4;
    const std::size_t status = io == IoType::Input ? 6 : 7;
    if (current[flag] != expected[flag]) {
        return BoardOutcome::FlagDiffers;
    }
    if (current[crc] != expected[crc] || current[crc + 1] != expected[crc + 1]) {
        return BoardOutcome::CrcDiffers;
    }
    if (current[status] != expected[status]) {
        return BoardOutcome::StatusNotZero;
    }
    // Only bytes of the other I/O type changed: the board did not confirm this data.
    return BoardOutcome::NoReport;
}

}  // namespace boards
