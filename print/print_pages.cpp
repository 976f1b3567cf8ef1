#include "print/print_pages.h"

#include <algorithm>
#include <string_view>

#include "platform/fw/app.h"
#include "platform/fw/printing.h"
#include "print/print_layout.h"

namespace {

struct PageFit {
    std::size_t width = 0;  // characters a line holds; 0: not known, so no line continues
    int linesPerPage = 0;
};

int TextWidth(fw::CDC& dc, std::string_view text) {
    return dc.GetTextExtent(text.data(), static_cast<int>(text.size())).cx;
}

std::string_view LongestLine(const TextPrintout& printout) {
    std::string_view longest = PrintedPart(printout.header);
    for (const std::string& line : printout.lines) {
        const std::string_view printed = PrintedPart(line);
        if (PrintedChars(printed) > PrintedChars(longest)) {
            longest = printed;
        }
    }
    return longest;
}

// Selects the largest font at which the page takes both the lines per page and the longest line,
// else the smallest; says how many characters a line then holds and how many lines a page.
PageFit FitThePage(fw::CDC& dc, const TextPrintout& printout) {
    const int areaWidth = dc.GetDeviceCaps(fw::HORZRES);
    const int areaHeight = dc.GetDeviceCaps(fw::VERTRES);
    if (areaWidth <= 0 || areaHeight <= 0) {
        return {0, printout.linesPerPage};  // a device that tells nothing prints as it comes
    }
    const std::string_view longest = LongestLine(printout);
    fw::TEXTMETRIC tm;
    for (int points = kLargestPrintPoints; points >= kSmallestPrintPoints; --points) {
        dc.SelectFixedPitchFont(points);
        dc.GetTextMetrics(&tm);
        if (tm.tmHeight * printout.linesPerPage <= areaHeight &&
            TextWidth(dc, longest) <= areaWidth) {
            break;
        }
    }
    PageFit fit;
    fit.linesPerPage = tm.tmHeight > 0
                           ? std::min(printout.linesPerPage, std::max(areaHeight / tm.tmHeight, 2))
                           : printout.linesPerPage;
    // The font is fixed-pitch: as many characters fit as there are digits that fit.
    std::size_t fits = 1;
    std::size_t tooMany = PrintedChars(longest) + 1;
    while (tooMany - fits > 1) {
        const std::size_t n = fits + (tooMany - fits) / 2;
        (TextWidth(dc, std::string(n, '0')) <= areaWidth ? fits : tooMany) = n;
    }
    fit.width = fits;
    return fit;
}

}  // namespace

void PrintTextPages(const TextPrintout& printout) {
    fw::CWinApp* app = fw::AfxGetApp();
    fw::CPrintDialog dlg(fw::FALSE, kPrintoutDialogFlags, nullptr);
    if (app != nullptr) {
        app->GetPrinterDeviceDefaults(&dlg.m_pd);
    }
    dlg.m_pd.nMinPage = 0;
    dlg.m_pd.nFromPage = 0;
    dlg.m_pd.nMaxPage = printout.maxPage;
    dlg.m_pd.nToPage = printout.maxPage;
    if (dlg.DoModal() != fw::IDOK) {
        return;
    }
    if (app != nullptr) {
        app->SelectPrinter(dlg.m_pd.settings);
    }
    fw::CDC dc;
    dlg.CreatePrinterDC(dc);

    fw::DOCINFO info;
    info.cbSize = 20;
    info.lpszDocName = printout.docName;
    info.lpszOutput = nullptr;
    dc.StartDoc(&info);
    const PageFit fit = FitThePage(dc, printout);
    fw::TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    const auto printed = [&](const std::string& line) {
        return fit.width == 0 ? std::vector<std::string>{line}
                              : ContinueLine(line, fit.width, printout.continueColumn);
    };
    const std::vector<std::string> header = printed(printout.header);
    const int linesPerPage = std::max(fit.linesPerPage, static_cast<int>(header.size()) + 1);

    // The device-context results are not examined: a failing printer simply prints nothing.
    int line = 0;
    const auto draw = [&](const std::string& text) {
        dc.TextOut(0, line * tm.tmHeight, text.c_str(), static_cast<int>(text.size()));
        ++line;
    };
    for (const std::string& text : printout.lines) {
        const std::vector<std::string> parts = printed(text);
        if (line != 0 && line + static_cast<int>(parts.size()) > linesPerPage) {
            dc.EndPage();
            line = 0;
        }
        for (const std::string& part : parts) {
            if (line == 0) {
                dc.StartPage();
                for (const std::string& head : header) {
                    draw(head);
                }
            }
            draw(part);
            if (line >= linesPerPage) {
                dc.EndPage();
                line = 0;
            }
        }
    }
    if (line != 0) {
        dc.EndPage();
    }
    dc.EndDoc();
    dc.DeleteDC();
}
