#include "files/file_dlg.h"

#include <array>
#include <cstring>

#include "app/tav_app.h"
#include "audit_events/audit_events.h"
#include "common/text.h"
#include "platform/com/com.h"
#include "platform/control/file_access_codes.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"

namespace {

constexpr std::uint32_t kListingAttributes = control::kAttrHidden | control::kAttrDirectory;
constexpr std::uint32_t kHiddenFromListing =
    control::kAttrReadOnly | control::kAttrHidden | control::kAttrSystem | control::kAttrDirectory;

bool IsInterfaceCode(com::HRESULT hr) {
    return com::HRESULT_FACILITY(hr) == com::FACILITY_ITF;
}

}  // namespace

CFileDlg::CFileDlg(int mode, fw::CWnd* parent)
    : CDialog(IDD_FILE, parent),
      m_nMode(mode),
      m_strAllFiles(fw::LoadString(IDS_ALL_FILES)),
      m_strOutputPattern(fw::LoadString(IDS_OUTPUT_PATTERN)),
      m_strInputPattern(fw::LoadString(IDS_INPUT_PATTERN)) {
    MapClicked(IDC_INPUT, &CFileDlg::OnInput);
    MapClicked(IDC_OUTPUT, &CFileDlg::OnOutput);
    MapNotify(IDC_FILE_TYPE, fw::CBN_SELCHANGE, &CFileDlg::OnSelchangeFileType);
    MapNotify(IDC_FILE_LIST, fw::LBN_SELCHANGE, &CFileDlg::OnSelchangeFileList);
}

void CFileDlg::DoDataExchange() {
    DDX_Control(IDC_FILE_TYPE, m_pFileType);
    DDX_Control(IDC_FILE_TYPE_LABEL, m_pFileTypeLabel);
    DDX_Control(fw::IDOK, m_pOK);
    DDX_Control(IDC_FILE_NAME_LABEL, m_pFileNameLabel);
    DDX_Control(IDC_FILE_LIST, m_pFileList);
    DDX_Control(IDC_FILE_NAME, m_pFileName);
}

fw::BOOL CFileDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(fw::LoadString(m_nMode == kSave ? IDS_SAVE_AS : IDS_SELECT_REMAP_TABLE));
    m_pOK->SetWindowText(fw::LoadString(m_nMode == kSave ? IDS_SAVE : IDS_SELECT));
    return fw::TRUE;
}

void CFileDlg::OnInput() {
    ChooseType(IoType::Input);
}

void CFileDlg::OnOutput() {
    ChooseType(IoType::Output);
}

void CFileDlg::ChooseType(IoType type) {
    m_nType = type;
    m_pFileType->ResetContent();
    for (fw::Control* c :
         {m_pOK, m_pFileTypeLabel, m_pFileNameLabel, m_pFileList, m_pFileName, m_pFileType}) {
        c->EnableWindow(fw::TRUE);
    }
    m_pFileType->AddString(type == IoType::Input ? m_strInputPattern : m_strOutputPattern);
    m_pFileType->AddString(m_strAllFiles);
    m_pFileType->SetCurSel(0);
    FillFileList();
}

void CFileDlg::OnSelchangeFileType() {
    FillFileList();
}

void CFileDlg::OnSelchangeFileList() {
    const int sel = m_pFileList->GetCurSel();
    if (sel >= 0) {
        m_pFileName->SetWindowText(m_pFileList->GetItemText(sel));
    }
}

void CFileDlg::FillFileList() {
    const std::string pattern = m_pFileType->GetItemText(m_pFileType->GetCurSel());
    m_pFileList->ResetContent();
    CTavApp* app = GetTavApp();
    control::IFileAccess* files = app->GetFileAccess();
    std::array<std::uint8_t, control::kFindRecordSize> record{};
    com::HRESULT hr = files != nullptr
                          ? files->FindFirst(static_cast<std::uint16_t>(pattern.size() + 1),
                                             pattern.c_str(), kListingAttributes, record.data())
                          : com::E_POINTER;
    if (com::FAILED(hr)) {
        if (IsInterfaceCode(hr) && com::HRESULT_CODE(hr) != control::kCodeNothingFound) {
            app->ReportError(hr, "FileDlg", __LINE__);
        }
        return;
    }
    m_mapListed.clear();
    while (com::SUCCEEDED(hr)) {
        std::uint32_t attributes = 0;
        std::memcpy(&attributes, record.data() + control::kFindAttributesOffset, sizeof attributes);
        if ((attributes & kHiddenFromListing) == 0) {
            const char* name =
                reinterpret_cast<const char*>(record.data() + control::kFindNameOffset);
            const std::string text(name, strnlen(name, control::kFindNameCapacity));
            m_pFileList->AddString(text);
            m_mapListed.insert(text);
        }
        hr = files->FindNext(record.data());
    }
}

std::string CFileDlg::NameToUse() const {
    std::string name = m_pFileName->GetWindowText();
    if (m_pFileType->GetCurSel() == 0) {
        const std::string pattern = m_pFileType->GetItemText(0);
        const auto dot = pattern.find('.');
        const std::string extension = dot == std::string::npos ? pattern : pattern.substr(dot);
        if (!tav::EndsWithNoCase(name, extension)) {
            name += pattern.substr(pattern.size() >= 4 ? pattern.size() - 4 : 0);
        }
    }
    return name;
}

void CFileDlg::OnOK() {
    if (m_pFileName->GetWindowText().empty()) {
        return;
    }
    const std::string name = NameToUse();
    if (m_nMode == kSave) {
        // The file store matches names without regard to case, so "a.ixt" would replace a listed
        // "A.IXT": ask whenever the names are the same but for case.
        bool listed = false;
        for (const auto& existing : m_mapListed) {
            listed = listed || tav::EqualNoCase(existing, name);
        }
        if (listed && MessageBox(name + "\n" + fw::LoadString(IDS_REPLACE_FILE), nullptr,
                                 fw::MB_YESNO | fw::MB_ICONQUESTION) != fw::IDYES) {
            return;
        }
    }
    CTavApp* app = GetTavApp();
    control::IFileAccess* files = app->GetFileAccess();
    // Selecting opens the file for reading only: a name that does not exist must not be created
    // (and then taken as an empty table).
    const std::uint32_t access =
        m_nMode == kSave ? control::kAccessReplaceOnWrite : control::kAccessRead;
    std::uint32_t handle = 0;
    com::HRESULT hr = files != nullptr
                          ? files->Open(static_cast<std::uint16_t>(name.size() + 1), name.c_str(),
                                        access, control::kShareDefault, &handle)
                          : com::E_POINTER;
    if (com::FAILED(hr)) {
        if (IsInterfaceCode(hr)) {
            ShowFileOpenError(static_cast<std::uint16_t>(com::HRESULT_CODE(hr)));
        } else {
            app->ReportError(hr, "FileDlg", __LINE__);
        }
        return;
    }
    CTavDlg* main = app->GetMainDlg();
    const bool saving = m_nMode == kSave && main != nullptr;
    const fw::BOOL saved = saving ? main->SaveRemapTableAs(m_nType, handle) : fw::FALSE;
    hr = app->GetFileAccess()->Close(handle);
    if (com::FAILED(hr)) {
        app->ReportError(hr, "FileDlg", __LINE__);
    } else if (m_nMode == kSelect && main != nullptr) {
        main->SelectRemapTable(m_nType, name);
    }
    if (saving) {
        // The working table keeps its own file: Save As only writes a copy.
        AuditChange change(AuditKind::SaveAs, m_nType);
        change.outcome = saved && com::SUCCEEDED(hr) ? "saved" : "file-error";
        change.file = name;
        change.tableFile = main->TableFile(m_nType);
        change.count = main->CountRemappedPorts(m_nType);
        RecordAuditEvent(change);
    }
    EndDialog(fw::IDOK);
}
