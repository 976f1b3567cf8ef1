#include "sysdef/sysdef_dlg.h"

#include "app/tav_app.h"
#include "common/format.h"
#include "platform/fw/backend.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"
#include "sysdef/idle_dlg.h"

namespace {

constexpr int kInRangeCol = 4;
constexpr int kOutRangeCol = 5;

}  // namespace

CSysDefDlg::CSysDefDlg(fw::CWnd* parent) : CDialog(IDD_SYSDEF, parent) {
    MapClicked(IDC_IDLE_INPUTS, &CSysDefDlg::OnIdleInputs);
    MapClicked(IDC_IDLE_OUTPUTS, &CSysDefDlg::OnIdleOutputs);
    MapClicked(IDC_SYSDEF_PRINT, &CSysDefDlg::OnPrint);
}

CSysDefDlg::~CSysDefDlg() = default;

void CSysDefDlg::DoDataExchange() {
    DDX_Control(IDC_IDLE_OUTPUTS, m_btnIdleOutputs);
    DDX_Control(IDC_IDLE_INPUTS, m_btnIdleInputs);
}

fw::BOOL CSysDefDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_grid =
        fw::CGridCtrl::Attach(*this, std::make_unique<CSysDefGrid>(*this, IDC_GRID, fw::Rect{}));
    m_grid->SetDialog(this);
    if (fw::Control* place = GetDlgItem(IDC_GRID)) {
        fw::Rect rect;
        place->GetWindowRect(&rect);
        m_grid->SetColumnWidths(rect.right - rect.left);
    }
    FillGrid();
    fw::Rect window;
    GetWindowRect(&window);
    const int x = (fw::GetSystemMetrics(fw::SM_CXSCREEN) - window.Width()) / 2;
    const int y = (fw::GetSystemMetrics(fw::SM_CYSCREEN) - window.Height()) / 2;
    SetWindowPos(fw::HWND_TOP, x, y, 0, 0, fw::SWP_NOSIZE | fw::SWP_SHOWWINDOW);
    return fw::TRUE;
}

void CSysDefDlg::FillGrid() {
    CTavApp* app = GetTavApp();
    CTavDlg* main = app != nullptr ? app->GetMainDlg() : nullptr;
    m_pTable = main != nullptr ? main->GetSysDefTable() : nullptr;
    if (m_pTable != nullptr) {
        m_nRows = static_cast<int>(m_pTable->size());
        // Room first: a table may hold more rows than the grid starts with.
        m_grid->SetNumRows(m_nRows + 1);
        for (int i = 0; i < m_nRows; ++i) {
            const SysDefRecord& record = *(*m_pTable)[static_cast<std::size_t>(i)];
            m_grid->SetCellText(i + 1, 0, record.m_strSwitcher);
            m_grid->SetCellText(i + 1, 1, record.m_strLevel);
            m_grid->SetCellText(i + 1, 2, tav::Format("%d", record.m_nInputs));
            m_grid->SetCellText(i + 1, 3, tav::Format("%d", record.m_nOutputs));
            m_grid->SetCellInt(i + 1, kInRangeCol, record.m_nInRange);
            m_grid->SetCellInt(i + 1, kOutRangeCol, record.m_nOutRange);
        }
        m_grid->SetNumRows(m_nRows + 1);
        return;
    }
    m_nRows = app != nullptr ? app->GetLevelCount() : 0;
    m_grid->SetNumRows(m_nRows + 1);
    m_pNewTable = std::make_unique<SysDefTable>();
    m_pTable = m_pNewTable.get();
    int row = 1;
    if (app != nullptr) {
        for (const auto& level : app->GetLevels()) {
            if (!level) {
                continue;
            }
            auto record = std::make_unique<SysDefRecord>();
            record->m_strSwitcher = level->m_strSwitcher;
            record->m_strLevel = level->m_strLevel;
            record->m_nInputs = level->m_nInputs;
            record->m_nOutputs = level->m_nOutputs;
            if (row < m_grid->GetNumRows()) {
                m_grid->SetCellText(row, 0, record->m_strSwitcher);
                m_grid->SetCellText(row, 1, record->m_strLevel);
                m_grid->SetCellText(row, 2, tav::Format("%d", record->m_nInputs));
                m_grid->SetCellText(row, 3, tav::Format("%d", record->m_nOutputs));
            }
            ++row;
            m_pTable->push_back(std::move(record));
        }
    }
    // A level list cut short holds fewer levels than the count: every row must have its record.
    if (static_cast<int>(m_pTable->size()) < m_nRows) {
        m_nRows = static_cast<int>(m_pTable->size());
        m_grid->SetNumRows(m_nRows + 1);
    }
}

int CSysDefDlg::ValidateRows(int first, int last) {
    int from = first;
    int to = last;
    if (first == 0) {
        from = 1;
        to = last == 0 ? m_nRows : last;
    } else if (last == 0) {
        to = first;
    }
    if (m_pTable == nullptr) {
        return 1;
    }
    to = std::min(to, std::min(m_nRows, static_cast<int>(m_pTable->size())));
    for (int r = std::max(from, 1); r <= to; ++r) {
        const SysDefRecord& record = *(*m_pTable)[static_cast<std::size_t>(r - 1)];
        fw::UINT field = 0;
        int v = m_grid->GetCellInt(r, kInRangeCol);
        if (v < 0 || v > record.m_nInputs) {
            field = IDS_SYSDEF_IN_RANGE;
        } else {
            v = m_grid->GetCellInt(r, kOutRangeCol);
            if (v < 0 || v > record.m_nOutputs) {
                field = IDS_SYSDEF_OUT_RANGE;
            }
        }
        if (field != 0) {
            MessageBox(tav::Format(fw::LoadString(IDS_INVALID_RANGE), fw::LoadString(field),
                                   record.m_strSwitcher, record.m_strLevel),
                       nullptr, fw::MB_OK | fw::MB_ICONHAND);
            SetFocus();
            for (int selected : m_grid->SelectedRows()) {
                m_grid->SelectRow(selected, false);
            }
            m_grid->SelectRow(r, true);
            return 0;
        }
    }
    return 1;
}

void CSysDefDlg::CommitRanges() {
    m_bAccepted = 1;
    if (m_pTable == nullptr) {
        return;
    }
    const int rows = std::min(m_nRows, static_cast<int>(m_pTable->size()));
    for (int r = 1; r <= rows; ++r) {
        SysDefRecord& record = *(*m_pTable)[static_cast<std::size_t>(r - 1)];
        record.m_nInRange = m_grid->GetCellInt(r, kInRangeCol);
        record.m_nOutRange = m_grid->GetCellInt(r, kOutRangeCol);
    }
}

void CSysDefDlg::EnableIdleButton(int which, fw::BOOL enable) {
    if (which == 0 && m_btnIdleInputs != nullptr) {
        m_btnIdleInputs->EnableWindow(enable);
    } else if (which == 1 && m_btnIdleOutputs != nullptr) {
        m_btnIdleOutputs->EnableWindow(enable);
    }
}

void CSysDefDlg::OnIdleInputs() {
    OnIdleButton(0, IDS_IDLE_INPUTS);
}

void CSysDefDlg::OnIdleOutputs() {
    OnIdleButton(1, IDS_IDLE_OUTPUTS);
}

void CSysDefDlg::OnIdleButton(int which, int kind) {
    const int row = m_grid->GetSelectedRow();
    if (m_grid->IsRowSelected() == 0 || row < 1 || !ValidateRows(row, 0)) {
        return;
    }
    CommitRanges();
    if (m_pTable == nullptr || row > static_cast<int>(m_pTable->size())) {
        return;
    }
    SysDefRecord& record = *(*m_pTable)[static_cast<std::size_t>(row - 1)];
    auto& start = which == 0 ? record.m_pIdleInStart : record.m_pIdleOutStart;
    auto& count = which == 0 ? record.m_pIdleInCount : record.m_pIdleOutCount;
    if (!start) {
        start.emplace();
    }
    if (!count) {
        count.emplace();
    }
    OpenIdleDialog(kind);
}

void CSysDefDlg::OpenIdleDialog(int kind) {
    const int row = m_grid->GetSelectedRow();
    if (m_pTable == nullptr || row < 1 || row > static_cast<int>(m_pTable->size())) {
        return;
    }
    auto dlg = std::make_unique<CIdleDlg>(
        kind, (*m_pTable)[static_cast<std::size_t>(row - 1)].get(), this);
    dlg->DoModal();
}

void CSysDefDlg::OnOK() {
    if (!ValidateRows(0, 0)) {
        return;
    }
    ShowWindow(fw::SW_HIDE);
    CommitRanges();
    CTavApp* app = GetTavApp();
    CTavDlg* main = app != nullptr ? app->GetMainDlg() : nullptr;
    if (main != nullptr && m_pNewTable) {
        main->SetSysDefTable(std::move(m_pNewTable));
    }
    EndDialog(fw::IDOK);
    if (main != nullptr) {
        main->RefillIdleLists();
    }
}

void CSysDefDlg::OnCancel() {
    m_bAccepted = 0;
    EndDialog(fw::IDCANCEL);
}
