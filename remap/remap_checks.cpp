// The 64-port limit and the conflict check of a remap about to be applied.
#include "platform/fw/resources.h"
#include "remap/conflict_walk.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"

fw::BOOL CTavDlg::CheckRemapLimit(IoType nIOType, int nLimit) {
    int ports = 1;
    if (m_nRangeMode != 0) {
        int first = 0;
        int last = 0;
        GetOriginalRange(first, last);
        ports = last - first + 1;
    }
    m_nRemapCount = CountRemappedPorts(nIOType) + ports;
    if (m_nRemapCount <= nLimit) {
        return fw::TRUE;
    }
    MessageBox(fw::LoadString(IDS_TOO_MANY_REMAPS), nullptr, fw::MB_ICONHAND);
    m_nRemapCount = 0;
    return fw::FALSE;
}

fw::BOOL CTavDlg::CheckRemapConflicts() {
    if (m_nRangeMode == 2 || !Table(m_nIOType)) {
        return fw::FALSE;
    }
    m_bReplacedInPlace = false;
    const std::string ioWord = fw::LoadString(m_nIOType == IoType::Output ? IDS_OUTPUT : IDS_INPUT);
    const std::string modeWord =
        fw::LoadString(m_nRangeMode == 0 ? IDS_MODE_SINGLE : IDS_MODE_WHOLE_BOARD);
    m_nSysDefRow = FindSysDefRow();
    remap::RemapNumbers numbers;
    GetRemapNumbers(numbers.origFirst, numbers.origLast, numbers.newFirst, numbers.newLast);
    const remap::WalkOutcome outcome = remap::WalkConflicts(
        *Table(m_nIOType), m_nSysDefRow, numbers, ioWord, modeWord,
        [this](const std::string& text, fw::UINT type) { return MessageBox(text, nullptr, type); });
    m_bReplacedInPlace = outcome.replacedInPlace;
    return outcome.abort ? fw::TRUE : fw::FALSE;
}
