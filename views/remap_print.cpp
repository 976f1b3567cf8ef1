#include "views/remap_print.h"

#include <cstring>

#include "common/format.h"
#include "platform/fw/app.h"
#include "print/print_pages.h"
#include "remap/tav_dlg.h"

namespace {

constexpr char kCommentHeading[] = "Comment";

}  // namespace

std::string FormatRemapPrintHeader() {
    return tav::Format("%-8s%18s%9s%9s%5s%5s %s", "Time", "Date        ", "Router", "Level", "Orig",
                       "Rmap", kCommentHeading);
}

std::string FormatRemapPrintLine(const CRemapEntry& entry, int k) {
    return tav::Format("%8s%18s%9s%9s%5d%5d %s", entry.m_strTime, entry.m_strDate,
                       entry.m_strSwitcher, entry.m_strLevel, entry.m_nOrigFirst + k,
                       entry.m_nNewFirst + k, k == 0 ? entry.m_strComment : std::string());
}

int RemapPrintLineCount(const CRemapEntry& entry) {
    // The walk draws a line before it looks at the entry's last port, so even an entry whose
    // range is reversed prints one.
    return entry.m_nOrigLast > entry.m_nOrigFirst ? entry.m_nOrigLast - entry.m_nOrigFirst + 1 : 1;
}

std::string CTavDlg::FormatRemapPrintLine(IoType nIOType, int nEntry, int k) const {
    const RemapTable* table = Table(nIOType);
    if (!table || nEntry < 0 || static_cast<std::size_t>(nEntry) >= table->size()) {
        return " ";
    }
    return ::FormatRemapPrintLine(*(*table)[static_cast<std::size_t>(nEntry)], k);
}

void CTavDlg::PrintRemapTable(IoType nIOType) {
    const std::unique_ptr<RemapTable>& table = Table(nIOType);
    if (!table) {
        fw::SystemMessageBox(nullptr, "There is no remap table to print.", "No Remap Table",
                             fw::MB_OK);
        return;
    }
    TextPrintout printout;
    printout.docName = TableFile(nIOType).c_str();
    printout.maxPage = static_cast<fw::WORD>(m_nRemapCount / kRemapLinesPerPage + 1);
    printout.linesPerPage = kRemapLinesPerPage;
    printout.header = FormatRemapPrintHeader();
    // A comment too long for the paper continues under its heading.
    printout.continueColumn = printout.header.size() - std::strlen(kCommentHeading);
    for (std::size_t entry = 0; entry < table->size(); ++entry) {
        const int lines = RemapPrintLineCount(*(*table)[entry]);
        for (int k = 0; k < lines; ++k) {
            printout.lines.push_back(FormatRemapPrintLine(nIOType, static_cast<int>(entry), k));
        }
    }
    PrintTextPages(printout);
}
