// Asks which remap table to print.
#pragma once

#include "platform/fw/dialog.h"
#include "records/io_type.h"

class CPrintChoiceDlg : public fw::CDialog {
  public:
    CPrintChoiceDlg();
    // None while no table has been chosen.
    IoType GetType() const { return m_nType; }

  protected:
    void DoDataExchange() override;

  private:
    void OnInputTable();
    void OnOutputTable();

    fw::Control* m_pBtnPrint = nullptr;
    IoType m_nType = IoType::None;
};
