// The error dialog: the component's message first, the detail below it on request.
#pragma once

#include <string>

#include "platform/fw/dialog.h"

class CErrorDlg : public fw::CDialog {
  public:
    // messageId 0 leaves the message empty (the dialog then asks to click DETAIL).
    CErrorDlg(fw::UINT messageId, std::string detail, fw::CWnd* parent = nullptr);

    const std::string& GetMessage() const { return m_strMessage; }

  protected:
    void DoDataExchange() override;
    fw::BOOL OnInitDialog() override;

  private:
    void OnDetail();

    std::string m_strMessage;
    std::string m_strDetail;
    fw::Rect m_rcFull;
    fw::Control* m_pMessage = nullptr;
    fw::Control* m_pDetailEdit = nullptr;
    fw::Control* m_pDetailButton = nullptr;
};
