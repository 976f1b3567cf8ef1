#include "sysdef/sysdef_print.h"

#include <algorithm>
#include <cstring>

#include "common/format.h"
#include "print/print_pages.h"
#include "sysdef/sysdef_dlg.h"

namespace {

// The idle ranges of one direction as "(start,length) " pieces. A count larger than the arrays
// hold prints what the arrays hold.
std::string FormatIdleRanges(std::int32_t count,
                             const std::optional<std::vector<std::uint32_t>>& starts,
                             const std::optional<std::vector<std::uint32_t>>& lengths) {
    std::string text;
    if (!starts || !lengths || count <= 0) {
        return text;
    }
    const std::size_t n =
        std::min({static_cast<std::size_t>(count), starts->size(), lengths->size()});
    for (std::size_t k = 0; k < n; ++k) {
        text += tav::Format("(%d,%d) ", static_cast<int>((*starts)[k]),
                            static_cast<int>((*lengths)[k]));
    }
    return text;
}

constexpr char kIdleHeading[] = "Idle Ranges (start, length)";

}  // namespace

std::string FormatSysDefPrintHeader() {
    return tav::Format("%8s %8s %3s %3s %4s %6s %7s %s", "Router", "Level", "In", "Out", "Lvl#",
                       "In Rng", "Out Rng", kIdleHeading);
}

std::string FormatPrintLine(const SysDefRecord& record, int i) {
    std::string line =
        tav::Format("%8s %8s %3d %3d %4d %6d %7d ", record.m_strSwitcher, record.m_strLevel,
                    record.m_nInputs, record.m_nOutputs, i, record.m_nInRange, record.m_nOutRange);
    if (record.m_nIdleInRanges != 0) {
        line += "In" + FormatIdleRanges(record.m_nIdleInRanges, record.m_pIdleInStart,
                                        record.m_pIdleInCount);
    }
    if (record.m_nIdleOutRanges != 0) {
        line += "Out" + FormatIdleRanges(record.m_nIdleOutRanges, record.m_pIdleOutStart,
                                         record.m_pIdleOutCount);
    }
    return line;
}

void PrintSysDefTable(const SysDefTable& table, int rows) {
    TextPrintout printout;
    printout.docName = nullptr;
    printout.maxPage = static_cast<fw::WORD>(std::max(rows, 0) / kSysDefLinesPerPage + 1);
    printout.linesPerPage = kSysDefLinesPerPage;
    printout.header = FormatSysDefPrintHeader();
    // Up to 99 idle ranges each way: they continue under their heading.
    printout.continueColumn = printout.header.size() - std::strlen(kIdleHeading);
    const int count = std::clamp(rows, 0, static_cast<int>(table.size()));
    for (int i = 0; i < count; ++i) {
        printout.lines.push_back(table[static_cast<std::size_t>(i)]
                                     ? FormatPrintLine(*table[static_cast<std::size_t>(i)], i)
                                     : std::string());
    }
    PrintTextPages(printout);
}

std::string CSysDefDlg::FormatPrintLine(int i) const {
    if (m_pTable == nullptr || i < 0 || static_cast<std::size_t>(i) >= m_pTable->size() ||
        !(*m_pTable)[static_cast<std::size_t>(i)]) {
        return {};
    }
    return ::FormatPrintLine(*(*m_pTable)[static_cast<std::size_t>(i)], i);
}

void CSysDefDlg::OnPrint() {
    // The records are printed, not the grid: ranges typed but not yet taken into the records
    // print with their earlier values.
    static const SysDefTable kNone;
    PrintSysDefTable(m_pTable != nullptr ? *m_pTable : kNone, m_nRows);
}
