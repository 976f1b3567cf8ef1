#include "files/tav_file.h"

#include <algorithm>
#include <cstring>

#include "app/tav_app.h"
#include "platform/com/com.h"
#include "platform/control/file_access_codes.h"
#include "platform/fw/clock.h"

namespace {

constexpr std::uint32_t kAnyOtherFailure = 0xFFFFFFFF;

std::uint32_t AccessFor(int mode) {
    if (mode & CTavFile::kAppend) {
        return control::kAccessAppend;
    }
    if (mode & CTavFile::kRead) {
        return control::kAccessRead;
    }
    if (mode & CTavFile::kReplace) {
        return control::kAccessReplace;
    }
    return control::kAccessReadWrite;
}

}  // namespace

CTavFile::CTavFile(const std::string& name, int mode) : m_nMode(mode) {
    m_pBuffer = std::make_unique<CLineBuffer>();
    CTavApp* app = GetTavApp();
    control::IFileAccess* files = app != nullptr ? app->GetFileAccess() : nullptr;
    const com::HRESULT hr =
        files != nullptr ? files->Open(static_cast<std::uint16_t>(name.size() + 1), name.c_str(),
                                       AccessFor(mode), control::kShareDefault, &m_hFile)
                         : com::E_POINTER;
    if (com::FAILED(hr)) {
        KeepFailure(hr);
        m_pBuffer.reset();
        return;
    }
    m_bTimeStamp = (mode & kTimeStamp) != 0 ? 1 : 0;
}

CTavFile::~CTavFile() {
    if (!m_bClosed) {
        // A close that failed shows the error dialog; whatever leaves that window by an exception
        // (a test's driver failing the run) cannot pass through a destructor, and the driver
        // raises it again at its next window.
        try {
            Close();
        } catch (...) {
        }
    }
}

void CTavFile::KeepFailure(std::int32_t hr) {
    m_hrError = hr;
    m_nError = com::HRESULT_FACILITY(hr) == com::FACILITY_ITF
                   ? static_cast<std::uint32_t>(com::HRESULT_CODE(hr))
                   : kAnyOtherFailure;
}

void CTavFile::ReportOpenError() const {
    if (m_nError == kAnyOtherFailure) {
        if (CTavApp* app = GetTavApp()) {
            app->GetFileAccess();  // the error dialog names File Access
            app->ReportError(m_hrError, "TavFile", __LINE__);
        }
    } else if (m_nError != 0) {
        ShowFileOpenError(static_cast<std::uint16_t>(m_nError));
    }
}

void CTavFile::KeepErrorCode(std::int32_t hr) {
    if (com::HRESULT_FACILITY(hr) == com::FACILITY_ITF) {
        m_nError = static_cast<std::uint32_t>(com::HRESULT_CODE(hr));
    }
}

void CTavFile::WriteLine(const std::string& text) {
    if (text.empty()) {
        return;
    }
    if (m_bTimeStamp) {
        const std::int64_t now = fw::GetClock().Now();
        Write(fw::FormatLocalTime(now, "%H:%M:%S") + "," + fw::FormatLocalTime(now, "%B %d %Y") +
              "," + text + "\n");
    } else {
        Write(text + "\n");
    }
}

void CTavFile::WriteRaw(const std::string& text) {
    if (text.empty()) {
        return;
    }
    Write(text + "\r\n");
}

void CTavFile::Write(const std::string& text) {
    CTavApp* app = GetTavApp();
    control::IFileAccess* files = app->GetFileAccess();
    auto count = static_cast<std::uint32_t>(text.size());
    const com::HRESULT hr =
        files != nullptr
            ? files->Write(m_hFile, &count, reinterpret_cast<const std::uint8_t*>(text.data()))
            : com::E_POINTER;
    if (com::FAILED(hr)) {
        app->ReportError(hr, "TavFile", __LINE__);
        KeepErrorCode(hr);
        throw CUserException();
    }
    m_bWritten = true;
}

int CTavFile::Refill() {
    const std::span<char> space = m_pBuffer->Space();
    if (space.empty()) {
        return 0;
    }
    const auto asked = static_cast<std::uint32_t>(space.size());
    std::uint32_t delivered = asked;
    std::uint8_t* block = nullptr;
    CTavApp* app = GetTavApp();
    control::IFileAccess* files = app->GetFileAccess();
    const com::HRESULT hr =
        files != nullptr ? files->Read(m_hFile, &delivered, &block) : com::E_POINTER;
    if (com::FAILED(hr)) {
        app->ReportError(hr, "TavFile", __LINE__);
        // Whatever the code, the rest of the file was not read: the caller must not take what
        // was read so far for the whole file.
        KeepFailure(hr);
        return 0;
    }
    const std::unique_ptr<std::uint8_t, void (*)(void*)> owned(block, com::CoTaskMemFree);
    // A count without a block delivered nothing.
    const std::uint32_t copied = block != nullptr ? std::min(delivered, asked) : 0;
    if (copied > 0) {
        std::memcpy(space.data(), block, copied);
    }
    m_pBuffer->Filled(copied, asked);
    return 1;
}

int CTavFile::ReadLine(std::string& line) {
    if (!m_pBuffer) {
        return 0;
    }
    for (;;) {
        if (m_pBuffer->TakeLine(line)) {
            return 1;
        }
        if (!Refill()) {
            return 0;
        }
    }
}

int CTavFile::Rewind() {
    CTavApp* app = GetTavApp();
    control::IFileAccess* files = app->GetFileAccess();
    std::int32_t position = 0;
    const com::HRESULT hr = files != nullptr
                                ? files->Seek(m_hFile, &position, control::kSeekFromStart)
                                : com::E_POINTER;
    if (com::FAILED(hr)) {
        app->ReportError(hr, "TavFile", __LINE__);
        KeepFailure(hr);
        return 0;
    }
    return 1;
}

void CTavFile::Close() {
    CTavApp* app = GetTavApp();
    control::IFileAccess* files = app != nullptr ? app->GetFileAccess() : nullptr;
    const com::HRESULT hr = files != nullptr ? files->Close(m_hFile) : com::S_OK;
    if (com::FAILED(hr)) {
        if (com::HRESULT_FACILITY(hr) == com::FACILITY_ITF && !m_bWritten) {
            KeepErrorCode(hr);
        } else {
            // What was written is put in place only by a Close that succeeds: whatever the
            // code, the operator must hear that it was not.
            KeepFailure(hr);
            app->ReportError(hr, "TavFile", __LINE__);
        }
    }
    m_bClosed = 1;
}
