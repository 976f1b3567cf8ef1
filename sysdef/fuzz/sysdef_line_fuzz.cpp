// libFuzzer entry: whatever a System Definition line holds, reading it never reads out of bounds
// or overflows, and a record whose values fit the columns is written back as a line that reads
// as the same record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sysdef/sysdef_format.h"

namespace {

bool Same(const SysDefRecord& a, const SysDefRecord& b) {
    return a.m_strSwitcher == b.m_strSwitcher && a.m_strLevel == b.m_strLevel &&
           a.m_nInputs == b.m_nInputs && a.m_nOutputs == b.m_nOutputs &&
           a.m_nInRange == b.m_nInRange && a.m_nOutRange == b.m_nOutRange &&
           a.m_nIdleInRanges == b.m_nIdleInRanges && a.m_nIdleOutRanges == b.m_nIdleOutRanges &&
           a.m_pIdleInStart == b.m_pIdleInStart && a.m_pIdleInCount == b.m_pIdleInCount &&
           a.m_pIdleOutStart == b.m_pIdleOutStart && a.m_pIdleOutCount == b.m_pIdleOutCount;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    SysDefTable table;
    table.push_back(sysdef::ParseSysDefLine(line));
    if (!table.front()) {
        std::abort();
    }
    if (!sysdef::FindUnfitValue(table).empty()) {
        return 0;
    }
    const auto again = sysdef::ParseSysDefLine(sysdef::FormatSysDefLine(*table.front(), 0));
    if (!again || !Same(*again, *table.front())) {
        std::abort();
    }
    return 0;
}
