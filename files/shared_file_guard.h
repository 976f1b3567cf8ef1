// One file of the data folder that other workstations may change while this one holds a copy of
// its content: its lock, and whether the file still holds what this workstation last saw of it.
// The lock is held only from the check until the file is written, never while the operator is
// asked something, so another workstation never waits on a question nobody answers.
#pragma once

#include <optional>
#include <string>

#include "files/file_lock.h"
#include "files/known_files.h"

class CSharedFileGuard {
  public:
    enum class State {
        Unchanged,  // the lock is held and the file holds what the copy here was taken from
        Changed,    // the lock is held, and the file was changed elsewhere since
        NotTaken,   // the operator gave up, the program is ending, or a failure was reported
    };

    CSharedFileGuard(CKnownFiles& known, std::string name, fw::CWnd* window)
        : m_known(known), m_lock(std::move(name)), m_window(window) {}
    // Lets a lock still held go, remembering what the file holds then.
    ~CSharedFileGuard() { Release(); }
    CSharedFileGuard(const CSharedFileGuard&) = delete;
    CSharedFileGuard& operator=(const CSharedFileGuard&) = delete;

    // Takes the lock and reads the file. It is unchanged when it holds what this workstation last
    // saw of it, or exactly `held` (the bytes the copy held here would be written as: nothing
    // would be lost by writing it); changed otherwise.
    State TakeAndCheck(const std::optional<std::string>& held);
    // Reads what the file holds now, remembers it as last seen, and lets the lock go.
    void Release();
    // Lets the lock go; what was read at the check is not yet taken for last seen.
    void Unlock() { m_lock.Release(); }
    // The copy here has been read again: what the check read becomes what was last seen. The
    // copy may be newer than that (read without the lock), which only makes the next check read
    // it once more.
    void AdoptChecked();

    const std::string& Name() const { return m_lock.Name(); }
    fw::CWnd* Window() const { return m_window; }

  private:
    CKnownFiles& m_known;
    CFileLock m_lock;
    fw::CWnd* m_window;
    std::optional<CKnownFiles::Content> m_checked;
};
