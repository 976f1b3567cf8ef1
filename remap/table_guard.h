// A remap table kept in step with its default file ("TAV.IXT", "TAV.OXT") when other workstations
// share the data folder. A command that changes the table first refreshes it: the file is read
// again when it was changed elsewhere, and the operator told. Just before the boards are told, the
// file's lock is taken and held until the file has been rewritten (the guard's end); a file
// changed elsewhere in between (while the operator answered this command's questions) stops the
// command, with the table read again and the operator told, so that nothing is ever decided on a
// table that is no longer the one in force.
#pragma once

#include <memory>

#include "files/shared_file_guard.h"
#include "records/io_type.h"

class CTavDlg;

class CTableGuard {
  public:
    enum class For { Remap, Restore };

    // io 0 input, 1 output; for any other value, or without the main dialog, there is nothing
    // to guard. window: the window the operator works in (the main dialog when none is given).
    CTableGuard(CTavDlg* dlg, IoType io, fw::CWnd* window = nullptr);

    // Waits for the lock, reads the file again when it was changed elsewhere (the operator is
    // told), and lets the lock go. False when the command must not go on.
    bool Refresh();
    // Takes the lock and keeps it until the guard ends. When the file was changed elsewhere since
    // the table was read, the table is read again, the operator told that nothing was done, and
    // the result is false.
    bool Hold(For purpose);
    // The table was read again from its file: what the command changed in memory is gone.
    bool WasReadAgain() const { return m_readAgain; }

  private:
    // The table as it would be written: the bytes of an unchanged file.
    std::string HeldBytes() const;
    void ReadAgain(const char* consequence);

    CTavDlg* m_dlg;
    IoType m_io;
    std::unique_ptr<CSharedFileGuard> m_file;  // none: nothing to guard
    bool m_readAgain = false;
};
