// The common shape of a simulated component object: its interfaces plus the error description
// interface, reference counting, and the core that checks every call.
#pragma once

#include <new>

#include "platform/com/object.h"
#include "platform/control/component_core.h"
#include "platform/control/interfaces.h"
#include "platform/control/system.h"

namespace control {

template <class Primary, class... Others>
class Component : public com::Object<Primary, Others..., IErrorDescription> {
    using Base = com::Object<Primary, Others..., IErrorDescription>;

  public:
    com::HRESULT QueryInterface(const com::IID& iid, void** object) override {
        if (object != nullptr) {
            if (const com::HRESULT hr = m_core.CheckQuery(iid); FAILED(hr)) {
                *object = nullptr;
                return hr;
            }
        }
        return Base::QueryInterface(iid, object);
    }

    com::HRESULT GetErrorDescription(std::uint32_t* code, char** description) override {
        return m_core.Describe(code, description);
    }

    ComponentCore& Core() { return m_core; }

  protected:
    explicit Component(ComponentId id) : m_core(id) {}

    ComponentCore m_core;
};

// The class factory of a component: an injected creation failure, or a new object asked for iid.
template <class Impl>
com::HRESULT CreateComponent(const com::IID& iid, void** object) {
    if (object == nullptr) {
        return com::E_POINTER;
    }
    *object = nullptr;
    if (const auto hit = System::Instance().Faults().Check(Impl::kId, kCreateOperation)) {
        return hit->hr;
    }
    Impl* instance = new (std::nothrow) Impl();
    if (instance == nullptr) {
        return com::E_OUTOFMEMORY;
    }
    instance->AddRef();
    const com::HRESULT hr = instance->QueryInterface(iid, object);
    instance->Core().MarkCreated();
    instance->Release();
    return hr;
}

}  // namespace control
