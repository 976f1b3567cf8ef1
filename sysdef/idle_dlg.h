// The idle port dialog: the idle ranges of one switcher level and one direction, edited as a grid
// of (first physical number, count) rows and checked before they replace the record's list.
#pragma once

#include <string>

#include "platform/fw/dialog.h"
#include "records/sysdef_record.h"
#include "sysdef/idle_grid.h"

class CIdleDlg : public fw::CDialog {
  public:
    // kind: the string id of Idle Inputs (2003) or Idle Outputs (2004).
    CIdleDlg(int kind, SysDefRecord* record, fw::CWnd* parent);

    void FillGrid();
    int ValidateCounts();
    int CheckRanges();
    CIdleGrid* GetGrid() const { return m_grid; }

  protected:
    fw::BOOL OnInitDialog() override;
    void OnOK() override;

  private:
    bool IsInputKind() const;
    int BoardRange() const;
    void CopyBack();
    void SelectGridRow(int row);

    SysDefRecord* m_pRecord;      // not owned
    CIdleGrid* m_grid = nullptr;  // a control of the dialog's window
    std::string m_strSwitcher;
    std::string m_strLevel;
    int m_nKind;
};
