// The root of every component and sink interface. Objects are reference counted: AddRef and
// Release return the new count, and an object deletes itself when its count returns to 0, so
// nobody ever deletes an interface pointer directly (hence the protected destructor).
#pragma once

#include "platform/com/guid.h"
#include "platform/com/hresult.h"

namespace com {

inline constexpr IID IID_IUnknown = Guid("{00000000-0000-0000-C000-000000000046}");

class IUnknown {
  public:
    static constexpr IID kIid = IID_IUnknown;

    // On success *object holds an added reference; on failure it is null and the result is
    // E_NOINTERFACE (E_POINTER when object itself is null). Asking any interface of an object for
    // IID_IUnknown gives the same pointer.
    virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

  protected:
    virtual ~IUnknown() = default;
};

// Out-parameter adapter for QueryInterface and CoCreateInstance: IID_PPV_ARGS-style use is
// `CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, I::kIid, OutPtr(&p))`.
template <class T>
void** OutPtr(T** pointer) {
    return reinterpret_cast<void**>(pointer);
}

}  // namespace com
