#include "platform/control/socket_thread.h"

#include "platform/control/udp_socket.h"

namespace control {

SocketThread::SocketThread(std::uint16_t rebootPort)
    : m_socket(std::make_unique<UdpSocket>(UdpSocket::ForSending())), m_rebootPort(rebootPort) {}

SocketThread::~SocketThread() = default;

int SocketThread::Send(std::uint16_t port, std::uint16_t length, const std::uint8_t* data) {
    if (data == nullptr || length == 0 || port == 0) {
        return 0;
    }
    return m_socket->SendTo(LoopbackAddress(port), {data, length}) ? 1 : 0;
}

}  // namespace control
