#include "platform/control/boards/board_wire.h"

#include <algorithm>
#include <string_view>

namespace control {

namespace {

constexpr std::string_view kRefreshTag = "BRD-RFSH";
constexpr std::string_view kReportTag = "BRD-INFO";
constexpr std::size_t kRefreshSize = kRefreshTag.size() + 2;
constexpr std::size_t kReportSize = kReportTag.size() + 2 + std::tuple_size_v<BoardRecord>;

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view tag) {
    return bytes.size() >= tag.size() && std::equal(tag.begin(), tag.end(), bytes.begin());
}

std::vector<std::uint8_t> Tagged(std::string_view tag, std::uint16_t board) {
    std::vector<std::uint8_t> bytes(tag.begin(), tag.end());
    bytes.push_back(static_cast<std::uint8_t>(board >> 8));
    bytes.push_back(static_cast<std::uint8_t>(board & 0xFF));
    return bytes;
}

std::uint16_t BoardAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>((bytes[offset] << 8) | bytes[offset + 1]);
}

}  // namespace

std::vector<std::uint8_t> EncodeRefreshRequest(std::int32_t board) {
    const bool all = board < 0 || board >= kRefreshAllBoards;
    return Tagged(kRefreshTag, all ? kRefreshAllBoards : static_cast<std::uint16_t>(board));
}

bool LooksLikeRefreshRequest(std::span<const std::uint8_t> bytes) {
    return StartsWith(bytes, kRefreshTag);
}

std::optional<std::uint16_t> DecodeRefreshRequest(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kRefreshSize || !StartsWith(bytes, kRefreshTag)) {
        return std::nullopt;
    }
    return BoardAt(bytes, kRefreshTag.size());
}

std::vector<std::uint8_t> EncodeBoardReport(const BoardReport& report) {
    std::vector<std::uint8_t> bytes = Tagged(kReportTag, report.board);
    bytes.insert(bytes.end(), report.record.begin(), report.record.end());
    return bytes;
}

std::optional<BoardReport> DecodeBoardReport(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kReportSize || !StartsWith(bytes, kReportTag)) {
        return std::nullopt;
    }
    BoardReport report;
    report.board = BoardAt(bytes, kReportTag.size());
    std::copy_n(bytes.begin() + kReportTag.size() + 2, report.record.size(), report.record.begin());
    return report;
}

}  // namespace control
