#include "files/file_lock.h"

#include "app/tav_app.h"
#include "common/format.h"
#include "platform/fw/backend.h"
#include "platform/fw/dialog.h"
#include "platform/fw/message_queue.h"
#include "res/resource.h"

namespace {

// How often the lock is tried again while another workstation holds it. The other workstation's
// change takes seconds (its boards are given at least four), so a quarter of a second is soon
// enough and costs nothing.
constexpr unsigned kRetryMs = 250;

// "Another workstation is changing ...", modeless, with Give up (its Cancel).
class CLockWaitDlg : public fw::CDialog {
  public:
    explicit CLockWaitDlg(std::string name) : CDialog(IDD_LOCK_WAIT), m_name(std::move(name)) {}
    bool GaveUp() const { return m_bGaveUp; }

  protected:
    fw::BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetDlgItemText(IDC_LOCK_WAIT_TEXT,
                       tav::Format("Another workstation is changing %s.\nTavora goes on as soon "
                                   "as it has finished.",
                                   m_name));
        return fw::TRUE;
    }
    // Give up, Esc or the close box: the wait ends and nothing is changed.
    void OnCancel() override { m_bGaveUp = true; }

  private:
    std::string m_name;
    bool m_bGaveUp = false;
};

}  // namespace

com::HRESULT CFileLock::TryOnce() {
    CTavApp* app = GetTavApp();
    com::HRESULT hr =
        m_locks->TryLock(static_cast<std::uint16_t>(m_name.size() + 1), m_name.c_str());
    if (com::FAILED(hr)) {
        app->GetFileAccess();  // the error dialog names File Access
        app->ReportError(hr, "TavDlg", __LINE__);
    }
    return hr;
}

bool CFileLock::Take(fw::CWnd* window) {
    if (m_held) {
        return true;
    }
    CTavApp* app = GetTavApp();
    control::IFileAccess* files = app != nullptr ? app->GetFileAccess() : nullptr;
    if (files == nullptr) {
        return true;
    }
    if (!m_locks) {
        const com::HRESULT hr =
            files->QueryInterface(control::IFileLocks::kIid, m_locks.ReleaseAndGetVoidAddressOf());
        if (com::FAILED(hr) || !m_locks) {
            app->GetFileAccess();
            app->ReportError(com::FAILED(hr) ? hr : com::E_NOINTERFACE, "TavDlg", __LINE__);
            return false;
        }
    }
    com::HRESULT hr = TryOnce();
    if (hr != com::S_FALSE) {
        m_held = hr == com::S_OK;
        return m_held;
    }
    CLockWaitDlg wait(m_name);
    wait.Create(IDD_LOCK_WAIT);
    wait.ShowWindow(fw::SW_SHOW);
    wait.UpdateWindow();
    const bool disable = window != nullptr && window->IsWindowEnabled();
    if (disable) {
        window->EnableWindow(fw::FALSE);
    }
    // Until the other workstation lets the lock go, the operator gives up, or a quit (the
    // configuration set changing) ends the program.
    while (hr == com::S_FALSE && fw::PumpWaitingMessages() && !wait.GaveUp()) {
        fw::GetBackend().WaitForEventsFor(wait, kRetryMs);
        if (fw::PumpWaitingMessages() && !wait.GaveUp()) {
            hr = TryOnce();
        }
    }
    if (disable) {
        window->EnableWindow(fw::TRUE);
    }
    wait.DestroyWindow();
    m_held = hr == com::S_OK;
    return m_held;
}

void CFileLock::Release() {
    if (!m_held) {
        return;
    }
    m_held = false;
    const com::HRESULT hr =
        m_locks->Unlock(static_cast<std::uint16_t>(m_name.size() + 1), m_name.c_str());
    if (com::FAILED(hr)) {
        CTavApp* app = GetTavApp();
        app->GetFileAccess();
        app->ReportError(hr, "TavDlg", __LINE__);
    }
}
