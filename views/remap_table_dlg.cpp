#include "views/remap_table_dlg.h"

#include <algorithm>

#include "app/tav_app.h"
#include "audit_events/audit_events.h"
#include "common/format.h"
#include "remap/table_guard.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"
#include "views/remap_restore.h"
#include "views/remap_table_grid.h"

namespace {

CTavDlg* MainDlg() {
    CTavApp* app = GetTavApp();
    return app != nullptr ? app->GetMainDlg() : nullptr;
}

}  // namespace

CRemapTableDlg::CRemapTableDlg(IoType nIOType, fw::CWnd* parent)
    : CDialog(IDD_REMAP_TABLE, parent), m_nIOType(nIOType) {
    if (CTavDlg* main = MainDlg()) {
        m_pTable = main->Table(nIOType).get();
    }
    MapClicked(IDC_RESTORE, &CRemapTableDlg::OnRestore);
    MapClicked(IDC_RESTORE_ALL, &CRemapTableDlg::OnRestoreAll);
    MapClicked(IDC_TABLE_PRINT, &CRemapTableDlg::OnPrint);
}

CRemapTableDlg::~CRemapTableDlg() = default;

void CRemapTableDlg::DoDataExchange() {
    DDX_Control(IDC_RESTORE_ALL, m_btnRestoreAll);
    DDX_Control(IDC_RESTORE, m_btnRestore);
    DDX_Control(IDC_TABLE_PRINT, m_btnPrint);
}

fw::BOOL CRemapTableDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_pGrid = fw::CGridCtrl::Attach(
        *this,
        std::make_unique<CRemapTableGrid>(*this, IDC_GRID, fw::Rect{0, 0, 0, 0}, m_nIOType, this));
    if (fw::Control* placeHolder = GetDlgItem(IDC_GRID)) {
        fw::Rect rect;
        placeHolder->GetWindowRect(&rect);
        m_pGrid->SetColumnWidths(rect.right - rect.left);
    }
    std::string title = fw::LoadString(m_nIOType == IoType::Input ? IDS_INPUT_REMAP_TABLE
                                                                  : IDS_OUTPUT_REMAP_TABLE) +
                        " - ";
    if (CTavDlg* main = MainDlg()) {
        title += main->TableFile(m_nIOType);
    }
    SetWindowText(title);
    FillGrid();
    return fw::TRUE;
}

void CRemapTableDlg::FillGrid() {
    int row = 1;
    if (m_pTable != nullptr) {
        for (const auto& entry : *m_pTable) {
            const int span = entry->m_nOrigLast - entry->m_nOrigFirst;
            for (int k = 0; k <= span; ++k, ++row) {
                // The grid keeps only the cells it has, so it grows with the rows written.
                if (row >= m_pGrid->GetNumRows()) {
                    m_pGrid->SetNumRows(row + 1);
                }
                m_pGrid->SetCellText(row, 1, entry->m_strSwitcher);
                m_pGrid->SetCellText(row, 2, entry->m_strLevel);
                m_pGrid->SetCellText(row, 3, tav::Format("%d", entry->m_nOrigFirst + k));
                m_pGrid->SetCellText(row, 4, tav::Format("%d", entry->m_nNewFirst + k));
            }
        }
    }
    m_nRows = row - 1;
    m_pGrid->SetNumRows(m_nRows + 1);
    const fw::BOOL any = m_nRows != 0 ? fw::TRUE : fw::FALSE;
    m_btnPrint->EnableWindow(any);
    m_btnRestoreAll->EnableWindow(any);
    // The rows now stand for other ports: a count carried over would offer Restore with nothing
    // selected.
    m_pGrid->ClearSelection();
    m_btnRestore->EnableWindow(fw::FALSE);
}

void CRemapTableDlg::EnableRestore(fw::BOOL on) {
    m_btnRestore->EnableWindow(on);
}

bool CRemapTableDlg::MayChangeTable() {
    CTavDlg* main = MainDlg();
    return main == nullptr || main->MayRewriteTable(m_nIOType);
}

void CRemapTableDlg::OnRestore() {
    // Nothing selected (a click on the header row counts, too): nothing to restore, nothing to
    // send or record.
    if (m_pGrid->SelectedRows().empty() || !MayChangeTable()) {
        return;
    }
    fw::CDialog confirm(IDD_RESTORE_CONFIRM);
    if (confirm.DoModal() != fw::IDOK) {
        return;
    }
    CTableGuard table(MainDlg(), m_nIOType, this);
    if (!HoldTable(table)) {
        return;
    }
    AuditChange change(AuditKind::Restore, m_nIOType);
    for (int row = 1; row <= m_nRows; ++row) {
        if (m_pGrid->IsRowSelected(row)) {
            change.entries.push_back(tav::Format(
                "%s,%s,%s,%s", m_pGrid->GetCellText(row, 1), m_pGrid->GetCellText(row, 2),
                m_pGrid->GetCellText(row, 3), m_pGrid->GetCellText(row, 4)));
        }
    }
    if (CTavDlg* main = MainDlg()) {
        main->KeepTableBeforeChange(m_nIOType);
    }
    RestoreSelectedRows();
    Commit(change);
    FillGrid();
}

void CRemapTableDlg::OnRestoreAll() {
    if (!MayChangeTable()) {
        return;
    }
    fw::CDialog confirm(IDD_RESTORE_CONFIRM);
    if (confirm.DoModal() != fw::IDOK) {
        return;
    }
    CTableGuard table(MainDlg(), m_nIOType, this);
    if (!HoldTable(table)) {
        return;
    }
    m_pGrid->SelectAllRows();
    AuditChange change(AuditKind::RestoreAll, m_nIOType);
    if (m_pTable != nullptr) {
        for (const auto& e : *m_pTable) {
            change.entries.push_back(tav::Format("%s,%s,%s,%s", e->m_strSwitcher, e->m_strLevel,
                                                 AuditNumbers(e->m_nOrigFirst, e->m_nOrigLast),
                                                 AuditNumbers(e->m_nNewFirst, e->m_nNewLast)));
        }
    }
    if (CTavDlg* main = MainDlg()) {
        main->KeepTableBeforeChange(m_nIOType);
        main->ClearRemapTable(m_nIOType);
    }
    m_pTable = nullptr;
    Commit(change);
    FillGrid();
}

// The table is the one in force, or it has been read again and the view shows it as it is now:
// the ports the operator selected were chosen from another table, so nothing is restored until
// they are chosen again.
bool CRemapTableDlg::HoldTable(CTableGuard& table) {
    if (table.Hold(CTableGuard::For::Restore)) {
        return true;
    }
    for (int row = m_pGrid->GetNumRows() - 1; row >= 1; --row) {
        m_pGrid->DeleteRow(row);
    }
    if (CTavDlg* main = MainDlg()) {
        m_pTable = main->Table(m_nIOType).get();
        SetWindowText(fw::LoadString(m_nIOType == IoType::Input ? IDS_INPUT_REMAP_TABLE
                                                                : IDS_OUTPUT_REMAP_TABLE) +
                      " - " + main->TableFile(m_nIOType));
    }
    FillGrid();
    return false;
}

void CRemapTableDlg::OnPrint() {
    if (CTavDlg* main = MainDlg()) {
        main->PrintRemapTable(m_nIOType);
    }
}

void CRemapTableDlg::Commit(AuditChange& change) {
    EnableWindow(fw::FALSE);
    if (CTavDlg* main = MainDlg()) {
        main->CommitTableChange(m_nIOType, fw::FALSE, &change);
        // The table the boards were told of, or the one put back when they could not be.
        m_pTable = main->Table(m_nIOType).get();
    }
    EnableWindow(fw::TRUE);
}

void CRemapTableDlg::RestoreSelectedRows() {
    CTavDlg* main = MainDlg();
    if (main == nullptr) {
        return;
    }
    const RestoreWalk walk = RestoreSelectedPorts(
        m_pTable, [this](int row) { return m_pGrid->IsRowSelected(row); }, *main);
    m_nRows = walk.keptRows;
    for (int row = std::min(walk.row, m_pGrid->GetNumRows() - 1); row >= 1; --row) {
        m_pGrid->DeleteRow(row);
    }
    m_pGrid->SetNumRows(m_nRows + 1);
}
