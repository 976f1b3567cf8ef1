#include "platform/control/client_registry.h"

#include <vector>

#include "platform/fw/message_queue.h"

namespace control {

com::HRESULT ClientRegistry::Register(com::IUnknown* sink, std::string name,
                                      std::uint32_t& cookie) {
    com::ComPtr<IControlCenterSink> typed;
    if (FAILED(
            sink->QueryInterface(IControlCenterSink::kIid, typed.ReleaseAndGetVoidAddressOf()))) {
        return com::CONNECT_E_CANNOTCONNECT;
    }
    std::lock_guard lock(m_mutex);
    cookie = m_nextCookie++;
    if (m_nextCookie == 0) {
        m_nextCookie = 1;
    }
    m_clients.emplace(cookie, Client{std::move(typed), std::move(name)});
    return com::S_OK;
}

com::HRESULT ClientRegistry::Unregister(std::uint32_t cookie) {
    Client gone;
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_clients.find(cookie);
        if (found == m_clients.end()) {
            return com::CONNECT_E_NOCONNECTION;
        }
        gone = std::move(found->second);
        m_clients.erase(found);
    }
    // The sink is released outside the lock, in case its destruction calls back.
    return com::S_OK;
}

std::size_t ClientRegistry::Count() const {
    std::lock_guard lock(m_mutex);
    return m_clients.size();
}

void ClientRegistry::AnnounceConfigSetChanging() {
    fw::TheMessageQueue().PostCall([weak = weak_from_this()] {
        if (const auto self = weak.lock()) {
            self->DeliverConfigSetChanging();
        }
    });
}

void ClientRegistry::DeliverConfigSetChanging() {
    std::vector<com::ComPtr<IControlCenterSink>> sinks;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& [cookie, client] : m_clients) {
            sinks.push_back(client.sink);
        }
    }
    for (const auto& sink : sinks) {
        sink->ConfigSetChanging();
    }
}

void ClientRegistry::ReleaseAll() {
    std::map<std::uint32_t, Client> gone;
    {
        std::lock_guard lock(m_mutex);
        gone.swap(m_clients);
    }
}

}  // namespace control
