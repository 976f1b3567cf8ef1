#include "app/print_pages.h"

#include "platform/fw/app.h"
#include "platform/fw/printing.h"

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
    fw::TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);

    // The device-context results are not examined: a failing printer simply prints nothing.
    const auto draw = [&](int line, const std::string& text) {
        dc.TextOut(0, line * tm.tmHeight, text.c_str(), static_cast<int>(text.size()));
    };
    int line = 0;
    for (const std::string& text : printout.lines) {
        if (line == 0) {
            dc.StartPage();
            draw(0, printout.header);
            line = 1;
        }
        draw(line, text);
        ++line;
        if (line >= printout.linesPerPage) {
            dc.EndPage();
            line = 0;
        }
    }
    if (line != 0) {
        dc.EndPage();
    }
    dc.EndDoc();
    dc.DeleteDC();
}
