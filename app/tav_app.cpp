#include "app/tav_app.h"

#include "app/about_dlg.h"
#include "app/print_choice_dlg.h"
#include "files/file_dlg.h"
#include "platform/com/runtime.h"
#include "platform/fw/message_queue.h"
#include "remap/table_guard.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"
#include "sysdef/sysdef_dlg.h"
#include "sysdef/sysdef_guard.h"
#include "views/remap_table_dlg.h"

CTavApp::CTavApp(std::string appTitle) : CWinApp(std::move(appTitle)) {
    MapAppCommand(fw::ID_APP_ABOUT, &CTavApp::OnAppAbout);
    MapAppCommand(fw::ID_FILE_PRINT_SETUP, &CTavApp::OnFilePrintSetupCommand);
    MapAppCommand(fw::ID_HELP, &CTavApp::OnHelpCommand);
    MapAppCommand(ID_FILE_SELECT_REMAP_TABLE, &CTavApp::OnSelectRemapTable);
    MapAppCommand(ID_FILE_SAVE_REMAP_TABLE_AS, &CTavApp::OnSaveRemapTableAs);
    MapAppCommand(ID_FILE_PRINT_REMAP_TABLE, &CTavApp::OnPrintRemapTable);
    MapAppCommand(ID_VIEW_INPUT_REMAP_TABLE, &CTavApp::OnViewInputRemapTable);
    MapAppCommand(ID_VIEW_OUTPUT_REMAP_TABLE, &CTavApp::OnViewOutputRemapTable);
    MapAppCommand(ID_VIEW_SYSTEM_DEFINITION, &CTavApp::OnSystemDefinition);
}

CTavApp::~CTavApp() {
    ReleaseComponents();
}

CTavApp* GetTavApp() {
    return dynamic_cast<CTavApp*>(fw::AfxGetApp());
}

CTavDlg* CTavApp::GetMainDlg() const {
    return dynamic_cast<CTavDlg*>(m_pMainWnd);
}

fw::BOOL CTavApp::InitInstance() {
    if (CheckSingleInstance() != 0) {
        return fw::FALSE;
    }
    m_nErrorContext = IDS_COM_INIT_FAILED;
    const com::HRESULT hr = com::CoInitialize(nullptr);
    if (com::FAILED(hr)) {
        GetTavApp()->ReportError(hr, "TAV", __LINE__);
        return fw::FALSE;
    }
    Enable3dControls();

    m_pWaitDlg = std::make_unique<CWaitDlg>();
    m_pWaitDlg->Create(IDD_WAIT, nullptr);
    m_pWaitDlg->ShowWindow(fw::SW_SHOW);

    BeginWaitCursor();
    const fw::BOOL connected = ConnectComponents();
    EndWaitCursor();
    if (!connected) {
        if (com::FAILED(m_hrLast)) {
            ReportError(m_hrLast, nullptr, 0);
        }
        com::CoUninitialize();
        CloseWaitDialog();
        return fw::FALSE;
    }

    std::uint8_t changing = 0;
    m_hrLast = m_pControlCenter->IsConfigSetChanging(&changing);
    if (com::FAILED(m_hrLast)) {
        return fw::FALSE;
    }
    if (changing != 0) {
        fw::AfxMessageBox("The configuration set is in the process of changing");
        return fw::FALSE;
    }

    if (!SetupSocket()) {
        CloseWaitDialog();
        return fw::FALSE;
    }

    {
        CTavDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        dlg.ReleaseData();
        m_pMainWnd = nullptr;
    }
    return fw::FALSE;
}

int CTavApp::ExitInstance() {
    FreeConfiguration();
    if (m_pWaitDlg) {
        m_pWaitDlg->DestroyWindow();
        m_pWaitDlg.reset();
    }
    m_pSocketThread.reset();
    return CWinApp::ExitInstance();
}

void CTavApp::MarkerCreatedAtStart(bool created, fw::DWORD lastError) {
    m_markerAtStart = MarkerCreation{created, lastError};
}

int CTavApp::CheckSingleInstance() {
    fw::DWORD lastError = 0;
    bool created = false;
    if (m_markerAtStart) {
        created = m_markerAtStart->created;
        lastError = m_markerAtStart->lastError;
    } else {
        m_hMutex = fw::CreateMutex("Tavora", &lastError);
        created = m_hMutex != nullptr;
    }
    if (!created) {
        fw::AfxMessageBox("Fail to run the application");
        return 1;
    }
    if (lastError == fw::ERROR_ALREADY_EXISTS) {
        fw::AfxMessageBox("Another Tavora is already running");
        return 1;
    }
    return 0;
}

fw::BOOL CTavApp::SetupSocket() {
    control::ICorvaneRegistry* registry = GetRegistry();
    const com::HRESULT hr =
        registry != nullptr ? registry->GetRebootPort(&m_wRebootPort) : com::E_POINTER;
    if (com::FAILED(hr)) {
        fw::SystemMessageBox(nullptr, fw::LoadString(IDS_ERR_REBOOT_PORT), nullptr,
                             fw::MB_ICONHAND);
        return fw::FALSE;
    }
    try {
        m_pSocketThread = std::make_unique<control::SocketThread>(m_wRebootPort);
    } catch (...) {
        return fw::FALSE;
    }
    return fw::TRUE;
}

void CTavApp::CloseWaitDialog() {
    if (m_pWaitDlg) {
        m_pWaitDlg->DestroyWindow();
        m_pWaitDlg.reset();
    }
}

void CTavApp::FreeConfiguration() {
    m_arrLevels.clear();
    ReleaseComponents();
}

BoardInfo* CTavApp::GetBoardInfo(std::uint16_t board) {
    if (board >= m_wBoardCount || board >= m_pBoardInfo.size()) {
        return nullptr;
    }
    return &m_pBoardInfo[board];
}

void CTavApp::OnAppAbout() {
    CAboutDlg dlg;
    dlg.DoModal();
}

void CTavApp::OnSelectRemapTable() {
    CFileDlg dlg(CFileDlg::kSelect, nullptr);
    dlg.DoModal();
}

void CTavApp::OnSaveRemapTableAs() {
    CFileDlg dlg(CFileDlg::kSave, nullptr);
    dlg.DoModal();
}

void CTavApp::OnPrintRemapTable() {
    CPrintChoiceDlg dlg;
    if (dlg.DoModal() != fw::IDOK) {
        return;
    }
    if (CTavDlg* mainDlg = GetMainDlg()) {
        mainDlg->PrintRemapTable(dlg.GetType());
    }
}

void CTavApp::OnViewInputRemapTable() {
    RunRemapTableView(IoType::Input);
}

void CTavApp::OnViewOutputRemapTable() {
    RunRemapTableView(IoType::Output);
}

void CTavApp::RunRemapTableView(IoType io) {
    CTavDlg* mainDlg = GetMainDlg();
    // The view shows what the file holds now, also when another workstation changed it; it opens
    // on the table held here when the file cannot be looked at.
    CTableGuard(mainDlg, io).Refresh();
    CRemapTableDlg view(io, nullptr);
    if (mainDlg != nullptr) {
        mainDlg->EnableCloseButton(fw::FALSE);
    }
    view.DoModal();
    if (mainDlg != nullptr) {
        mainDlg->EnableCloseButton(fw::TRUE);
    }
}

void CTavApp::OnSystemDefinition() {
    // The table edited is the one in the file now, also when another workstation changed it.
    if (CTavDlg* main = GetMainDlg()) {
        CSysDefGuard(*main).Refresh();
    }
    auto dlg = std::make_unique<CSysDefDlg>(nullptr);
    const int result = dlg->DoModal();
    if (m_pMainWnd != nullptr) {
        m_pMainWnd->SetWindowPos(fw::HWND_TOP, 0, 0, 0, 0,
                                 fw::SWP_NOMOVE | fw::SWP_NOSIZE | fw::SWP_SHOWWINDOW);
    }
    CTavDlg* main = GetMainDlg();
    if (result == fw::IDOK && dlg->IsAccepted() != 0 && main != nullptr) {
        main->SaveSysDefTable();
    }
    if (main != nullptr) {
        main->FollowSysDefTable();
    }
}

void CTavApp::OnFilePrintSetupCommand() {
    OnFilePrintSetup();
}

void CTavApp::OnHelpCommand() {
    OnHelp();
}
