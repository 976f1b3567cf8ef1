// The About box.
#pragma once

#include "platform/fw/dialog.h"

class CAboutDlg : public fw::CDialog {
  public:
    CAboutDlg();

  protected:
    void DoDataExchange() override;
    fw::BOOL OnInitDialog() override;

  private:
    fw::Control* m_pRelease = nullptr;
};
