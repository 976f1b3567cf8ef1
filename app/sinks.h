// The three objects the program offers the control system to call it back.
#pragma once

#include "platform/com/object.h"
#include "platform/control/sink_interfaces.h"

class CTavApp;

// Copies each board's remap report into the application's board table.
class CBoardNotifySink final : public com::Object<control::IBoardNotifySink> {
  public:
    explicit CBoardNotifySink(CTavApp* owner) : m_pOwner(owner) {}
    // The application lets go before it goes, so a late call finds no owner instead of a dead one.
    void SetOwner(CTavApp* owner) { m_pOwner = owner; }

    com::HRESULT Notify(std::uint32_t cookie, std::uint16_t board, std::int32_t type,
                        std::int32_t dataLength, const std::uint8_t* data, std::int32_t reserved1,
                        std::int32_t reserved2, std::int32_t reserved3,
                        std::int32_t reserved4) override;

  private:
    CTavApp* m_pOwner;
};

// Held for the whole run but handed to no one.
class CRouterNotifySink final : public com::Object<control::IRouterNotifySink> {
  public:
    explicit CRouterNotifySink(CTavApp* owner) : m_pOwner(owner) {}
    void SetOwner(CTavApp* owner) { m_pOwner = owner; }

    com::HRESULT Notify(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                        std::int32_t, std::int32_t, std::int32_t, std::int32_t) override;

  private:
    CTavApp* m_pOwner;
};

// The Control Center's callbacks; only the configuration change does anything.
class CControlCenterSink final : public com::Object<control::IControlCenterSink> {
  public:
    com::HRESULT Notify1(std::int32_t) override { return com::S_OK; }
    com::HRESULT Notify2(std::int32_t) override { return com::S_OK; }
    com::HRESULT Notify3() override { return com::S_OK; }
    com::HRESULT Notify4(std::int32_t, std::int32_t) override { return com::S_OK; }
    com::HRESULT ConfigSetChanging() override;
    com::HRESULT Notify6() override { return com::S_OK; }
};
