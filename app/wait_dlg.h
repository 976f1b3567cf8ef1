// The please-wait window shown while the program connects to the control system.
#pragma once

#include "platform/fw/dialog.h"
#include "res/resource.h"

class CWaitDlg : public fw::CDialog {
  public:
    CWaitDlg() : CDialog(IDD_WAIT) {}
};
