// Dialogs built from templates, run modally or modeless.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/fw/window.h"

namespace fw {

class CDialog : public CWnd {
  public:
    explicit CDialog(int templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Creates the window, runs it modally until EndDialog (or a quit), destroys the window and
    // returns the end code; -1 when the window could not be created or a quit ended the loop.
    virtual int DoModal();
    // Creates the window modeless (shown only when asked, or when the template says visible).
    BOOL Create(int templateId, CWnd* parent = nullptr);
    void EndDialog(int result);
    int GetEndCode() const { return m_nEndCode; }

    int TemplateId() const { return m_nTemplateId; }
    const DialogTemplate* Template() const { return m_pTemplate; }

    Control* GetDlgItem(int id) const;
    const std::vector<std::unique_ptr<Control>>& Controls() const { return m_controls; }
    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;
    // Adds a control made at run time. When the dialog has a grid placeholder of the same id, the
    // control takes its place in the tab order, and its rectangle too when it has none of its
    // own; the placeholder is hidden, and GetDlgItem finds the new control.
    Control* InsertControl(std::unique_ptr<Control> control);
    // Converts a rectangle in this dialog's units to pixels.
    Rect MapDialogRect(const Rect& dialogUnits) const;

    BOOL DestroyWindow() override;

    // The user's Enter and Esc keys.
    void UserPressEnter();
    void UserPressEscape();

  protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange() {}
    virtual void OnOK();
    virtual void OnCancel();
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnClose() override;

    // Binds a control of this dialog to a member (the member does not own it).
    void DDX_Control(int id, Control*& member);

  private:
    BOOL CreateFromTemplate(CWnd* parent);

    int m_nTemplateId;
    const DialogTemplate* m_pTemplate = nullptr;
    std::vector<std::unique_ptr<Control>> m_controls;
    int m_nEndCode = 0;
    bool m_bEnded = false;
};

}  // namespace fw
