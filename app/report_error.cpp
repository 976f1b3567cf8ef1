// Error reporting: the error dialog for a failed component call, and the File Access open codes.
#include "app/error_dlg.h"
#include "app/tav_app.h"
#include "common/format.h"
#include "platform/com/error_text.h"
#include "platform/com/task_memory.h"
#include "platform/control/file_access_codes.h"
#include "res/resource.h"

namespace {
// Shown in the detail where a part of it is not known.
constexpr char kAbsent[] = "(none)";
// The detail's text box lays out every character it holds before the dialog can show, in a time
// that grows with the square of an unbroken line's length on some platforms (3 MB: minutes).
// A component's description is a sentence or two; beyond this many bytes only its start is shown,
// with its length, so that the dialog opens at once and the file and line stay in view after it.
constexpr std::size_t kMaxShownDescription = 4096;

std::string ShownDescription(const char* text) {
    if (text == nullptr) {
        return kAbsent;
    }
    std::string description(text);
    if (description.size() <= kMaxShownDescription) {
        return description;
    }
    std::size_t cut = kMaxShownDescription;
    while (cut > 0 && (static_cast<unsigned char>(description[cut]) & 0xC0) == 0x80) {
        --cut;  // not inside a character of several bytes
    }
    return description.substr(0, cut) + "... (" + std::to_string(description.size()) +
           " bytes in all)";
}
}  // namespace

void CTavApp::ReportError(com::HRESULT hr, const char* sourceFile, int line) {
    com::ComPtr<control::IErrorDescription> description;
    if (com::IUnknown* component = ComponentOfContext(m_nErrorContext)) {
        component->QueryInterface(control::IErrorDescription::kIid,
                                  description.ReleaseAndGetVoidAddressOf());
    }
    std::string systemText;
    if (!com::FormatSystemMessage(hr, systemText)) {
        systemText = kAbsent;
    }
    char* componentText = nullptr;
    if (description) {
        std::uint32_t ignored = 0;
        description->GetErrorDescription(&ignored, &componentText);
    }
    const std::unique_ptr<char, void (*)(void*)> owned(componentText, com::CoTaskMemFree);
    const std::string detail =
        tav::Format(fw::LoadString(IDS_ERROR_DETAIL), static_cast<unsigned>(hr), systemText,
                    ShownDescription(componentText),
                    std::string(sourceFile != nullptr ? sourceFile : kAbsent), line);
    CErrorDlg dlg(static_cast<fw::UINT>(m_nErrorContext), detail, nullptr);
    dlg.DoModal();
}

void ShowFileOpenError(std::uint16_t code) {
    fw::UINT message = IDS_FILE_UNKNOWN_FAILURE;
    switch (code) {
        case control::kCodeFileExists:
            message = IDS_FILE_EXISTS;
            break;
        case control::kCodeShareViolation:
            message = IDS_FILE_SHARE_VIOLATION;
            break;
        case control::kCodeOpenGeneral:
            message = IDS_FILE_GENERAL_FAILURE;
            break;
        case control::kCodeNotFound:
            message = IDS_FILE_NOT_FOUND;
            break;
        case control::kCodeReadOnly:
            message = IDS_FILE_READ_ONLY;
            break;
        case control::kCodeNoHandles:
            message = IDS_FILE_NO_HANDLES;
            break;
        default:
            break;  // an unknown open failure, the folder unavailable, anything else
    }
    fw::AfxMessageBox(message);
}
