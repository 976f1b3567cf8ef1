// Status codes of component calls: a 32-bit signed value whose sign bit marks failure, with a
// facility and a 16-bit code, laid out as the platform lays them out so that the program's
// checks (negative means failure, FACILITY_ITF codes of File Access) read the same numbers.
#pragma once

#include <cstdint>

namespace com {

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;

constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}

constexpr std::uint32_t HRESULT_SEVERITY(HRESULT hr) {
    return (static_cast<std::uint32_t>(hr) >> 31) & 0x1;
}
constexpr std::uint32_t HRESULT_FACILITY(HRESULT hr) {
    return (static_cast<std::uint32_t>(hr) >> 16) & 0x1FFF;
}
constexpr std::uint32_t HRESULT_CODE(HRESULT hr) {
    return static_cast<std::uint32_t>(hr) & 0xFFFF;
}

constexpr HRESULT MAKE_HRESULT(std::uint32_t severity, std::uint32_t facility, std::uint32_t code) {
    return static_cast<HRESULT>(((severity & 0x1) << 31) | ((facility & 0x1FFF) << 16) |
                                (code & 0xFFFF));
}

inline constexpr std::uint32_t SEVERITY_SUCCESS = 0;
inline constexpr std::uint32_t SEVERITY_ERROR = 1;

inline constexpr std::uint32_t FACILITY_NULL = 0;
inline constexpr std::uint32_t FACILITY_RPC = 1;
inline constexpr std::uint32_t FACILITY_ITF = 4;
inline constexpr std::uint32_t FACILITY_WIN32 = 7;

// A platform error number (0 to 0xFFFF) as a failure status, 0 staying success.
constexpr HRESULT HRESULT_FROM_WIN32(std::uint32_t error) {
    return error == 0 ? 0 : MAKE_HRESULT(SEVERITY_ERROR, FACILITY_WIN32, error);
}

constexpr HRESULT HResult(std::uint32_t bits) {
    return static_cast<HRESULT>(bits);
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;

inline constexpr HRESULT E_NOTIMPL = HResult(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = HResult(0x80004002);
inline constexpr HRESULT E_POINTER = HResult(0x80004003);
inline constexpr HRESULT E_ABORT = HResult(0x80004004);
inline constexpr HRESULT E_FAIL = HResult(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = HResult(0x8000FFFF);
inline constexpr HRESULT E_ACCESSDENIED = HResult(0x80070005);
inline constexpr HRESULT E_HANDLE = HResult(0x80070006);
inline constexpr HRESULT E_OUTOFMEMORY = HResult(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = HResult(0x80070057);

inline constexpr HRESULT CLASS_E_NOAGGREGATION = HResult(0x80040110);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = HResult(0x80040154);
inline constexpr HRESULT CO_E_NOTINITIALIZED = HResult(0x800401F0);
inline constexpr HRESULT CO_E_SERVER_EXEC_FAILURE = HResult(0x80080005);
inline constexpr HRESULT CONNECT_E_NOCONNECTION = HResult(0x80040200);
inline constexpr HRESULT CONNECT_E_CANNOTCONNECT = HResult(0x80040202);

inline constexpr HRESULT RPC_E_CALL_REJECTED = HResult(0x80010001);
inline constexpr HRESULT RPC_E_CHANGED_MODE = HResult(0x80010106);
inline constexpr HRESULT RPC_E_DISCONNECTED = HResult(0x80010108);
inline constexpr HRESULT RPC_E_TOO_LATE = HResult(0x80010119);
inline constexpr HRESULT RPC_S_SERVER_UNAVAILABLE = HResult(0x800706BA);

// Platform error numbers that also appear as FACILITY_WIN32 statuses.
inline constexpr std::uint32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr std::uint32_t ERROR_PATH_NOT_FOUND = 3;
inline constexpr std::uint32_t ERROR_ACCESS_DENIED = 5;
inline constexpr std::uint32_t ERROR_INVALID_HANDLE = 6;
inline constexpr std::uint32_t ERROR_WRITE_FAULT = 29;
inline constexpr std::uint32_t ERROR_READ_FAULT = 30;
inline constexpr std::uint32_t ERROR_SHARING_VIOLATION = 32;
inline constexpr std::uint32_t ERROR_NOT_SUPPORTED = 50;
inline constexpr std::uint32_t ERROR_FILE_EXISTS = 80;
inline constexpr std::uint32_t ERROR_DISK_FULL = 112;

}  // namespace com
