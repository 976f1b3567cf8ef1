// The two datagrams between the Board Status Server and the router boards, besides the RE-MAP
// message (formats in README.md):
//   refresh request, server to boards: "BRD-RFSH", board (2 bytes, high first; 0xFFFF all)
//   report, board to server:           "BRD-INFO", board (2 bytes, high first), 8-byte record
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace control {

// A board's remap information as it reports it (the same type the Board Status Server keeps).
using BoardRecord = std::array<std::uint8_t, 8>;

inline constexpr std::uint16_t kRefreshAllBoards = 0xFFFF;

struct BoardReport {
    std::uint16_t board = 0;
    BoardRecord record{};
};

// A board number from the server's interface: -1 (all) becomes kRefreshAllBoards.
std::vector<std::uint8_t> EncodeRefreshRequest(std::int32_t board);
// The board asked for (kRefreshAllBoards for all), or nothing when the datagram is not exactly a
// refresh request.
std::optional<std::uint16_t> DecodeRefreshRequest(std::span<const std::uint8_t> bytes);
bool LooksLikeRefreshRequest(std::span<const std::uint8_t> bytes);

std::vector<std::uint8_t> EncodeBoardReport(const BoardReport& report);
std::optional<BoardReport> DecodeBoardReport(std::span<const std::uint8_t> bytes);

}  // namespace control
