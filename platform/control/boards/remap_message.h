// The RE-MAP message as a router board sees it: "RE-MAP", the 6-byte addresses of the boards that
// must take the data, six 0 bytes, the entry count R, the I/O letter 'I' or 'O', the CRC-16 of the
// data (high byte first; 0 when R is 0) and R entries of 6 bytes. Boards receive it from the
// network, so the parser trusts nothing in it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace control {

inline constexpr std::size_t kBoardAddressSize = 6;
inline constexpr std::size_t kRemapEntrySize = 6;

using BoardAddress = std::array<std::uint8_t, kBoardAddressSize>;

struct RemapMessage {
    std::vector<BoardAddress> addresses;  // at least one
    char ioLetter = 'I';                  // 'I' input, 'O' output
    std::uint16_t crc = 0;                // as carried; checked against the data
    std::vector<std::uint8_t> data;       // count * kRemapEntrySize bytes

    std::size_t Count() const { return data.size() / kRemapEntrySize; }
    // 0 for input, 1 for output: the BoardInfo field pair the message updates.
    int IoIndex() const { return ioLetter == 'O' ? 1 : 0; }
};

struct RemapParseResult {
    std::optional<RemapMessage> message;  // set when the message is well formed
    std::string error;                    // why it is not, otherwise
};

RemapParseResult ParseRemapMessage(std::span<const std::uint8_t> bytes);

// The message a well-behaved sender builds (for tests, seeds and tools): the CRC field is the
// CRC-16 of the data, or 0 without data.
std::vector<std::uint8_t> BuildRemapMessage(const std::vector<BoardAddress>& addresses,
                                            char ioLetter, std::span<const std::uint8_t> data);

// "52 45 2D ..." for the log.
std::string HexBytes(std::span<const std::uint8_t> bytes);

}  // namespace control
