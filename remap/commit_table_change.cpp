// After the remap table view changed a table: the boards are told, then the file is rewritten.
#include "platform/fw/dialog.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"

fw::BOOL CTavDlg::CommitTableChange(int io, fw::BOOL confirm) {
    if (confirm) {
        fw::CDialog question(IDD_RESTORE_CONFIRM);
        if (question.DoModal() != fw::IDOK) {
            return fw::FALSE;
        }
    }
    m_nRemapCount = CountRemappedPorts(io);
    if (!NotifyBoards(io, fw::TRUE)) {
        return fw::TRUE;
    }
    if (!OpenRemapTableFile(io, fw::TRUE, fw::TRUE, {})) {
        return fw::FALSE;
    }
    WriteRemapTableFile(io);
    const bool written = GetRemapFile() != nullptr;
    CloseRemapTableFile();
    return written ? fw::TRUE : fw::FALSE;
}
