#include <cstring>

#include "platform/control/component.h"
#include "platform/control/components.h"

namespace control {

namespace {

class ControlCenter final : public Component<IControlCenter> {
  public:
    static constexpr ComponentId kId = ComponentId::ControlCenter;
    ControlCenter() : Component(kId) {}

    HRESULT IsConfigSetChanging(std::uint8_t* changing) override {
        if (const HRESULT hr = m_core.Enter("IsConfigSetChanging"); FAILED(hr)) {
            return hr;
        }
        if (changing == nullptr) {
            return m_core.Fail(com::E_POINTER, "IsConfigSetChanging: no place for the flag");
        }
        *changing = m_core.Cfg().configSetChanging ? 1 : 0;
        return com::S_OK;
    }

    HRESULT Register(com::IUnknown* sink, std::int32_t nameLength, const char* name,
                     std::uint32_t* cookie) override {
        if (const HRESULT hr = m_core.Enter("Register"); FAILED(hr)) {
            return hr;
        }
        if (sink == nullptr || cookie == nullptr || (name == nullptr && nameLength > 0)) {
            return m_core.Fail(com::E_POINTER,
                               "Register: a sink, a name and a cookie place are "
                               "needed");
        }
        if (nameLength < 0) {
            return m_core.Fail(com::E_INVALIDARG, "Register: negative name length");
        }
        const std::string client(name == nullptr ? "" : name,
                                 name == nullptr ? 0 : strnlen(name, nameLength));
        const auto clients = System::Instance().Clients();
        if (!clients) {
            return m_core.Fail(com::RPC_E_DISCONNECTED, "the server has shut down");
        }
        const HRESULT hr = clients->Register(sink, client, *cookie);
        if (FAILED(hr)) {
            return m_core.Fail(hr, "Register: the sink of client \"" + client +
                                       "\" does not offer the Control Center sink interface");
        }
        return hr;
    }

    HRESULT Unregister(std::uint32_t cookie) override {
        if (const HRESULT hr = m_core.Enter("Unregister"); FAILED(hr)) {
            return hr;
        }
        const auto clients = System::Instance().Clients();
        if (!clients) {
            return m_core.Fail(com::RPC_E_DISCONNECTED, "the server has shut down");
        }
        const HRESULT hr = clients->Unregister(cookie);
        if (FAILED(hr)) {
            return m_core.Fail(
                hr, "Unregister: no client is registered with cookie " + std::to_string(cookie));
        }
        return hr;
    }

    HRESULT HasActiveSet(std::uint8_t* present) override {
        if (const HRESULT hr = m_core.Enter("HasActiveSet"); FAILED(hr)) {
            return hr;
        }
        if (present == nullptr) {
            return m_core.Fail(com::E_POINTER, "HasActiveSet: no place for the flag");
        }
        *present = m_core.Cfg().activeSet ? 1 : 0;
        return com::S_OK;
    }
};

}  // namespace

com::HRESULT CreateControlCenter(const com::IID& iid, void** object) {
    return CreateComponent<ControlCenter>(iid, object);
}

}  // namespace control
