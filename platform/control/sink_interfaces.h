// The interfaces the program implements so that components can call it back. Arguments the
// program ignores keep their place, since a sink must accept the call exactly as it is made.
#pragma once

#include <cstdint>

#include "platform/com/unknown.h"
#include "platform/control/ids.h"

namespace control {

using com::FAILED;
using com::HRESULT;
using com::SUCCEEDED;

class IBoardNotifySink : public com::IUnknown {
  public:
    static constexpr com::IID kIid = IID_IBoardNotifySink;
    // The Board Status Server passes the connection's cookie, the board, the notification type,
    // the number of data bytes (8 for type 8) and the data; the last four are always 0.
    virtual HRESULT Notify(std::uint32_t cookie, std::uint16_t board, std::int32_t type,
                           std::int32_t dataLength, const std::uint8_t* data,
                           std::int32_t reserved1, std::int32_t reserved2, std::int32_t reserved3,
                           std::int32_t reserved4) = 0;

  protected:
    ~IBoardNotifySink() override = default;
};

class IRouterNotifySink : public com::IUnknown {
  public:
    static constexpr com::IID kIid = IID_IRouterNotifySink;
    virtual HRESULT Notify(std::int32_t arg1, std::int32_t arg2, std::int32_t arg3,
                           std::int32_t arg4, std::int32_t arg5, std::int32_t arg6,
                           std::int32_t arg7, std::int32_t arg8, std::int32_t arg9) = 0;

  protected:
    ~IRouterNotifySink() override = default;
};

// Only the fifth method is ever called by the simulated Control Center; the others exist because
// the server's method order puts the fifth where it is.
class IControlCenterSink : public com::IUnknown {
  public:
    static constexpr com::IID kIid = IID_IControlCenterSink;
    virtual HRESULT Notify1(std::int32_t arg) = 0;
    virtual HRESULT Notify2(std::int32_t arg) = 0;
    virtual HRESULT Notify3() = 0;
    virtual HRESULT Notify4(std::int32_t arg1, std::int32_t arg2) = 0;
    // The configuration set starts changing; the program shuts down.
    virtual HRESULT ConfigSetChanging() = 0;
    virtual HRESULT Notify6() = 0;

  protected:
    ~IControlCenterSink() override = default;
};

}  // namespace control
