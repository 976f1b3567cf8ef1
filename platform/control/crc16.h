// CRC-16/MODBUS (reflected 0xA001, start 0xFFFF, no final XOR): the CRC of the active set when the
// configuration does not give one. The same CRC the boards use, so there is one to know.
#pragma once

#include <cstdint>
#include <span>

namespace control {

std::uint16_t Crc16(std::span<const std::uint8_t> bytes);

}  // namespace control
