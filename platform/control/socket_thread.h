// The socket library's sender: hands a message to the router board network. Boards listen on the
// loopback address at the reboot port; a message goes out as one UDP datagram.
#pragma once

#include <cstdint>
#include <stdexcept>

namespace control {

class SocketError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class SocketThread {
  public:
    // Throws SocketError when no socket can be had.
    explicit SocketThread(std::uint16_t rebootPort);
    ~SocketThread();
    SocketThread(const SocketThread&) = delete;
    SocketThread& operator=(const SocketThread&) = delete;

    // Sends length bytes to the boards at port. Nonzero when the message was taken, 0 when not.
    int Send(std::uint16_t port, std::uint16_t length, const std::uint8_t* data);

    std::uint16_t RebootPort() const { return m_rebootPort; }

  private:
    int m_socket = -1;
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
