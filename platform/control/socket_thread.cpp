#include "platform/control/socket_thread.h"

#include "platform/control/boards/board_network_socket.h"
#include "platform/control/system.h"

namespace control {

namespace {

BoardNetworkConfig NetworkInForce() {
    const auto config = System::Instance().Snapshot().config;
    return config ? config->boardNetwork : BoardNetworkConfig{};
}

}  // namespace

SocketThread::SocketThread(std::uint16_t rebootPort) : m_rebootPort(rebootPort) {
    const BoardNetworkConfig network = NetworkInForce();
    m_destination = network.destination;
    m_socket = std::make_unique<UdpSocket>(OpenBoardNetworkSocket(network, 0));
    // A destination the system cannot route to yet (its network down) is tried again at each
    // send, whose failure the program reports; it does not keep the program from starting.
    if (rebootPort != 0) {
        ConnectTo(rebootPort);
    }
}

SocketThread::~SocketThread() = default;

bool SocketThread::ConnectTo(std::uint16_t port) {
    if (port == m_connectedPort) {
        return true;
    }
    if (!m_socket->Connect(Ipv4Endpoint(m_destination, port))) {
        return false;
    }
    m_connectedPort = port;
    return true;
}

int SocketThread::Send(std::uint16_t port, std::uint16_t length, const std::uint8_t* data) {
    if (data == nullptr || length == 0 || port == 0 || !ConnectTo(port)) {
        return 0;
    }
    // Only the destination itself can have sent anything here; nothing it says is read.
    m_socket->DiscardWaiting();
    return m_socket->Send({data, length}) ? 1 : 0;
}

std::string SocketThread::LocalEndpoint() const {
    return EndpointText(m_socket->LocalEndpoint());
}

bool SocketThread::HasWaiting() const {
    return m_socket->HasWaiting();
}

}  // namespace control
