// libFuzzer entry: whatever a remap table line holds, the reader either refuses it or gives an
// entry whose numbers the table can hold, and which reads back the same once written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "remap/remap_line.h"

namespace {

bool InRange(std::int32_t value, std::int32_t most) {
    return value >= 0 && value <= most;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    const auto entry = ParseRemapLine(line);
    if (!entry) {
        return 0;
    }
    if (!InRange(entry->m_nRow, 99) || !InRange(entry->m_nOrigFirst, 9999) ||
        !InRange(entry->m_nOrigLast, 9999) || !InRange(entry->m_nNewFirst, 9999) ||
        !InRange(entry->m_nNewLast, 9999)) {
        std::abort();
    }
    (void)entry->PortCount();
    const auto again = ParseRemapLine(FormatRemapLine(*entry));
    if (!again || again->m_nRow != entry->m_nRow || again->m_nOrigFirst != entry->m_nOrigFirst ||
        again->m_nOrigLast != entry->m_nOrigLast || again->m_nNewFirst != entry->m_nNewFirst ||
        again->m_nNewLast != entry->m_nNewLast || again->m_strSwitcher != entry->m_strSwitcher ||
        again->m_strLevel != entry->m_strLevel || again->m_strTime != entry->m_strTime ||
        again->m_strDate != entry->m_strDate) {
        std::abort();
    }
    return 0;
}
