// System Definition records and tables built in one line, and their fields for comparison.
#pragma once

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "records/sysdef_record.h"

namespace sysdeftest {

using Ranges = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

inline SysDefRecord Record(std::string switcher, std::string level, int inputs, int outputs,
                           int inRange = 0, int outRange = 0, const Ranges& idleIn = {},
                           const Ranges& idleOut = {}) {
    SysDefRecord r;
    r.m_strSwitcher = std::move(switcher);
    r.m_strLevel = std::move(level);
    r.m_nInputs = inputs;
    r.m_nOutputs = outputs;
    r.m_nInRange = inRange;
    r.m_nOutRange = outRange;
    // Both arrays of a direction are present when it has ranges, absent when it has none.
    auto set = [](const Ranges& ranges, std::int32_t& count, auto& starts, auto& lengths) {
        count = static_cast<std::int32_t>(ranges.size());
        if (!ranges.empty()) {
            starts.emplace();
            lengths.emplace();
        }
        for (const auto& [start, length] : ranges) {
            starts->push_back(start);
            lengths->push_back(length);
        }
    };
    set(idleIn, r.m_nIdleInRanges, r.m_pIdleInStart, r.m_pIdleInCount);
    set(idleOut, r.m_nIdleOutRanges, r.m_pIdleOutStart, r.m_pIdleOutCount);
    return r;
}

inline std::unique_ptr<SysDefTable> Table(std::initializer_list<SysDefRecord> records) {
    auto table = std::make_unique<SysDefTable>();
    for (const SysDefRecord& r : records) {
        table->push_back(std::make_unique<SysDefRecord>(r));
    }
    return table;
}

// Every field, so that EXPECT_EQ(Fields(a), Fields(b)) compares two records whole.
inline auto Fields(const SysDefRecord& r) {
    return std::tie(r.m_strSwitcher, r.m_strLevel, r.m_nInputs, r.m_nOutputs, r.m_nInRange,
                    r.m_nOutRange, r.m_nIdleInRanges, r.m_nIdleOutRanges, r.m_pIdleInStart,
                    r.m_pIdleInCount, r.m_pIdleOutStart, r.m_pIdleOutCount);
}

inline void ExpectSameTable(const SysDefTable& actual, const SysDefTable& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(Fields(*actual[i]), Fields(*expected[i])) << "row " << i;
    }
}

}  // namespace sysdeftest
