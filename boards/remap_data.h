// The RE-MAP message the router boards take: the rows whose boards are told, the remap data
// grouped by row, and the header naming the boards. Pure byte work, so that every byte can be
// checked without a network or a window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/io_type.h"
#include "records/remap_entry.h"

namespace boards {

inline constexpr std::size_t kAddressBytes = 6;       // the part of an address the message carries
inline constexpr std::size_t kRemapEntryBytes = 6;    // one port remap
inline constexpr std::size_t kHeaderFixedBytes = 16;  // "RE-MAP", end marker, count, type, CRC
inline constexpr char kRemapMarker[] = "RE-MAP";

// A remap not yet in the table, sent after its row's entries.
struct PendingRemap {
    int row = -1;
    int origFirst = 0;
    int origLast = 0;
    int newFirst = 0;
    int newLast = 0;
};

// A board the message names: its number in the Network Description Table, the name shown for
// it, and its address as the table gave it followed by one 0 byte. A board told together with
// the board of the same name names that board's number in partnerOf (-1 for any other board).
struct NotifyBoard {
    std::uint16_t number = 0;
    std::string name;
    std::vector<std::uint8_t> address;
    int partnerOf = -1;
};

// Bytes of a message naming `boards` boards and carrying `remaps` port remaps.
constexpr std::size_t RemapMessageLength(std::size_t boards, std::size_t remaps) {
    return kAddressBytes * (boards + 1) + 10 + kRemapEntryBytes * remaps;
}

// Row indices 0 .. rowCount - 1, ascending, that hold an entry of table, plus pendingRow when it
// is not -1, plus rowsInForce: rows whose boards may still hold entries of an earlier message,
// which must hear that their row has none now. Nothing at all when neither the table nor the
// pending remap holds an entry: data without entries goes to every board.
std::vector<unsigned> NotifyRowsOf(const RemapTable* table, std::size_t rowCount, int pendingRow,
                                   const std::vector<unsigned>& rowsInForce = {});

// The remap data, one 6-byte entry per port, grouped by row in ascending order, the pending remap
// (when given) last in its row's group. Nothing when it would hold more than maxEntries entries,
// so a table that disagrees with the count it was sized for is never written past its buffer.
std::optional<std::vector<std::uint8_t>> RemapDataOf(const RemapTable* table, std::size_t rowCount,
                                                     const PendingRemap* pending,
                                                     std::size_t maxEntries);

// Writes the message from offset 0 up to the remap data: the marker, the first 6 bytes of each
// address, six 0 bytes, the count's low byte, "I" or "O", the CRC high byte first. dest holds
// RemapMessageLength(addresses.size(), 0) bytes at least; every address at least 6.
void WriteRemapHeader(std::uint8_t* dest, const std::vector<NotifyBoard>& boards, int remapCount,
                      IoType io, std::uint16_t crc);

}  // namespace boards
