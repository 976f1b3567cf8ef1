// The main remap dialog: the program's main window and the owner of the data the program works
// on.
#pragma once

#include <cstdint>
#include <string>

#include "platform/fw/dialog.h"

class CTavDlg : public fw::CDialog {
  public:
    CTavDlg();
    ~CTavDlg() override;

    // Frees what the dialog holds once it has ended.
    void ReleaseData();
    void EnableCloseButton(fw::BOOL on);

    void FillSwitcherList();
    void FillLevelList();

    bool IsConfigChanging() const { return m_bConfigChanging; }
    std::int32_t GetBoardStatusCookie() const { return m_nBoardStatusCookie; }

  protected:
    int OnCreate() override;
    fw::BOOL OnInitDialog() override;
    void OnSysCommand(fw::UINT id, fw::LPARAM lParam) override;

  private:
    void OnSelchangeSwitcher();
    void OnCloseButton();
    fw::LRESULT OnConfigSetChanging(fw::WPARAM wParam, fw::LPARAM lParam);
    fw::LRESULT OnIgnoredAppMessage(fw::WPARAM wParam, fw::LPARAM lParam);
    void RegisterForBoardNotifications();

    fw::CStatusBar m_wndStatusBar;
    int m_nIOType = 2;
    int m_nRangeMode = 2;
    bool m_bConfigChanging = false;
    std::int32_t m_nBoardStatusCookie = -1;
};
