#include "boards/compute_crc16.h"

#include <array>

namespace {

// One entry per byte value: the byte shifted out eight times through the reflected polynomial,
// so the per-byte loop below does a single lookup instead of eight bit steps.
constexpr std::array<std::uint16_t, 256> MakeCrcTable() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned int i = 0; i < table.size(); ++i) {
        unsigned int value = i;
        for (int bit = 0; bit < 8; ++bit) {
            const bool carry = (value & 1U) != 0;
            value >>= 1;
            if (carry) {
                value ^= 0xA001U;
            }
        }
        table[i] = static_cast<std::uint16_t>(value);
    }
    return table;
}

constexpr std::array<std::uint16_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

std::uint16_t ComputeCrc16(const std::uint8_t* pData, unsigned int nBytes) {
    std::uint16_t crc = 0xFFFF;
    for (unsigned int i = 0; i < nBytes; ++i) {
        crc = static_cast<std::uint16_t>(kCrcTable[(pData[i] ^ crc) & 0xFFU] ^ (crc >> 8));
    }
    return crc;
}
