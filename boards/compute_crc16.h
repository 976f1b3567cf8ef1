// The CRC-16 that the router boards check the remap data against (CRC-16/MODBUS: reflected
// polynomial 0xA001, initial value 0xFFFF, no final XOR). The RE-MAP message carries it high byte
// first; a board reports it low byte first.
#pragma once

#include <cstdint>

std::uint16_t ComputeCrc16(const std::uint8_t* pData, unsigned int nBytes);
