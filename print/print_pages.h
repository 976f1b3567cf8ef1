// The course both printouts share: the standard print dialog preset with the application's
// printer, the printer chosen there made the application's, and plain text lines drawn one below
// the other with the column header at the top of every page, in the largest font at which the
// page takes both its lines and the longest line (print/print_layout.h).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/fw/types.h"

struct TextPrintout {
    const char* docName = nullptr;  // null: a document without a name
    fw::WORD maxPage = 0;           // the print dialog's last page
    int linesPerPage = 0;           // counting the header line
    // Where the last column starts (in characters): a line too wide for the page continues
    // under it.
    std::size_t continueColumn = 0;
    std::string header;
    std::vector<std::string> lines;
};

// Flags of the print dialog of both printouts: no selection, no page numbers, copies and
// collation left to the printer, no print-to-file box.
inline constexpr fw::DWORD kPrintoutDialogFlags = fw::PD_NOSELECTION | fw::PD_NOPAGENUMS |
                                                  fw::PD_USEDEVMODECOPIESANDCOLLATE |
                                                  fw::PD_HIDEPRINTTOFILE;

// Nothing is printed when the operator cancels the print dialog. A printout without lines
// starts and ends a document without any page. Every printed line counts toward the lines per
// page, a continuation too; a line and its continuations share a page (the next page when they do
// not fit on what is left of this one) unless they are more than a page can hold. When even the
// smallest font is too tall for the lines per page, a page holds as many lines as fit.
void PrintTextPages(const TextPrintout& printout);
