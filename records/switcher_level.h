// One configured logical level of a switcher, and a board's remap report.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class CSwitcherLevel {
  public:
    CSwitcherLevel(std::string switcher, std::string level, int index, int inputs, int outputs)
        : m_strSwitcher(std::move(switcher)),
          m_strLevel(std::move(level)),
          m_nIndex(index),
          m_nInputs(inputs),
          m_nOutputs(outputs) {}

    std::string m_strSwitcher;
    std::string m_strLevel;
    std::int32_t m_nIndex;
    std::int32_t m_nInputs;
    std::int32_t m_nOutputs;
};

// What a board reports about the remap data it holds: flags, CRCs (low byte first), statuses.
using BoardInfo = std::array<std::uint8_t, 8>;
