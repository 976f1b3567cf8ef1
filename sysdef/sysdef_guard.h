// The System Definition Table kept in step with "TAV.SDF" when other workstations share the data
// folder. Before it is edited the table is read again when the file was changed elsewhere; before
// it is saved, the file's lock is taken and held until the file is written (the guard's end). A
// file changed elsewhere since it was read is never overwritten silently: the operator is asked
// first, without the lock held meanwhile.
#pragma once

#include "files/shared_file_guard.h"

class CTavDlg;

class CSysDefGuard {
  public:
    explicit CSysDefGuard(CTavDlg& dlg);

    // Reads the file again when it was changed elsewhere (the operator is told); the lock is let
    // go again.
    void Refresh();
    // Takes the lock for the save and keeps it until the guard ends. When the file was changed
    // elsewhere the operator chooses: replace it with the table edited here (true), or keep it,
    // and the table is read from it again (false: nothing is to be saved).
    bool Hold();
    // After Hold gave false: why nothing is to be saved, as the audit trail records it.
    const char* Outcome() const { return m_kept ? "kept" : "not-saved"; }
    const char* Reason() const {
        return m_kept ? "changed at another workstation" : "the file's lock was not taken";
    }

  private:
    // The held table as the save writes it; nullopt when the save would write nothing.
    std::optional<std::string> HeldBytes() const;
    void ReadAgain();

    CTavDlg& m_dlg;
    CSharedFileGuard m_file;
    bool m_kept = false;
};
