// Printing: the application's printer settings, the print dialog and the printer device context.
#pragma once

#include <memory>
#include <string>

#include "platform/fw/types.h"

namespace fw {

class CWnd;

// The paper, its orientation and the margins chosen in Page Setup or the print dialog. Sizes
// in millimetres, the paper's portrait width and height.
struct PageLayout {
    bool chosen = false;    // false: the printer's own defaults
    std::string paperName;  // as the print system names it ("A4", "Letter"), for showing only
    double paperWidthMm = 0;
    double paperHeightMm = 0;
    bool landscape = false;
    double marginLeftMm = 0;
    double marginTopMm = 0;
    double marginRightMm = 0;
    double marginBottomMm = 0;
    friend bool operator==(const PageLayout&, const PageLayout&) = default;
};

// Stands for the platform's device mode and device names: which printer, where a document
// printed to a file goes, and the page set up for it.
struct PrinterSettings {
    std::string printerName;  // empty: the default printer
    std::string outputFile;   // non-empty: print into this PDF file
    int copies = 1;
    PageLayout layout;
    friend bool operator==(const PrinterSettings&, const PrinterSettings&) = default;
};

struct PRINTDLG {
    DWORD Flags = 0;
    WORD nFromPage = 0;
    WORD nToPage = 0;
    WORD nMinPage = 0;
    WORD nMaxPage = 0;
    PrinterSettings settings;
    bool hasSettings = false;  // stands for non-null device mode and names
};

struct TEXTMETRIC {
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmAveCharWidth = 0;
    int tmExternalLeading = 0;
};

// GetDeviceCaps: the printable area's width and height in device units.
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;

struct DOCINFO {
    int cbSize = 20;
    const char* lpszDocName = nullptr;
    const char* lpszOutput = nullptr;
};

// What a back end's printer does with the device-context calls.
class PrinterDevice {
  public:
    virtual ~PrinterDevice() = default;
    virtual int StartDoc(const std::string& docName) = 0;
    virtual int StartPage() = 0;
    virtual bool TextOut(int x, int y, const std::string& text) = 0;
    virtual TEXTMETRIC GetTextMetrics() = 0;
    // The part of the page the device prints on, in device units; text at (0, 0) starts at its
    // top left.
    virtual Size PrintableArea() = 0;
    // Makes the device's fixed-pitch text font of this many points the one that draws and is
    // measured from now on.
    virtual bool SelectFixedPitchFont(int points) = 0;
    virtual int TextWidth(const std::string& text) = 0;
    virtual int EndPage() = 0;
    virtual int EndDoc() = 0;
};

// The printer device context.
class CDC {
  public:
    CDC() = default;
    ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    BOOL CreatePrinterDC(const PrinterSettings& settings);
    bool IsAttached() const { return m_device != nullptr; }
    int StartDoc(const DOCINFO* info);
    int StartPage();
    BOOL TextOut(int x, int y, const char* text, int length);
    BOOL GetTextMetrics(TEXTMETRIC* metrics);
    int GetDeviceCaps(int index);
    BOOL SelectFixedPitchFont(int points);
    Size GetTextExtent(const char* text, int length);
    int EndPage();
    int EndDoc();
    void DeleteDC();

  private:
    std::unique_ptr<PrinterDevice> m_device;
};

// The standard print dialog.
class CPrintDialog {
  public:
    CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent = nullptr);
    int DoModal();
    // Creates a device context for the printer chosen in the dialog.
    BOOL CreatePrinterDC(CDC& dc) const;
    bool IsSetupOnly() const { return m_bSetupOnly; }

    PRINTDLG m_pd;

  private:
    bool m_bSetupOnly;
};

}  // namespace fw
