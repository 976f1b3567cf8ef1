// The progress window "Send Remap Data...": the boards the RE-MAP message went to, the boards that
// confirmed it, a running count under each list, and OK once the wait is over.
#pragma once

#include <string>

#include "platform/fw/dialog.h"

class CSendRemapDataDlg : public fw::CDialog {
  public:
    CSendRemapDataDlg();

    void AddSentBoard(const std::string& name);
    void AddRespondingBoard(const std::string& name);
    // Shows the board at index of the sent list as text, a board that did not confirm; the first
    // one marked becomes the selected line, so the list shows it.
    void MarkSentBoard(int index, const std::string& text);
    void IncrementSentTotal();
    void IncrementResponseTotal();
    void EnableOK(fw::BOOL enable);

    int SentTotal() const { return m_nSentTotal; }
    int ResponseTotal() const { return m_nResponseTotal; }

  protected:
    fw::BOOL OnInitDialog() override;
    // Esc must not take the window away while the boards are still being watched.
    void OnCancel() override;

  private:
    static void AddAndSelect(fw::Control* list, const std::string& name);

    fw::Control* m_pSentTotal = nullptr;
    fw::Control* m_pResponseTotal = nullptr;
    fw::Control* m_pSentList = nullptr;
    fw::Control* m_pResponseList = nullptr;
    fw::Control* m_pOK = nullptr;
    int m_nSentTotal = 0;
    int m_nResponseTotal = 0;
    bool m_bMarked = false;
};
