#include "sysdef/idle_dlg.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "common/format.h"
#include "common/number.h"
#include "res/resource.h"

namespace {

constexpr int kStartCol = 0;
constexpr int kCountCol = 1;

// Whether the cell's number is the one typed: the grid reads a number past the int range as the
// int's end, a start nobody typed.
bool HoldsTypedNumber(const fw::CGridCtrl& grid, int row, int col) {
    const auto number = tav::ReadWholeNumber(grid.GetCellText(row, col));
    return !number || tav::FitsInt(*number);
}

}  // namespace

CIdleDlg::CIdleDlg(int kind, SysDefRecord* record, fw::CWnd* parent)
    : CDialog(IDD_IDLE, parent),
      m_pRecord(record),
      m_strSwitcher(record != nullptr ? record->m_strSwitcher : std::string()),
      m_strLevel(record != nullptr ? record->m_strLevel : std::string()),
      m_nKind(kind) {}

bool CIdleDlg::IsInputKind() const {
    return m_nKind == static_cast<int>(IDS_IDLE_INPUTS);
}

int CIdleDlg::BoardRange() const {
    if (m_pRecord == nullptr) {
        return 0;
    }
    return IsInputKind() ? m_pRecord->m_nInRange : m_pRecord->m_nOutRange;
}

fw::BOOL CIdleDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_grid = fw::CGridCtrl::Attach(*this, std::make_unique<CIdleGrid>(*this, IDC_GRID, fw::Rect{}));
    m_grid->SetKind(m_nKind);
    if (fw::Control* place = GetDlgItem(IDC_GRID)) {
        fw::Rect rect;
        place->GetWindowRect(&rect);
        m_grid->SetColumnWidths(rect.right - rect.left);
    }
    SetWindowText(fw::LoadString(static_cast<fw::UINT>(m_nKind)) + " - " + m_strSwitcher + " - " +
                  m_strLevel);
    FillGrid();
    return fw::TRUE;
}

void CIdleDlg::FillGrid() {
    if (m_pRecord == nullptr) {
        return;
    }
    const int count = IsInputKind() ? m_pRecord->m_nIdleInRanges : m_pRecord->m_nIdleOutRanges;
    const auto& start = IsInputKind() ? m_pRecord->m_pIdleInStart : m_pRecord->m_pIdleOutStart;
    const auto& length = IsInputKind() ? m_pRecord->m_pIdleInCount : m_pRecord->m_pIdleOutCount;
    if (!start || !length) {
        return;
    }
    // A count above what the arrays hold (a record read from a damaged file) shows what exists.
    const int shown = std::min({count, static_cast<int>(start->size()),
                                static_cast<int>(length->size()), m_grid->GetNumRows() - 1});
    for (int k = 0; k < shown; ++k) {
        m_grid->SetCellInt(k + 1, kStartCol,
                           static_cast<int>((*start)[static_cast<std::size_t>(k)]));
        m_grid->SetCellInt(k + 1, kCountCol,
                           static_cast<int>((*length)[static_cast<std::size_t>(k)]));
    }
}

void CIdleDlg::SelectGridRow(int row) {
    for (int selected : m_grid->SelectedRows()) {
        m_grid->SelectRow(selected, false);
    }
    m_grid->SelectRow(row, true);
}

int CIdleDlg::ValidateCounts() {
    const int range = BoardRange();
    for (int r = 1; r < m_grid->GetNumRows(); ++r) {
        const int length = m_grid->GetCellInt(r, kCountCol);
        if (length == 0) {
            break;
        }
        std::string text;
        if (length > range) {
            text = tav::Format("Error in Row# %d\n%s", r, fw::LoadString(IDS_COUNT_TOO_LARGE));
        } else if (const int start = m_grid->GetCellInt(r, kStartCol);
                   length < 0 || start < 0 || !HoldsTypedNumber(*m_grid, r, kStartCol) ||
                   std::int64_t{start} + length - 1 > INT_MAX) {
            // Ports count from 0 and a range has a length: a negative value is no range. Nor is
            // one whose numbers run past the int range, where they could not be offered as typed.
            text = tav::Format(fw::LoadString(IDS_ROW_INVALID), r);
        } else {
            continue;
        }
        MessageBox(text, nullptr, fw::MB_OK | fw::MB_ICONHAND);
        SelectGridRow(r);
        return 0;
    }
    return 1;
}

void CIdleDlg::CopyBack() {
    if (m_pRecord == nullptr || (m_nKind != static_cast<int>(IDS_IDLE_INPUTS) &&
                                 m_nKind != static_cast<int>(IDS_IDLE_OUTPUTS))) {
        return;
    }
    auto& start = IsInputKind() ? m_pRecord->m_pIdleInStart : m_pRecord->m_pIdleOutStart;
    auto& length = IsInputKind() ? m_pRecord->m_pIdleInCount : m_pRecord->m_pIdleOutCount;
    start.emplace();
    length.emplace();
    for (int r = 1; r < m_grid->GetNumRows(); ++r) {
        const int count = m_grid->GetCellInt(r, kCountCol);
        if (count == 0) {
            break;
        }
        start->push_back(static_cast<std::uint32_t>(m_grid->GetCellInt(r, kStartCol)));
        length->push_back(static_cast<std::uint32_t>(count));
    }
    (IsInputKind() ? m_pRecord->m_nIdleInRanges : m_pRecord->m_nIdleOutRanges) =
        static_cast<int>(start->size());
}

int CIdleDlg::CheckRanges() {
    if (m_pRecord == nullptr) {
        return 1;
    }
    const long long range = BoardRange();
    const auto& starts = IsInputKind() ? m_pRecord->m_pIdleInStart : m_pRecord->m_pIdleOutStart;
    const auto& lengths = IsInputKind() ? m_pRecord->m_pIdleInCount : m_pRecord->m_pIdleOutCount;
    if (!starts || !lengths) {
        return 1;
    }
    const int count = IsInputKind() ? m_pRecord->m_nIdleInRanges : m_pRecord->m_nIdleOutRanges;
    const int n =
        std::min({count, static_cast<int>(starts->size()), static_cast<int>(lengths->size())});
    for (int i = 0; i < n; ++i) {
        const long long s = (*starts)[static_cast<std::size_t>(i)];
        const long long c = (*lengths)[static_cast<std::size_t>(i)];
        // Without a board range there is no boundary to cross (and nothing to divide by).
        if (range > 0 && (s % range) + c > range) {
            MessageBox(tav::Format(fw::LoadString(IDS_ROW_INVALID), i + 1), nullptr,
                       fw::MB_OK | fw::MB_ICONHAND);
            return 0;
        }
        for (int j = i + 1; j < n; ++j) {
            const long long s2 = (*starts)[static_cast<std::size_t>(j)];
            const long long c2 = (*lengths)[static_cast<std::size_t>(j)];
            // Any shared port is a conflict, also a later range lying wholly inside this one.
            if (s < s2 + c2 && s2 < s + c) {
                SelectGridRow(i + 1);
                MessageBox(tav::Format(fw::LoadString(IDS_ROWS_CONFLICT), i + 1, j + 1), nullptr,
                           fw::MB_OK | fw::MB_ICONHAND);
                return 0;
            }
        }
    }
    return 1;
}

void CIdleDlg::OnOK() {
    if (!ValidateCounts()) {
        return;
    }
    CopyBack();
    if (!CheckRanges()) {
        return;
    }
    EndDialog(fw::IDOK);
}
