#include "boards/send_remap_data_dlg.h"

#include "common/format.h"
#include "res/resource.h"

CSendRemapDataDlg::CSendRemapDataDlg() : CDialog(IDD_SEND_REMAP_DATA) {}

fw::BOOL CSendRemapDataDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    DDX_Control(IDC_SENT_TOTAL, m_pSentTotal);
    DDX_Control(IDC_RESPONSE_TOTAL, m_pResponseTotal);
    DDX_Control(IDC_SENT_LIST, m_pSentList);
    DDX_Control(IDC_RESPONSE_LIST, m_pResponseList);
    DDX_Control(fw::IDOK, m_pOK);
    return fw::TRUE;
}

void CSendRemapDataDlg::OnCancel() {
    if (m_pOK != nullptr && m_pOK->IsWindowEnabled()) {
        CDialog::OnCancel();
    }
}

void CSendRemapDataDlg::AddAndSelect(fw::Control* list, const std::string& name) {
    if (list != nullptr) {
        list->SetCurSel(list->AddString(name));
        list->UpdateWindow();
    }
}

void CSendRemapDataDlg::AddSentBoard(const std::string& name) {
    AddAndSelect(m_pSentList, name);
}

void CSendRemapDataDlg::AddRespondingBoard(const std::string& name) {
    AddAndSelect(m_pResponseList, name);
}

void CSendRemapDataDlg::MarkSentBoard(int index, const std::string& text) {
    if (m_pSentList == nullptr || index < 0 || index >= m_pSentList->GetCount()) {
        return;
    }
    const int selected = m_pSentList->GetCurSel();
    m_pSentList->DeleteString(index);
    m_pSentList->InsertString(index, text);
    m_pSentList->SetCurSel(m_bMarked ? selected : index);
    m_bMarked = true;
    m_pSentList->UpdateWindow();
}

void CSendRemapDataDlg::IncrementSentTotal() {
    ++m_nSentTotal;
    if (m_pSentTotal != nullptr) {
        m_pSentTotal->SetWindowText(tav::Format("%d", m_nSentTotal));
    }
}

void CSendRemapDataDlg::IncrementResponseTotal() {
    ++m_nResponseTotal;
    if (m_pResponseTotal != nullptr) {
        m_pResponseTotal->SetWindowText(tav::Format("%d", m_nResponseTotal));
    }
}

void CSendRemapDataDlg::EnableOK(fw::BOOL enable) {
    if (m_pOK != nullptr) {
        m_pOK->EnableWindow(enable);
        if (enable) {
            m_pOK->ShowWindow(fw::SW_SHOW);
        }
    }
    Invalidate();
    UpdateWindow();
}
