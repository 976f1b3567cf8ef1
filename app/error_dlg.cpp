#include "app/error_dlg.h"

#include "res/resource.h"

CErrorDlg::CErrorDlg(fw::UINT messageId, std::string detail, fw::CWnd* parent)
    : CDialog(IDD_ERROR, parent), m_strDetail(std::move(detail)) {
    if (messageId != 0) {
        m_strMessage = fw::LoadString(messageId);
    }
    MapClicked(IDC_DETAIL, &CErrorDlg::OnDetail);
}

void CErrorDlg::DoDataExchange() {
    DDX_Control(IDC_ERROR_MESSAGE, m_pMessage);
    DDX_Control(IDC_ERROR_DETAIL, m_pDetailEdit);
    DDX_Control(IDC_DETAIL, m_pDetailButton);
}

fw::BOOL CErrorDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_strMessage.empty()) {
        m_strMessage = fw::LoadString(IDS_CLICK_DETAIL);
    }
    m_pDetailEdit->SetWindowText(m_strDetail);
    m_pMessage->SetWindowText(m_strMessage);
    // Opening at half height hides the detail edit in the lower half of the template.
    GetWindowRect(&m_rcFull);
    SetWindowPos(fw::kNoWindow, 0, 0, m_rcFull.Width(), m_rcFull.Height() / 2,
                 fw::SWP_NOMOVE | fw::SWP_NOZORDER | fw::SWP_SHOWWINDOW);
    CenterWindow();
    return fw::TRUE;
}

void CErrorDlg::OnDetail() {
    SetWindowPos(fw::kNoWindow, 0, 0, m_rcFull.Width(), m_rcFull.Height(),
                 fw::SWP_NOMOVE | fw::SWP_NOZORDER | fw::SWP_SHOWWINDOW);
    CenterWindow();
}
