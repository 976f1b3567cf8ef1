// The library entry points the program calls: apartment start and end, process security, and
// object creation by class id from a class registry that the simulated servers fill in.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/unknown.h"

namespace com {

inline constexpr std::uint32_t CLSCTX_INPROC_SERVER = 0x1;
inline constexpr std::uint32_t CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr std::uint32_t CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr std::uint32_t CLSCTX_REMOTE_SERVER = 0x10;

inline constexpr std::uint32_t RPC_C_AUTHN_LEVEL_DEFAULT = 0;
inline constexpr std::uint32_t RPC_C_AUTHN_LEVEL_NONE = 1;
inline constexpr std::uint32_t RPC_C_AUTHN_LEVEL_PKT_PRIVACY = 6;
inline constexpr std::uint32_t RPC_C_IMP_LEVEL_DEFAULT = 0;
inline constexpr std::uint32_t RPC_C_IMP_LEVEL_ANONYMOUS = 1;
inline constexpr std::uint32_t RPC_C_IMP_LEVEL_IDENTIFY = 2;
inline constexpr std::uint32_t RPC_C_IMP_LEVEL_IMPERSONATE = 3;
inline constexpr std::uint32_t RPC_C_IMP_LEVEL_DELEGATE = 4;
inline constexpr std::uint32_t EOAC_NONE = 0;

// Enters the calling thread into its (single-threaded) apartment. S_OK the first time on a
// thread, S_FALSE when the thread is already in; every successful call needs a CoUninitialize.
HRESULT CoInitialize(void* reserved = nullptr);
// Undoes one successful CoInitialize of the calling thread; nothing when there is none.
void CoUninitialize();

// Sets the process's call security, once per process while any thread is initialised: a second
// call gives RPC_E_TOO_LATE, a call from a thread that is not initialised CO_E_NOTINITIALIZED.
// Levels out of range give E_INVALIDARG. The simulated servers do not check credentials, so the
// values are only validated and kept.
HRESULT CoInitializeSecurity(void* securityDescriptor, std::int32_t authServiceCount,
                             void* authServices, void* reserved1, std::uint32_t authnLevel,
                             std::uint32_t impLevel, void* authList, std::uint32_t capabilities,
                             void* reserved3);

// Creates an object of a registered class and asks it for iid. *object is null unless the result
// is success. Results: E_POINTER (object null), CO_E_NOTINITIALIZED (thread not initialised),
// CLASS_E_NOAGGREGATION (outer given), REGDB_E_CLASSNOTREG (class unknown, or clsctx does not
// allow a local server, the only kind registered), an injected failure, or the factory's result.
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, std::uint32_t clsctx, const IID& iid,
                         void** object);

// Makes one object of the class, answering iid the way QueryInterface does.
using ClassFactory = std::function<HRESULT(const IID& iid, void** object)>;

// Registers (or replaces) the factory of a class, as a local server.
void RegisterClass(const CLSID& clsid, ClassFactory factory);
// Returns false when the class was not registered.
bool RevokeClass(const CLSID& clsid);
void RevokeAllClasses();
bool IsClassRegistered(const CLSID& clsid);

// Failure injection for tests and scenario runs. Each failure stays until replaced; S_OK (or any
// success value) removes it.
void SetCoInitializeFailure(HRESULT hr);
void SetCoInitializeSecurityFailure(HRESULT hr);
void SetCreateInstanceFailure(const CLSID& clsid, HRESULT hr);
void ClearInjectedFailures();

// Back to the state of a fresh process (between tests in one process): no classes, no injected
// failures, security not set, the calling thread not initialised. Task allocations are kept.
void ResetForTests();

}  // namespace com
