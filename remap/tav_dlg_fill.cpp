// The main dialog's lists: switchers and levels of the configuration, and the original and new
// numbers and ranges that the System Definition Table offers for the selected level.
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "app/tav_app.h"
#include "common/format.h"
#include "common/text.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"

namespace {

// The list texts are read as the platform's fixed buffers would hold them.
constexpr std::size_t kMaxListText = 31;

struct IdleRange {
    std::int64_t first;
    std::int64_t count;
};

// The idle ranges of one direction of a row. A row read from a damaged file may announce more
// ranges than it holds: only those it holds are offered.
std::vector<IdleRange> IdleRanges(const SysDefRecord& record, IoType io) {
    const bool input = io == IoType::Input;
    const std::int32_t announced = input ? record.m_nIdleInRanges : record.m_nIdleOutRanges;
    const auto& starts = input ? record.m_pIdleInStart : record.m_pIdleOutStart;
    const auto& counts = input ? record.m_pIdleInCount : record.m_pIdleOutCount;
    std::vector<IdleRange> ranges;
    if (announced <= 0 || !starts || !counts) {
        return ranges;
    }
    const std::size_t held =
        std::min({static_cast<std::size_t>(announced), starts->size(), counts->size()});
    for (std::size_t k = 0; k < held; ++k) {
        ranges.push_back({(*starts)[k], (*counts)[k]});
    }
    return ranges;
}

}  // namespace

void CTavDlg::FillSwitcherList() {
    fw::Control* switchers = GetDlgItem(IDC_SWITCHER);
    switchers->ResetContent();
    bool added = false;
    for (const auto& level : GetTavApp()->GetLevels()) {
        bool listed = false;
        for (const auto& item : switchers->Items()) {
            listed = listed || tav::EqualNoCase(item, level->m_strSwitcher);
        }
        if (!listed) {
            switchers->AddString(level->m_strSwitcher);
            added = true;
        }
    }
    if (added) {
        switchers->SetCurSel(0);
        FillLevelList();
    }
}

void CTavDlg::FillLevelList() {
    fw::Control* switchers = GetDlgItem(IDC_SWITCHER);
    if (switchers->GetCurSel() < 0) {
        return;
    }
    const std::string switcher = switchers->GetItemText(switchers->GetCurSel());
    fw::Control* levels = GetDlgItem(IDC_LEVEL);
    levels->ResetContent();
    for (const auto& level : GetTavApp()->GetLevels()) {
        if (tav::EqualNoCase(level->m_strSwitcher, switcher)) {
            levels->AddString(level->m_strLevel);
        }
    }
    levels->SetCurSel(0);
}

int CTavDlg::FindSysDefRow() {
    if (!m_pSysDefTable) {
        return -1;
    }
    const std::string switcher = GetDlgItemText(IDC_SWITCHER).substr(0, kMaxListText);
    const std::string level = GetDlgItemText(IDC_LEVEL).substr(0, kMaxListText);
    for (std::size_t row = 0; row < m_pSysDefTable->size(); ++row) {
        const SysDefRecord& record = *(*m_pSysDefTable)[row];
        if (tav::EqualNoCase(record.m_strSwitcher, switcher) &&
            tav::EqualNoCase(record.m_strLevel, level)) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

int CTavDlg::PortCount() const {
    return m_nIOType == IoType::Input ? m_pSysDefRecord->m_nInputs : m_pSysDefRecord->m_nOutputs;
}

int CTavDlg::BoardSize() const {
    return m_nIOType == IoType::Input ? m_pSysDefRecord->m_nInRange : m_pSysDefRecord->m_nOutRange;
}

void CTavDlg::FillNewNumberList() {
    if (m_nIOType == IoType::None) {
        return;
    }
    fw::Control* numbers = GetDlgItem(IDC_NEW_NUMBER);
    numbers->ResetContent();
    m_nSysDefRow = FindSysDefRow();
    if (m_nSysDefRow == -1) {
        // A level without a row has nothing to offer. Keeping the row of the level selected
        // before would fill the ranges from that level and record a remap under its names.
        m_pSysDefRecord = nullptr;
        return;
    }
    m_pSysDefRecord = (*m_pSysDefTable)[static_cast<std::size_t>(m_nSysDefRow)].get();
    for (const IdleRange& range : IdleRanges(*m_pSysDefRecord, m_nIOType)) {
        for (std::int64_t number = range.first; number < range.first + range.count; ++number) {
            numbers->AddString(tav::Format("%d", static_cast<int>(number)));
        }
    }
}

void CTavDlg::FillNewRangeList() {
    if (m_nIOType == IoType::None) {
        return;
    }
    fw::Control* ranges = GetDlgItem(IDC_NEW_RANGE);
    ranges->ResetContent();
    if (m_pSysDefRecord == nullptr) {
        return;  // emptied all the same: no other level's ranges may stay on offer
    }
    const int size = BoardSize();
    for (const IdleRange& range : IdleRanges(*m_pSysDefRecord, m_nIOType)) {
        if (range.count == size) {
            ranges->AddString(tav::Format("%d-%d", static_cast<int>(range.first),
                                          static_cast<int>(range.first + range.count - 1)));
        }
    }
}

void CTavDlg::FillOriginalRangeList() {
    if (m_nIOType == IoType::None) {
        return;
    }
    fw::Control* ranges = GetDlgItem(IDC_ORIGINAL_RANGE);
    ranges->ResetContent();
    if (m_pSysDefRecord == nullptr) {
        return;  // emptied all the same: no other level's boards may stay on offer
    }
    const int total = PortCount();
    const int size = BoardSize();
    if (size < 1) {
        return;  // no board size set: there are no boards to offer
    }
    const int boards = total / size;
    for (int i = 0; i < boards; ++i) {
        ranges->AddString(tav::Format("%d-%d", i * size, (i + 1) * size - 1));
    }
    if (total > boards * size) {
        ranges->AddString(tav::Format("%d-%d", boards * size, total - 1));
    }
    // The board that holds the typed number is shown with it. Ports count from 0, so the board
    // is the one whose printed range holds the number; nothing typed selects nothing.
    if (GetDlgItemText(IDC_ORIGINAL_NUMBER).empty()) {
        return;
    }
    const int n = GetOriginalNumber();
    if (n >= 0 && n < total) {
        ranges->SetCurSel(n / size);
    }
}

void CTavDlg::RefillIdleLists() {
    FillNewNumberList();
    FillNewRangeList();
    // The board size may have changed with the table: boards of the old size must not stay on
    // offer beside idle ranges of the new one.
    FillOriginalRangeList();
    if (m_nIOType != IoType::None) {
        EnableRemapFromCheck();
    }
}
