// The application object, the framework's standard message box and the global application pointer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/fw/printing.h"
#include "platform/fw/types.h"
#include "platform/fw/window.h"

namespace fw {

class CWinApp {
  public:
    // The title is the executable's name without extension; the program passes it in.
    explicit CWinApp(std::string appTitle);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // InitInstance, a message loop when it returned TRUE, then ExitInstance. Returns the exit
    // code that ExitInstance gives.
    int Run();
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance();

    const std::string& AppTitle() const { return m_strTitle; }
    CWnd* m_pMainWnd = nullptr;

    // Command routing from windows: true when the application has a handler for the command.
    bool OnCmdMsg(UINT id);
    bool HasCommandHandler(UINT id) const;

    void BeginWaitCursor();
    void EndWaitCursor();
    bool IsWaitCursorShown() const { return m_nWaitCursor > 0; }
    void Enable3dControls() {}

    // Printing: the application's printer.
    BOOL GetPrinterDeviceDefaults(PRINTDLG* pd);
    void SelectPrinter(const PrinterSettings& settings);
    const PrinterSettings& Printer() const { return m_printer; }
    // The framework's standard printer set-up dialog.
    void OnFilePrintSetup();
    // The framework's standard help handler (no help file exists).
    void OnHelp() {}
    // The framework's standard exit command: asks the main window to close.
    void OnAppExit();

  protected:
    template <class T>
    void MapAppCommand(UINT id, void (T::*fn)()) {
        m_commands.push_back({id, [this, fn] { (static_cast<T*>(this)->*fn)(); }});
    }

  private:
    struct CommandEntry {
        UINT id;
        std::function<void()> handler;
    };
    std::string m_strTitle;
    std::vector<CommandEntry> m_commands;
    int m_nWaitCursor = 0;
    PrinterSettings m_printer;
};

// The one application object, or null.
CWinApp* AfxGetApp();

// The framework's standard message box: the application's title as caption; the exclamation icon
// when the type names none.
int AfxMessageBox(const std::string& text, UINT type = MB_OK);
int AfxMessageBox(UINT stringId, UINT type = MB_OK);

// A message box with no owner window (or with one), exactly as asked; a null caption gives the
// system's default caption "Error". A detail that is not empty can be opened under the text.
int SystemMessageBox(const CWnd* owner, const std::string& text, const char* caption, UINT type,
                     const std::string& detail = {});

}  // namespace fw
