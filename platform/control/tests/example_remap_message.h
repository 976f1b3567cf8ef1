// The example RE-MAP message several tests send or expect, byte for byte: one chosen board
// (02 00 00 00 00 01), input, one remap in row 3 from port 5 to port 120.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace control::testing {

inline const std::vector<std::uint8_t> kExampleRemapMessage = {
    0x52, 0x45, 0x2D, 0x4D, 0x41, 0x50,  // "RE-MAP"
    0x02, 0x00, 0x00, 0x00, 0x00, 0x01,  // the chosen board's address
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // the end of the address list
    0x01,                                // one remap entry
    0x49,                                // 'I': inputs
    0xCB, 0x2D,                          // CRC-16/MODBUS of the data, high byte first
    0x03, 0x01, 0x00, 0x05, 0x00, 0x78,  // row 3, one entry in its group, port 5 to port 120
};
// Where its entry count sits, just after the address list.
inline constexpr std::size_t kExampleEntryCountAt = 18;

}  // namespace control::testing
