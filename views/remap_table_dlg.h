// The remap table view: every port remap in force for one I/O type, with Restore, Restore All
// and Print.
#pragma once

#include "platform/fw/dialog.h"
#include "records/io_type.h"
#include "records/remap_entry.h"

struct AuditChange;
class CRemapTableGrid;
class CTableGuard;
class CTavDlg;

class CRemapTableDlg : public fw::CDialog {
  public:
    // nIOType 0 input, 1 output.
    CRemapTableDlg(IoType nIOType, fw::CWnd* parent);
    ~CRemapTableDlg() override;

    void FillGrid();
    void RestoreSelectedRows();
    // Called by the grid after each click.
    void EnableRestore(fw::BOOL on);

    CRemapTableGrid* GetGrid() const { return m_pGrid; }
    int GetRowCount() const { return m_nRows; }

  protected:
    fw::BOOL OnInitDialog() override;
    void DoDataExchange() override;

  private:
    void OnRestore();
    void OnRestoreAll();
    void OnPrint();
    // Sends the changed table to the boards and rewrites its file, this view disabled meanwhile.
    // The boards and the file told of the change; the trail given its account.
    void Commit(AuditChange& change);
    // False when the table's file is held back and the operator has been told why.
    bool MayChangeTable();
    // The lock of the table's file, held until the Restore has been written. False when the file
    // was changed elsewhere (the view then shows the table as it is now) or the lock not taken.
    bool HoldTable(CTableGuard& table);

    fw::Control* m_btnRestoreAll = nullptr;
    fw::Control* m_btnRestore = nullptr;
    fw::Control* m_btnPrint = nullptr;
    int m_nRows = 0;
    RemapTable* m_pTable = nullptr;      // the main dialog's table; null when it does not exist
    CRemapTableGrid* m_pGrid = nullptr;  // one of this dialog's controls once created
    IoType m_nIOType = IoType::Input;
};
