#include "platform/control/socket_thread.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace control {

SocketThread::SocketThread(std::uint16_t rebootPort) : m_rebootPort(rebootPort) {
    m_socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (m_socket < 0) {
        throw SocketError(std::string("cannot create the board socket: ") + std::strerror(errno));
    }
}

SocketThread::~SocketThread() {
    if (m_socket >= 0) {
        ::close(m_socket);
    }
}

int SocketThread::Send(std::uint16_t port, std::uint16_t length, const std::uint8_t* data) {
    if (data == nullptr || length == 0 || port == 0) {
        return 0;
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const ssize_t sent =
        ::sendto(m_socket, data, length, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    return sent == static_cast<ssize_t>(length) ? 1 : 0;
}

}  // namespace control
