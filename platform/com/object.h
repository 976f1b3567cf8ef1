// The IUnknown part that every implemented object repeats: an atomic reference count that starts
// at 0, self-deletion when it returns to 0, and QueryInterface over the interfaces the object
// derives from (each naming its id as kIid). IUnknown is always answered with the first
// interface, so identity comparisons hold.
#pragma once

#include <atomic>
#include <new>
#include <utility>

#include "platform/com/unknown.h"

namespace com {

template <class Primary, class... Others>
class Object : public Primary, public Others... {
  public:
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    HRESULT QueryInterface(const IID& iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (iid == IID_IUnknown) {
            *object = static_cast<IUnknown*>(static_cast<Primary*>(this));
        } else if (!Find<Primary, Others...>(iid, object)) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return m_refs.fetch_add(1) + 1; }
    ULONG Release() override {
        const ULONG left = m_refs.fetch_sub(1) - 1;
        if (left == 0) {
            delete this;
        }
        return left;
    }

  protected:
    Object() = default;
    ~Object() override = default;

  private:
    template <class First, class... Rest>
    bool Find(const IID& iid, void** object) {
        if (iid == First::kIid) {
            *object = static_cast<First*>(this);
            return true;
        }
        if constexpr (sizeof...(Rest) > 0) {
            return Find<Rest...>(iid, object);
        } else {
            return false;
        }
    }

    std::atomic<ULONG> m_refs{0};
};

// Creates an object of Impl and asks it for iid: the usual class factory body. The object is gone
// again when it does not offer iid.
template <class Impl, class... Args>
HRESULT CreateObject(const IID& iid, void** object, Args&&... args) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    Impl* instance = new (std::nothrow) Impl(std::forward<Args>(args)...);
    if (instance == nullptr) {
        return E_OUTOFMEMORY;
    }
    instance->AddRef();
    const HRESULT hr = instance->QueryInterface(iid, object);
    instance->Release();
    return hr;
}

}  // namespace com
