// One row of the System Definition Table: a switcher level's port counts, board ranges and idle
// ranges.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct SysDefRecord {
    std::string m_strSwitcher;
    std::string m_strLevel;
    std::int32_t m_nInputs = 0;
    std::int32_t m_nOutputs = 0;
    std::int32_t m_nInRange = 0;   // ports per input board; 0 when not set
    std::int32_t m_nOutRange = 0;  // ports per output board; 0 when not set
    std::int32_t m_nIdleInRanges = 0;
    std::int32_t m_nIdleOutRanges = 0;
    // Idle range k is (start[k], count[k]); both arrays of a direction are present or absent.
    std::optional<std::vector<std::uint32_t>> m_pIdleInStart;
    std::optional<std::vector<std::uint32_t>> m_pIdleInCount;
    std::optional<std::vector<std::uint32_t>> m_pIdleOutStart;
    std::optional<std::vector<std::uint32_t>> m_pIdleOutCount;
};

// The table's rows in the order of the configured levels.
using SysDefTable = std::vector<std::unique_ptr<SysDefRecord>>;
