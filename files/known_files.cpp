#include "files/known_files.h"

#include <memory>

#include "app/tav_app.h"
#include "platform/com/com.h"
#include "platform/control/file_access_codes.h"

namespace {

constexpr std::uint32_t kReadBlock = 64 * 1024;

}  // namespace

bool ReadDataFile(const std::string& name, std::optional<std::string>& content) {
    content.reset();
    CTavApp* app = GetTavApp();
    control::IFileAccess* files = app != nullptr ? app->GetFileAccess() : nullptr;
    if (files == nullptr) {
        return false;
    }
    std::uint32_t handle = 0;
    com::HRESULT hr = files->Open(static_cast<std::uint16_t>(name.size() + 1), name.c_str(),
                                  control::kAccessRead, control::kShareDefault, &handle);
    if (hr == control::kFileNotFound) {
        return true;
    }
    std::string bytes;
    while (com::SUCCEEDED(hr)) {
        std::uint32_t count = kReadBlock;
        std::uint8_t* block = nullptr;
        hr = files->Read(handle, &count, &block);
        const std::unique_ptr<std::uint8_t, void (*)(void*)> owned(block, com::CoTaskMemFree);
        if (com::SUCCEEDED(hr) && (count == 0 || block == nullptr)) {
            break;
        }
        if (com::SUCCEEDED(hr)) {
            bytes.append(reinterpret_cast<const char*>(block), count);
        }
    }
    if (handle != 0) {
        if (const com::HRESULT closed = files->Close(handle); com::SUCCEEDED(hr)) {
            hr = closed;
        }
    }
    if (com::FAILED(hr)) {
        app->GetFileAccess();  // the error dialog names File Access
        app->ReportError(hr, "TavDlg", __LINE__);
        return false;
    }
    content = std::move(bytes);
    return true;
}

void CKnownFiles::RememberNow(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        Content content;
        if (ReadDataFile(name, content)) {
            Remember(name, std::move(content));
        } else {
            Forget(name);
        }
    }
}

std::optional<CKnownFiles::Content> CKnownFiles::Known(const std::string& name) const {
    const auto found = m_known.find(name);
    return found == m_known.end() ? std::nullopt : std::optional<Content>(found->second);
}
