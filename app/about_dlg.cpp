#include "app/about_dlg.h"

#include <string>

#include "app/version.h"
#include "res/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange() {
    DDX_Control(IDC_RELEASE, m_pRelease);
}

fw::BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_pRelease != nullptr) {
        m_pRelease->SetWindowText(std::string("Release ") + kTavoraVersion);
    }
    return fw::TRUE;
}
