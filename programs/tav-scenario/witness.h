// A UDP listener of the player's own in front of the simulated boards: the program sends to it,
// it keeps every RE-MAP message byte for byte and passes every datagram on to the boards. What the
// program sent is judged from these bytes, read here, not from what the boards made of them.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/control/configuration/config.h"
#include "platform/control/udp_socket.h"

class Witness {
  public:
    using OnMessage = std::function<void(const std::vector<std::uint8_t>&)>;

    // Listens on a port the system chooses; passes datagrams on to 127.0.0.1 at boardsPort.
    // onMessage (when given) sees each RE-MAP message, on the witness's thread, before the boards
    // do.
    explicit Witness(std::uint16_t boardsPort, OnMessage onMessage = {});
    ~Witness();
    Witness(const Witness&) = delete;
    Witness& operator=(const Witness&) = delete;

    std::uint16_t Port() const { return m_port; }
    // Every datagram this process sent to Port() has been passed on.
    bool CaughtUp() const;
    // The RE-MAP messages taken so far, in the order they came.
    std::vector<std::vector<std::uint8_t>> Messages() const;

    // A RE-MAP message read afresh: its I/O letter and its remap data as "row:original>new" per
    // port ("none" without entries); empty with *problem set when the message is malformed (its
    // layout, count or CRC-16 does not hold).
    static std::string Describe(const std::vector<std::uint8_t>& message, char& io,
                                std::string& problem);

  private:
    void Run();

    control::UdpSocket m_socket;
    std::uint16_t m_port;
    std::uint16_t m_boardsPort;
    OnMessage m_onMessage;
    std::atomic<bool> m_stop{false};
    std::atomic<std::uint64_t> m_passed{0};
    mutable std::mutex m_mutex;
    std::vector<std::vector<std::uint8_t>> m_messages;
    std::thread m_thread;
};

// Puts the witness in front of the boards listening at boardsPort: the program sends to the
// witness, while the boards still answer from their own port, which is where their reports are
// then believed from (a board that names a port of its own keeps it).
void SendThroughWitness(control::Config& config, const Witness& witness, std::uint16_t boardsPort);
