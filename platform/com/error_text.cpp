#include "platform/com/error_text.h"

#include <algorithm>
#include <array>
#include <utility>

namespace com {

namespace {

struct Entry {
    HRESULT hr;
    std::string_view text;
};

// The usual system texts. Success codes come out as their error numbers do (S_FALSE is 1).
// FACILITY_ITF codes are left out on purpose: their meaning depends on the interface that
// returned them (File Access uses 0x80040202 for a share violation, connection points for
// something else), so the system has no text for them.
constexpr std::array kTexts{
    Entry{S_OK, "The operation completed successfully."},
    Entry{S_FALSE, "Incorrect function."},
    Entry{E_NOTIMPL, "Not implemented"},
    Entry{E_NOINTERFACE, "No such interface supported"},
    Entry{E_POINTER, "Invalid pointer"},
    Entry{E_ABORT, "Operation aborted"},
    Entry{E_FAIL, "Unspecified error"},
    Entry{E_UNEXPECTED, "Catastrophic failure"},
    Entry{E_ACCESSDENIED, "Access is denied."},
    Entry{E_HANDLE, "The handle is invalid."},
    Entry{E_OUTOFMEMORY, "Ran out of memory"},
    Entry{E_INVALIDARG, "The parameter is incorrect."},
    Entry{HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), "The system cannot find the file specified."},
    Entry{HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), "The system cannot find the path specified."},
    Entry{HRESULT_FROM_WIN32(ERROR_WRITE_FAULT),
          "The system cannot write to the specified device."},
    Entry{HRESULT_FROM_WIN32(ERROR_READ_FAULT),
          "The system cannot read from the specified device."},
    Entry{HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION),
          "The process cannot access the file because it is being used by another process."},
    Entry{HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED), "The request is not supported."},
    Entry{HRESULT_FROM_WIN32(ERROR_FILE_EXISTS), "The file exists."},
    Entry{HRESULT_FROM_WIN32(ERROR_DISK_FULL), "There is not enough space on the disk."},
    Entry{CLASS_E_NOAGGREGATION, "Class does not support aggregation (or class object is remote)"},
    Entry{REGDB_E_CLASSNOTREG, "Class not registered"},
    Entry{CO_E_NOTINITIALIZED, "CoInitialize has not been called."},
    Entry{CO_E_SERVER_EXEC_FAILURE, "Server execution failed"},
    Entry{RPC_E_CALL_REJECTED, "Call was rejected by callee."},
    Entry{RPC_E_CHANGED_MODE, "Cannot change thread mode after it is set."},
    Entry{RPC_E_DISCONNECTED, "The object invoked has disconnected from its clients."},
    Entry{RPC_E_TOO_LATE,
          "Security must be initialized before any interfaces are marshalled or unmarshalled. It "
          "cannot be changed once initialized."},
    Entry{RPC_S_SERVER_UNAVAILABLE, "The RPC server is unavailable."},
};

}  // namespace

std::string_view SystemErrorText(HRESULT hr) {
    const auto found =
        std::find_if(kTexts.begin(), kTexts.end(), [hr](const Entry& e) { return e.hr == hr; });
    return found == kTexts.end() ? std::string_view{} : found->text;
}

bool HasSystemErrorText(HRESULT hr) {
    return !SystemErrorText(hr).empty();
}

bool FormatSystemMessage(HRESULT hr, std::string& text) {
    text = SystemErrorText(hr);
    return !text.empty();
}

}  // namespace com
