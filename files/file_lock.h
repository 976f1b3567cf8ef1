// The lock of one file of the data folder, which other workstations may share. It is held while
// this workstation decides on the file's content and writes it; another workstation then waits.
// While another workstation holds it, the operator is told and may give up; it is never taken
// from the other workstation.
#pragma once

#include <string>

#include "platform/com/com_ptr.h"
#include "platform/control/interfaces.h"
#include "platform/fw/window.h"

class CFileLock {
  public:
    explicit CFileLock(std::string name) : m_name(std::move(name)) {}
    ~CFileLock() { Release(); }
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;

    // Takes the lock. While another workstation holds it, a window says so and the lock is tried
    // again and again, `window` (when given) disabled meanwhile. False when it was not taken: the
    // operator gave up, the program is ending, or a failure was reported. Without File Access
    // there is nothing to lock, and that is no failure.
    bool Take(fw::CWnd* window);
    // Lets the lock go (a failure is reported); nothing when it is not held.
    void Release();
    bool Held() const { return m_held; }
    const std::string& Name() const { return m_name; }

  private:
    // S_OK taken, S_FALSE held elsewhere, or the failure, already reported.
    com::HRESULT TryOnce();

    std::string m_name;
    com::ComPtr<control::IFileLocks> m_locks;
    bool m_held = false;
};
