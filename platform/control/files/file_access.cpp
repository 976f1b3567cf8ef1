#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "platform/com/task_memory.h"
#include "platform/control/component.h"
#include "platform/control/components.h"
#include "platform/control/file_access_codes.h"

namespace control {

namespace {

// Texts passed with "length + 1": the text ends at the first zero or after length characters.
std::string TextOf(std::uint16_t lengthPlusOne, const char* text) {
    const std::size_t limit = lengthPlusOne > 0 ? lengthPlusOne - 1u : 0u;
    return std::string(text, strnlen(text, limit));
}

std::string Hex(com::HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

std::string OpenFailure(com::HRESULT hr) {
    switch (hr) {
        case kFileExists:
            return "the file already exists";
        case kFileShareViolation:
            return "the file is in use";
        case kFileOpenGeneral:
            return "the name is not a bare file name, or names a folder, a link or a special file";
        case kFileOpenUnknown:
            return "the file cannot be opened (larger than 16 MB, or another failure)";
        case kFileFolderUnavailable:
            return "the data folder cannot be created";
        case kFileNotFound:
            return "the file does not exist";
        case kFileReadOnly:
            return "the file is read-only";
        case kFileNoHandles:
            return "too many files are open";
        case com::E_INVALIDARG:
            return "unknown access value";
        default:
            return "failed with " + Hex(hr);
    }
}

class FileAccess final : public Component<IFileAccess, IFileLocks> {
  public:
    static constexpr ComponentId kId = ComponentId::FileAccess;
    FileAccess() : Component(kId) {}

    HRESULT Open(std::uint16_t nameLengthPlusOne, const char* name, std::uint32_t access,
                 std::uint32_t /*share*/, std::uint32_t* handle) override {
        std::shared_ptr<FileStore> store;
        if (const HRESULT hr = Enter("Open", store); FAILED(hr)) {
            return hr;
        }
        if (name == nullptr || handle == nullptr) {
            return m_core.Fail(com::E_POINTER, "Open: a name and a handle place are needed");
        }
        *handle = 0;
        const std::string file = TextOf(nameLengthPlusOne, name);
        const HRESULT hr = store->Open(file, access, *handle);
        if (FAILED(hr)) {
            return m_core.Fail(hr, "cannot open \"" + file + "\" (access 0x" + HexShort(access) +
                                       "): " + OpenFailure(hr));
        }
        return hr;
    }

    HRESULT Read(std::uint32_t handle, std::uint32_t* count, std::uint8_t** block) override {
        if (block != nullptr) {
            *block = nullptr;
        }
        std::shared_ptr<FileStore> store;
        if (const HRESULT hr = Enter("Read", store); FAILED(hr)) {
            return hr;
        }
        if (count == nullptr || block == nullptr) {
            return m_core.Fail(com::E_POINTER, "Read: a count and a block place are needed");
        }
        *block = nullptr;
        std::vector<std::uint8_t> data;
        const HRESULT hr = store->Read(handle, *count, data);
        *count = 0;
        if (FAILED(hr)) {
            return m_core.Fail(hr, "Read: handle " + std::to_string(handle) + " " + Problem(hr));
        }
        if (!data.empty()) {
            *block = com::TaskMemDup(data);
            if (*block == nullptr) {
                return m_core.Fail(com::E_OUTOFMEMORY, "Read: out of memory");
            }
        }
        *count = static_cast<std::uint32_t>(data.size());
        return com::S_OK;
    }

    HRESULT Write(std::uint32_t handle, std::uint32_t* count, const std::uint8_t* bytes) override {
        std::shared_ptr<FileStore> store;
        if (const HRESULT hr = Enter("Write", store); FAILED(hr)) {
            if (const auto files = System::Instance().Files()) {
                files->MarkWriteFailed(handle);
            }
            return hr;
        }
        if (count == nullptr || (bytes == nullptr && *count > 0)) {
            return m_core.Fail(com::E_POINTER, "Write: a count and the bytes are needed");
        }
        std::uint32_t written = 0;
        const HRESULT hr =
            store->Write(handle, std::span<const std::uint8_t>(bytes, *count), written);
        *count = written;
        if (FAILED(hr)) {
            return m_core.Fail(hr, "Write: handle " + std::to_string(handle) + " " + Problem(hr));
        }
        return hr;
    }

    HRESULT Seek(std::uint32_t handle, std::int32_t* position, std::uint32_t origin) override {
        std::shared_ptr<FileStore> store;
        if (const HRESULT hr = Enter("Seek", store); FAILED(hr)) {
            return hr;
        }
        if (position == nullptr) {
            return m_core.Fail(com::E_POINTER, "Seek: no position given");
        }
        std::int64_t result = 0;
        const HRESULT hr = store->Seek(handle, *position, origin, result);
        if (FAILED(hr)) {
            return m_core.Fail(hr, "Seek: handle " + std::to_string(handle) + " to " +
                                       std::to_string(*position) + " from origin " +
                                       std::to_string(origin) + " " + Problem(hr));
        }
        if (result > INT32_MAX) {
            return m_core.Fail(com::E_INVALIDARG, "Seek: the position does not fit 32 bits");
        }
        *position = static_cast<std::int32_t>(result);
        return com::S_OK;
    }

    HRESULT Close(std::uint32_t handle) override {
        std::shared_ptr<FileStore> store;
        if (const HRESULT hr = Enter("Close", store); FAILED(hr)) {
            return hr;
        }
        const HRESULT hr = store->Close(handle);
        if (FAILED(hr)) {
            return m_core.Fail(hr, "Close: handle " + std::to_string(handle) + " " + Problem(hr));
        }
        return hr;
    }

    HRESULT FindFirst(std::uint16_t patternLengthPlusOne, const char* pattern,
                      std::uint32_t attributes, std::uint8_t* record) override {
        std::shared_ptr<FileStore> store;
        if (const HRESULT hr = Enter("FindFirst", store); FAILED(hr)) {
            return hr;
        }
        if (pattern == nullptr || record == nullptr) {
            return m_core.Fail(com::E_POINTER, "FindFirst: a pattern and a record are needed");
        }
        const std::string text = TextOf(patternLengthPlusOne, pattern);
        const HRESULT hr =
            store->FindFirst(text, attributes, std::span<std::uint8_t>(record, kFindRecordSize));
        if (hr == kFileNothingFound) {
            return m_core.Fail(hr, "no file matches \"" + text + "\"");
        }
        if (FAILED(hr)) {
            return m_core.Fail(hr, "FindFirst: \"" + text + "\" is not a bare file pattern");
        }
        return hr;
    }

    HRESULT FindNext(std::uint8_t* record) override {
        std::shared_ptr<FileStore> store;
        if (const HRESULT hr = Enter("FindNext", store); FAILED(hr)) {
            return hr;
        }
        if (record == nullptr) {
            return m_core.Fail(com::E_POINTER, "FindNext: no record given");
        }
        const HRESULT hr = store->FindNext(std::span<std::uint8_t>(record, kFindRecordSize));
        if (FAILED(hr)) {
            return m_core.Fail(hr, "no more files match");
        }
        return hr;
    }

    HRESULT TryLock(std::uint16_t nameLengthPlusOne, const char* name) override {
        std::shared_ptr<FileStore> store;
        if (const HRESULT hr = Enter("TryLock", store); FAILED(hr)) {
            return hr;
        }
        if (name == nullptr) {
            return m_core.Fail(com::E_POINTER, "TryLock: no name given");
        }
        const std::string file = TextOf(nameLengthPlusOne, name);
        std::string why;
        const HRESULT hr = store->TryLock(file, &why);
        if (FAILED(hr)) {
            return m_core.Fail(hr, "cannot lock \"" + file + "\": " + why);
        }
        return hr;
    }

    HRESULT Unlock(std::uint16_t nameLengthPlusOne, const char* name) override {
        std::shared_ptr<FileStore> store;
        if (const HRESULT hr = Enter("Unlock", store); FAILED(hr)) {
            return hr;
        }
        if (name == nullptr) {
            return m_core.Fail(com::E_POINTER, "Unlock: no name given");
        }
        store->Unlock(TextOf(nameLengthPlusOne, name));
        return com::S_OK;
    }

  private:
    HRESULT Enter(const char* operation, std::shared_ptr<FileStore>& store) {
        if (const HRESULT hr = m_core.Enter(operation); FAILED(hr)) {
            return hr;
        }
        store = System::Instance().Files();
        return store ? com::S_OK : m_core.Fail(com::RPC_E_DISCONNECTED, "the server has shut down");
    }

    static std::string HexShort(std::uint32_t value) {
        char text[12];
        std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
        return text;
    }

    static std::string Problem(HRESULT hr) {
        switch (hr) {
            case com::E_HANDLE:
                return "is not open";
            case com::E_ACCESSDENIED:
                return "was not opened for that";
            case com::E_INVALIDARG:
                return "cannot go there";
            default:
                return "failed with " + Hex(hr);
        }
    }
};

}  // namespace

com::HRESULT CreateFileAccess(const com::IID& iid, void** object) {
    return CreateComponent<FileAccess>(iid, object);
}

}  // namespace control
