#include "app/print_choice_dlg.h"

#include "res/resource.h"

CPrintChoiceDlg::CPrintChoiceDlg() : CDialog(IDD_PRINT_CHOICE) {
    MapClicked(IDC_INPUT_TABLE, &CPrintChoiceDlg::OnInputTable);
    MapClicked(IDC_OUTPUT_TABLE, &CPrintChoiceDlg::OnOutputTable);
}

void CPrintChoiceDlg::DoDataExchange() {
    DDX_Control(fw::IDOK, m_pBtnPrint);
}

void CPrintChoiceDlg::OnInputTable() {
    m_nType = IoType::Input;
    m_pBtnPrint->EnableWindow(fw::TRUE);
}

void CPrintChoiceDlg::OnOutputTable() {
    m_nType = IoType::Output;
    m_pBtnPrint->EnableWindow(fw::TRUE);
}
