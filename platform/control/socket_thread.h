// The socket library's sender: hands a message to the router board network. Boards listen on the
// loopback address at the reboot port; a message goes out as one UDP datagram.
#pragma once

#include <cstdint>
#include <memory>

namespace control {

// The socket itself belongs to the simulation; the program sees only the sender.
class UdpSocket;

class SocketThread {
  public:
    // The reboot port is the boards' port the program was started with; every Send names its
    // port again. Throws SocketError when no socket can be had.
    explicit SocketThread(std::uint16_t rebootPort);
    ~SocketThread();
    SocketThread(const SocketThread&) = delete;
    SocketThread& operator=(const SocketThread&) = delete;

    // Sends length bytes to the boards at 127.0.0.1:port as one datagram. 1 when the message
    // went out whole, 0 when it could not (no data, length 0, port 0, the send failed).
    int Send(std::uint16_t port, std::uint16_t length, const std::uint8_t* data);

    std::uint16_t RebootPort() const { return m_rebootPort; }

  private:
    std::unique_ptr<UdpSocket> m_socket;
    std::uint16_t m_rebootPort;
};

// Stands for the library's exported socket class; the program creates none directly.
class CorvaneSocket {
  public:
    explicit CorvaneSocket(int kind = 0, std::uint16_t port = 65535) : m_kind(kind), m_port(port) {}
    int Kind() const { return m_kind; }
    std::uint16_t Port() const { return m_port; }

  private:
    int m_kind;
    std::uint16_t m_port;
};

}  // namespace control
