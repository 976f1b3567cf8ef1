// The System Definition Table held by the main dialog: loading and saving "TAV.SDF", the check
// against the configured levels, and disposal.
#include <algorithm>
#include <cctype>

#include "app/tav_app.h"
#include "audit_events/audit_events.h"
#include "common/text.h"
#include "files/tav_file.h"
#include "platform/control/file_access_codes.h"
#include "remap/tav_dlg.h"
#include "sysdef/sysdef_format.h"
#include "sysdef/sysdef_guard.h"

namespace {

constexpr const char* kSaveCaption = "Save System Definition File";
constexpr const char* kNotWritten =
    "TAV.SDF was not written. The table just entered stays in force until Tavora ends; to save "
    "it, choose View > System Definition and OK.";

}  // namespace

int CTavDlg::LoadSysDefTable() {
    auto file = std::make_unique<CTavFile>(sysdef::kSysDefFileName, CTavFile::kRead);
    if (file->m_nError != 0) {
        FreeSysDefTable(m_pSysDefTable);
        if (file->m_nError == control::kCodeNotFound) {
            return 0;
        }
        // The table exists but could not be opened: the operator hears why, and is not offered
        // to define a new one in its place.
        file->ReportOpenError();
        return -1;
    }
    // A table held from before is replaced, so the remembered row must not outlive it.
    FreeSysDefTable(m_pSysDefTable);
    m_pSysDefTable = std::make_unique<SysDefTable>();
    m_nSysDefCount = 0;
    std::string line;
    while (file->ReadLine(line)) {
        m_pSysDefTable->push_back(sysdef::ParseSysDefLine(line));
        ++m_nSysDefCount;
    }
    if (file->m_nError != 0) {
        // A read failure (reported) leaves a table cut short, which would pass for another
        // configuration's.
        FreeSysDefTable(m_pSysDefTable);
        m_nSysDefCount = 0;
        return -1;
    }
    file->Close();
    return 1;
}

int CTavDlg::IsSysDefTableCurrent() {
    if (!m_pSysDefTable) {
        return 0;
    }
    m_nSysDefCount = static_cast<int>(m_pSysDefTable->size());
    const CTavApp* app = GetTavApp();
    const auto& levels = app->GetLevels();
    if (m_nSysDefCount != app->GetLevelCount()) {
        return 0;
    }
    for (std::size_t i = 0; i < levels.size(); ++i) {
        // A level list cut short by a failed read may be longer than the table is.
        if (i >= m_pSysDefTable->size()) {
            return 0;
        }
        const CSwitcherLevel& level = *levels[i];
        const SysDefRecord& record = *(*m_pSysDefTable)[i];
        if (!tav::EqualNoCase(level.m_strSwitcher, record.m_strSwitcher) ||
            !tav::EqualNoCase(level.m_strLevel, record.m_strLevel) ||
            level.m_nInputs != record.m_nInputs || level.m_nOutputs != record.m_nOutputs) {
            return 0;
        }
    }
    return 1;
}

void CTavDlg::FreeSysDefTable(std::unique_ptr<SysDefTable>& table) {
    if (!table) {
        return;
    }
    // The remembered row points into the held table; it must not be left dangling.
    const bool holdsRememberedRow =
        table.get() == m_pSysDefTable.get() ||
        std::any_of(table->begin(), table->end(),
                    [this](const auto& record) { return record.get() == m_pSysDefRecord; });
    if (holdsRememberedRow) {
        m_pSysDefRecord = nullptr;
        m_nSysDefRow = -1;
    }
    table.reset();
}

void CTavDlg::SetSysDefTable(std::unique_ptr<SysDefTable> table) {
    FreeSysDefTable(m_pSysDefTable);
    m_pSysDefTable = std::move(table);
    m_nSysDefCount = m_pSysDefTable ? static_cast<int>(m_pSysDefTable->size()) : 0;
    ShowSysDefStatus();
}

void CTavDlg::FollowSysDefTable() {
    RefillIdleLists();
    ShowSysDefStatus();
}

void CTavDlg::SaveSysDefTable() {
    if (!m_pSysDefTable) {
        return;
    }
    m_nSysDefCount = static_cast<int>(m_pSysDefTable->size());
    if (m_nSysDefCount == 0) {
        return;
    }
    AuditChange change(AuditKind::SysDefSave);
    change.file = sysdef::kSysDefFileName;
    change.count = m_nSysDefCount;
    // Checked before the file is opened: a value wider than its column would shift every later
    // column, and opening for replacement would already commit to a new content.
    if (const std::string problem = sysdef::FindUnfitValue(*m_pSysDefTable); !problem.empty()) {
        MessageBox("The System Definition Table was not saved.\n" + problem, kSaveCaption,
                   fw::MB_OK | fw::MB_ICONSTOP);
        change.outcome = "refused";
        change.reason = problem;
        return RecordAuditEvent(change);
    }
    CSysDefGuard guard(*this);
    if (!guard.Hold()) {
        change.outcome = guard.Outcome();
        change.reason = guard.Reason();
        if (change.outcome == std::string("not-saved")) {
            MessageBox(kNotWritten, kSaveCaption, fw::MB_OK | fw::MB_ICONSTOP);
        }
        return RecordAuditEvent(change);
    }
    change.outcome = "saved";
    // Whatever keeps the file from being written, the table just entered stays held and in force:
    // the operator would otherwise have to enter it all again, and the main dialog would offer
    // ports from a table no longer held.
    auto file = std::make_unique<CTavFile>(sysdef::kSysDefFileName, CTavFile::kReplace);
    if (file->m_nError != 0) {
        MessageBox("Open file failure", kSaveCaption, fw::MB_OK);
        change.outcome = "file-error";
    } else {
        try {
            for (std::size_t i = 0; i < m_pSysDefTable->size(); ++i) {
                file->WriteLine(sysdef::FormatSysDefLine(*(*m_pSysDefTable)[i], i));
            }
        } catch (const CUserException&) {
            // The file has shown its error dialog; the broken-off replacement leaves the previous
            // file as it was.
            change.outcome = "file-error";
        }
        file->Close();
        if (file->m_nError != 0) {
            change.outcome = "file-error";
        }
    }
    if (change.outcome == "file-error") {
        MessageBox(kNotWritten, kSaveCaption, fw::MB_OK | fw::MB_ICONSTOP);
    }
    RecordAuditEvent(change);
}
