// The Control Center's registered clients and the announcement that the configuration set is
// changing. Announcing may happen on any thread; the sinks are always called on the
// user-interface thread through its message queue, as the platform delivers calls to a
// single-threaded apartment, so a sink never sees a second thread.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/com/com_ptr.h"
#include "platform/control/sink_interfaces.h"

namespace control {

class ClientRegistry : public std::enable_shared_from_this<ClientRegistry> {
  public:
    // Asks the sink for IControlCenterSink and keeps it: CONNECT_E_CANNOTCONNECT when it has none.
    com::HRESULT Register(com::IUnknown* sink, std::string name, std::uint32_t& cookie);
    // CONNECT_E_NOCONNECTION when no registration has that cookie.
    com::HRESULT Unregister(std::uint32_t cookie);
    std::size_t Count() const;
    // Any thread: queues a call of every registered sink's ConfigSetChanging.
    void AnnounceConfigSetChanging();
    // Lets every sink go (the server shuts down).
    void ReleaseAll();

  private:
    struct Client {
        com::ComPtr<IControlCenterSink> sink;
        std::string name;
    };
    void DeliverConfigSetChanging();

    mutable std::mutex m_mutex;
    std::map<std::uint32_t, Client> m_clients;
    std::uint32_t m_nextCookie = 1;
};

}  // namespace control
