// The socket library's sender: hands a message to the router board network as one UDP datagram,
// to the configured destination (the loopback address unless the configuration names another)
// at the port given.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace control {

// The socket itself belongs to the simulation; the program sees only the sender.
class UdpSocket;

class SocketThread {
  public:
    // The reboot port is the boards' port the program was started with; every Send names its
    // port again. The socket is bound to this workstation's address on the board network (and
    // to its interface when one is configured), and connected to the destination so that
    // nothing anyone else sends it is ever queued. Throws SocketError when no socket can be had.
    explicit SocketThread(std::uint16_t rebootPort);
    ~SocketThread();
    SocketThread(const SocketThread&) = delete;
    SocketThread& operator=(const SocketThread&) = delete;

    // Sends length bytes to the boards at the destination's port as one datagram. 1 when the
    // message went out whole, 0 when it could not (no data, length 0, port 0, the send failed).
    int Send(std::uint16_t port, std::uint16_t length, const std::uint8_t* data);

    std::uint16_t RebootPort() const { return m_rebootPort; }
    // "192.168.40.1:40312": where the socket is bound.
    std::string LocalEndpoint() const;
    // Whether anything waits unread on the socket (it never should).
    bool HasWaiting() const;

  private:
    bool ConnectTo(std::uint16_t port);

    std::unique_ptr<UdpSocket> m_socket;
    std::uint16_t m_rebootPort;
    std::uint32_t m_destination;
    std::uint16_t m_connectedPort = 0;
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
