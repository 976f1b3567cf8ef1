#include "platform/fw/app.h"

#include "platform/fw/backend.h"
#include "platform/fw/message_queue.h"
#include "platform/fw/resources.h"

namespace fw {

namespace {
CWinApp* g_app = nullptr;
}  // namespace

CWinApp::CWinApp(std::string appTitle) : m_strTitle(std::move(appTitle)) {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

CWinApp* AfxGetApp() {
    return g_app;
}

int CWinApp::Run() {
    if (InitInstance()) {
        for (;;) {
            Msg msg;
            if (PeekMessage(msg)) {
                if (!DispatchMessage(msg)) {
                    break;
                }
                continue;
            }
            TheMessageQueue().WaitFor(50);
        }
    }
    return ExitInstance();
}

int CWinApp::ExitInstance() {
    return 0;
}

bool CWinApp::HasCommandHandler(UINT id) const {
    for (const auto& entry : m_commands) {
        if (entry.id == id) {
            return true;
        }
    }
    return id == ID_APP_EXIT;
}

bool CWinApp::OnCmdMsg(UINT id) {
    for (const auto& entry : m_commands) {
        if (entry.id == id) {
            auto handler = entry.handler;
            handler();
            return true;
        }
    }
    if (id == ID_APP_EXIT) {
        OnAppExit();
        return true;
    }
    return false;
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd != nullptr) {
        m_pMainWnd->SendMessage(WM_CLOSE);
    }
}

void CWinApp::BeginWaitCursor() {
    if (m_nWaitCursor++ == 0) {
        GetBackend().SetWaitCursor(true);
    }
}

void CWinApp::EndWaitCursor() {
    if (m_nWaitCursor > 0 && --m_nWaitCursor == 0) {
        GetBackend().SetWaitCursor(false);
    }
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLG* pd) {
    if (pd == nullptr) {
        return FALSE;
    }
    pd->settings = m_printer;
    pd->hasSettings = true;
    return TRUE;
}

void CWinApp::SelectPrinter(const PrinterSettings& settings) {
    m_printer = settings;
}

void CWinApp::OnFilePrintSetup() {
    CPrintDialog dlg(TRUE, 0);
    GetPrinterDeviceDefaults(&dlg.m_pd);
    if (dlg.DoModal() == IDOK) {
        SelectPrinter(dlg.m_pd.settings);
    }
}

int AfxMessageBox(const std::string& text, UINT type) {
    if ((type & MB_ICONMASK) == 0) {
        type |= MB_ICONEXCLAMATION;
    }
    MessageBoxRequest request;
    request.kind = MessageBoxKind::Framework;
    request.owner = g_app != nullptr ? g_app->m_pMainWnd : nullptr;
    request.caption = g_app != nullptr ? g_app->AppTitle() : std::string();
    request.text = text;
    request.type = type;
    return GetBackend().ShowMessageBox(request);
}

int AfxMessageBox(UINT stringId, UINT type) {
    return AfxMessageBox(LoadString(stringId), type);
}

int SystemMessageBox(const CWnd* owner, const std::string& text, const char* caption, UINT type,
                     const std::string& detail) {
    MessageBoxRequest request;
    request.kind = MessageBoxKind::Window;
    request.owner = owner;
    request.caption = caption != nullptr ? caption : "Error";
    request.text = text;
    request.type = type;
    request.detail = detail;
    return GetBackend().ShowMessageBox(request);
}

}  // namespace fw
