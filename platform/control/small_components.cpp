// The components with one operation or none.
#include "platform/control/component.h"
#include "platform/control/components.h"

namespace control {

namespace {

class ActiveSetCrc final : public Component<IActiveSetCrc> {
  public:
    static constexpr ComponentId kId = ComponentId::ActiveSetCrc;
    ActiveSetCrc() : Component(kId) {}

    HRESULT GetCrc(std::uint16_t* crc) override {
        if (const HRESULT hr = m_core.Enter("GetCrc"); FAILED(hr)) {
            return hr;
        }
        if (crc == nullptr) {
            return m_core.Fail(com::E_POINTER, "GetCrc: no place for the CRC");
        }
        if (!m_core.Cfg().activeSet) {
            return m_core.Fail(com::E_FAIL, "there is no active configuration set");
        }
        *crc = m_core.Cfg().activeSetCrc;
        return com::S_OK;
    }
};

class CorvaneRegistry final : public Component<ICorvaneRegistry> {
  public:
    static constexpr ComponentId kId = ComponentId::CorvaneRegistry;
    CorvaneRegistry() : Component(kId) {}

    HRESULT GetRebootPort(std::uint16_t* port) override {
        if (const HRESULT hr = m_core.Enter("GetRebootPort"); FAILED(hr)) {
            return hr;
        }
        if (port == nullptr) {
            return m_core.Fail(com::E_POINTER, "GetRebootPort: no place for the port");
        }
        *port = m_core.Cfg().rebootPort;
        return com::S_OK;
    }
};

template <class Interface, ComponentId Id>
class Placeholder final : public Component<Interface> {
  public:
    static constexpr ComponentId kId = Id;
    Placeholder() : Component<Interface>(Id) {}
};

}  // namespace

com::HRESULT CreateActiveSetCrc(const com::IID& iid, void** object) {
    return CreateComponent<ActiveSetCrc>(iid, object);
}

com::HRESULT CreateCorvaneRegistry(const com::IID& iid, void** object) {
    return CreateComponent<CorvaneRegistry>(iid, object);
}

com::HRESULT CreateVexelDevicesTable(const com::IID& iid, void** object) {
    return CreateComponent<Placeholder<IVexelDevicesTable, ComponentId::VexelDevicesTable>>(iid,
                                                                                            object);
}

com::HRESULT CreateSwitcherInputTable(const com::IID& iid, void** object) {
    return CreateComponent<Placeholder<ISwitcherInputTable, ComponentId::SwitcherInputTable>>(
        iid, object);
}

com::HRESULT CreateSwitcherOutputTable(const com::IID& iid, void** object) {
    return CreateComponent<Placeholder<ISwitcherOutputTable, ComponentId::SwitcherOutputTable>>(
        iid, object);
}

com::HRESULT CreatePathFinding(const com::IID& iid, void** object) {
    return CreateComponent<Placeholder<IPathFinding, ComponentId::PathFinding>>(iid, object);
}

}  // namespace control
