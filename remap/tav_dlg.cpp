#include "remap/tav_dlg.h"

#include "app/tav_app.h"
#include "platform/fw/app.h"
#include "platform/fw/backend.h"
#include "platform/fw/message_queue.h"
#include "res/resource.h"

namespace {

const fw::UINT kIndicators[] = {fw::ID_SEPARATOR, fw::ID_INDICATOR_CAPS, fw::ID_INDICATOR_NUM,
                                fw::ID_INDICATOR_SCRL};

}  // namespace

CTavDlg::CTavDlg() : CDialog(IDD_TAV_DIALOG) {
    MapClicked(IDC_INPUT, &CTavDlg::OnInput);
    MapClicked(IDC_OUTPUT, &CTavDlg::OnOutput);
    MapNotify(IDC_SWITCHER, fw::CBN_SELCHANGE, &CTavDlg::OnSelchangeSwitcher);
    MapNotify(IDC_LEVEL, fw::CBN_SELCHANGE, &CTavDlg::OnSelchangeLevel);
    MapClicked(IDC_SINGLE, &CTavDlg::OnSingle);
    MapClicked(IDC_WHOLE_BOARD, &CTavDlg::OnWholeBoard);
    MapNotify(IDC_ORIGINAL_NUMBER, fw::EN_CHANGE, &CTavDlg::OnChangeOriginalNumber);
    MapNotify(IDC_NEW_NUMBER, fw::CBN_SELCHANGE, &CTavDlg::OnSelchangeNewNumber);
    MapNotify(IDC_ORIGINAL_RANGE, fw::CBN_SELCHANGE, &CTavDlg::OnSelchangeOriginalRange);
    MapNotify(IDC_NEW_RANGE, fw::CBN_SELCHANGE, &CTavDlg::OnSelchangeNewRange);
    MapClicked(IDC_REMAP, &CTavDlg::OnRemap);
    MapClicked(IDC_CLOSE, &CTavDlg::OnCloseButton);
    MapMessage(WM_CONFIGSET_CHANGING, &CTavDlg::OnConfigSetChanging);
    MapMessage(fw::WM_APP + 200, &CTavDlg::OnIgnoredAppMessage);
}

CTavDlg::~CTavDlg() = default;

int CTavDlg::OnCreate() {
    if (!m_wndStatusBar.Create(this) ||
        !m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators)))) {
        return -1;
    }
    return 0;
}

fw::BOOL CTavDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (fw::Menu* sysMenu = GetSystemMenu(fw::FALSE)) {
        const std::string about = fw::LoadString(IDS_ABOUTBOX);
        if (!about.empty()) {
            sysMenu->AppendSeparator();
            sysMenu->AppendItem(IDM_ABOUTBOX, about);
        }
    }
    CTavApp* app = GetTavApp();
    m_bLevelListRead = app->LoadLevelList() != fw::FALSE;
    if (m_bLevelListRead) {
        FillSwitcherList();
    }
    fw::Rect rect;
    GetWindowRect(&rect);
    SetWindowPos(fw::HWND_TOP, (fw::GetSystemMetrics(fw::SM_CXSCREEN) - rect.Width()) / 2,
                 (fw::GetSystemMetrics(fw::SM_CYSCREEN) - rect.Height()) / 2, 0, 0,
                 fw::SWP_NOSIZE | fw::SWP_SHOWWINDOW);
    // Before the files are read: should one change meanwhile, it is read again before it is
    // written.
    m_knownFiles.RememberNow({"TAV.SDF", "TAV.IXT", "TAV.OXT"});
    LoadSystemDefinitionAtStart();
    LoadTablesAtStart();
    RegisterForBoardNotifications();
    app->CloseWaitDialog();
    return fw::TRUE;
}

void CTavDlg::LoadSystemDefinitionAtStart() {
    // A file that exists but could not be read (loaded < 0) has been reported; no table is then
    // held, and the operator is not offered to define one in its place.
    const int loaded = LoadSysDefTable();
    if (loaded == 0) {
        if (MessageBox(fw::LoadString(IDS_NO_SYSDEF),
                       fw::LoadString(IDS_LOAD_SYSDEF_CAPTION).c_str(),
                       fw::MB_YESNO | fw::MB_ICONEXCLAMATION) == fw::IDYES) {
            GetTavApp()->OnSystemDefinition();
        }
    } else if (loaded > 0 && m_bLevelListRead && !IsSysDefTableCurrent()) {
        // (Without the whole level list, which could not be read and was reported, the table
        // cannot be checked; it is kept, and no remap can be set up without the switcher list.)
        FreeSysDefTable(m_pSysDefTable);
        MessageBox(fw::LoadString(IDS_SYSDEF_CHANGED), nullptr, fw::MB_ICONHAND);
    }
    ShowSysDefStatus();
}

void CTavDlg::ShowSysDefStatus() {
    m_wndStatusBar.SetPaneText(0, m_pSysDefTable
                                      ? std::string()
                                      : "System Definition Table needed: View > System Definition");
}

void CTavDlg::RegisterForBoardNotifications() {
    CTavApp* app = GetTavApp();
    m_nBoardStatusCookie = -1;
    if (control::IBoardStatus* status = app->GetBoardStatus()) {
        std::uint32_t cookie = 0;
        const com::HRESULT hr =
            status->Advise(app->GetBoardNotifySink(), control::kAllBoards, 8, &cookie);
        m_nBoardStatusCookie = com::FAILED(hr) ? -1 : static_cast<std::int32_t>(cookie);
        for (std::uint16_t i = 0; i < app->GetBoardCount(); ++i) {
            std::uint8_t reported = 0;
            std::uint32_t reports = 0;
            app->GetBoardStatus()->GetBoardRemapInfo(i, app->GetBoardInfo(i)->data(), &reported,
                                                     &reports);
        }
    }
    if (control::IBoardStatusEx* statusEx = app->GetBoardStatusEx()) {
        statusEx->RetrieveBoardRemapInfo(control::kAllBoards);
    }
}

void CTavDlg::OnSysCommand(fw::UINT id, fw::LPARAM lParam) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        if (CTavApp* app = GetTavApp()) {
            app->OnAppAbout();
        }
        return;
    }
    CDialog::OnSysCommand(id, lParam);
}

void CTavDlg::OnCloseButton() {
    if (m_nBoardStatusCookie != -1) {
        if (control::IBoardStatus* status = GetTavApp()->GetBoardStatus()) {
            status->Unadvise(control::kAllBoards16,
                             static_cast<std::uint32_t>(m_nBoardStatusCookie));
        }
        m_nBoardStatusCookie = -1;
    }
    EndDialog(fw::IDOK);
}

fw::LRESULT CTavDlg::OnConfigSetChanging(fw::WPARAM, fw::LPARAM) {
    if (m_bConfigChanging) {
        return 0;  // a second announcement already queued: the operator has been told once
    }
    m_bConfigChanging = true;
    GetTavApp()->FreeConfiguration();
    fw::AfxMessageBox("The Configuration set is changing. This program will be shut down.",
                      fw::MB_OK);
    fw::PostQuitMessage(0);
    return 0;
}

fw::LRESULT CTavDlg::OnIgnoredAppMessage(fw::WPARAM, fw::LPARAM) {
    return 0;
}

void CTavDlg::EnableCloseButton(fw::BOOL on) {
    GetDlgItem(IDC_CLOSE)->EnableWindow(on);
}

void CTavDlg::ReleaseData() {
    FreeSysDefTable(m_pSysDefTable);
    ClearRemapTable(IoType::Input);
    ClearRemapTable(IoType::Output);
    CloseRemapTableFile();
}
