#include "boards/remap_data.h"

#include <algorithm>
#include <cstring>

namespace boards {

namespace {

void PutWord(std::uint8_t* at, int value) {
    at[0] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    at[1] = static_cast<std::uint8_t>(value & 0xFF);
}

// Appends one entry per port of the remap; false when the data would grow past maxEntries.
bool AppendPorts(std::vector<std::uint8_t>& data, std::size_t maxEntries, std::size_t row,
                 int origFirst, int newFirst, int newLast) {
    for (int k = 0; k <= newLast - newFirst; ++k) {
        if (data.size() / kRemapEntryBytes >= maxEntries) {
            return false;
        }
        std::uint8_t entry[kRemapEntryBytes] = {static_cast<std::uint8_t>(row & 0xFF), 0};
        PutWord(entry + 2, origFirst + k);
        PutWord(entry + 4, newFirst + k);
        data.insert(data.end(), entry, entry + kRemapEntryBytes);
    }
    return true;
}

}  // namespace

std::vector<unsigned> NotifyRowsOf(const RemapTable* table, std::size_t rowCount, int pendingRow,
                                   const std::vector<unsigned>& rowsInForce) {
    std::vector<bool> held(rowCount, false);
    bool any = false;
    const auto hold = [&](int row) {
        if (row >= 0 && static_cast<std::size_t>(row) < rowCount) {
            held[static_cast<std::size_t>(row)] = true;
            any = true;
        }
    };
    if (table != nullptr) {
        for (const auto& entry : *table) {
            hold(entry->m_nRow);
        }
    }
    hold(pendingRow);
    if (any) {
        for (unsigned row : rowsInForce) {
            hold(static_cast<int>(row));
        }
    }
    std::vector<unsigned> rows;
    for (std::size_t r = 0; r < rowCount; ++r) {
        if (held[r]) {
            rows.push_back(static_cast<unsigned>(r));
        }
    }
    return rows;
}

std::optional<std::vector<std::uint8_t>> RemapDataOf(const RemapTable* table, std::size_t rowCount,
                                                     const PendingRemap* pending,
                                                     std::size_t maxEntries) {
    std::vector<std::uint8_t> data;
    for (std::size_t r = 0; r < rowCount; ++r) {
        const std::size_t groupStart = data.size();
        if (table != nullptr) {
            for (const auto& e : *table) {
                if (e->m_nRow >= 0 && static_cast<std::size_t>(e->m_nRow) == r &&
                    !AppendPorts(data, maxEntries, r, e->m_nOrigFirst, e->m_nNewFirst,
                                 e->m_nNewLast)) {
                    return std::nullopt;
                }
            }
        }
        if (pending != nullptr && pending->row >= 0 &&
            static_cast<std::size_t>(pending->row) == r &&
            !AppendPorts(data, maxEntries, r, pending->origFirst, pending->newFirst,
                         pending->newLast)) {
            return std::nullopt;
        }
        if (data.size() > groupStart) {
            data[groupStart + 1] =
                static_cast<std::uint8_t>(((data.size() - groupStart) / kRemapEntryBytes) & 0xFF);
        }
    }
    return data;
}

void WriteRemapHeader(std::uint8_t* dest, const std::vector<NotifyBoard>& boards, int remapCount,
                      IoType io, std::uint16_t crc) {
    std::uint8_t* at = dest;
    std::memcpy(at, kRemapMarker, kAddressBytes);
    at += kAddressBytes;
    for (const NotifyBoard& board : boards) {
        std::memcpy(at, board.address.data(), kAddressBytes);
        at += kAddressBytes;
    }
    std::memset(at, 0, kAddressBytes);
    at += kAddressBytes;
    *at++ = static_cast<std::uint8_t>(remapCount & 0xFF);
    *at++ = io == IoType::Input ? 'I' : 'O';
    PutWord(at, crc);
}

}  // namespace boards
