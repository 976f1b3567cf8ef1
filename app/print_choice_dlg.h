// Asks which remap table to print.
#pragma once

#include "platform/fw/dialog.h"

class CPrintChoiceDlg : public fw::CDialog {
  public:
    CPrintChoiceDlg();
    // 0 input, 1 output, 2 while none has been chosen.
    int GetType() const { return m_nType; }

  protected:
    void DoDataExchange() override;

  private:
    void OnInputTable();
    void OnOutputTable();

    fw::Control* m_pBtnPrint = nullptr;
    int m_nType = 2;
};
