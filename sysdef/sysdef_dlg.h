// The System Definition dialog: the table as a grid, the board ranges the operator types, the
// idle port editor of the selected row, and the table handed to the main dialog on OK.
#pragma once

#include <memory>
#include <string>

#include "platform/fw/dialog.h"
#include "records/sysdef_record.h"
#include "sysdef/sysdef_grid.h"

class CSysDefDlg : public fw::CDialog {
  public:
    explicit CSysDefDlg(fw::CWnd* parent = nullptr);
    ~CSysDefDlg() override;

    void FillGrid();
    // first 0: from row 1; last 0: first alone when first is not 0, else up to the last row.
    int ValidateRows(int first, int last);
    void CommitRanges();
    // which 0: Idle Inputs, 1: Idle Outputs.
    void EnableIdleButton(int which, fw::BOOL enable);
    void OpenIdleDialog(int kind);

    int IsAccepted() const { return m_bAccepted; }
    SysDefTable* GetTable() const { return m_pTable; }
    int GetRowCount() const { return m_nRows; }
    CSysDefGrid* GetGrid() const { return m_grid; }
    // The printout's line of record i (sysdef/sysdef_print.cpp).
    std::string FormatPrintLine(int i) const;

  protected:
    fw::BOOL OnInitDialog() override;
    void DoDataExchange() override;
    void OnOK() override;
    void OnCancel() override;

  private:
    void OnIdleInputs();
    void OnIdleOutputs();
    void OnIdleButton(int which, int kind);
    // Prints the records as they stand (sysdef/sysdef_print.cpp).
    void OnPrint();

    CSysDefGrid* m_grid = nullptr;  // a control of the dialog's window
    fw::Control* m_btnIdleOutputs = nullptr;
    fw::Control* m_btnIdleInputs = nullptr;
    SysDefTable* m_pTable = nullptr;
    // A table built from the configuration, kept here until OK hands it to the main dialog.
    std::unique_ptr<SysDefTable> m_pNewTable;
    int m_bAccepted = 0;
    int m_nRows = 0;
};
