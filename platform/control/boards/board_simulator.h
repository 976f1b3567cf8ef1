// Router boards on the loopback network, for the default run (tav-boards) and for tests. The
// simulator listens on 127.0.0.1 (or another loopback address) for RE-MAP messages and refresh
// requests, keeps what each board it simulates took, and reports each board's 8-byte remap
// information to the Board Status Server: when data arrive for it and whenever a refresh is
// asked. A board that names its own address (and port) sends its reports from a socket of its own
// there, so that boards can sit at their own 127.0.0.x addresses as on a real network. Each board
// can be told to misbehave (see BoardBehaviour). Anything malformed is logged and changes
// nothing.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/control/boards/board_behaviour.h"
#include "platform/control/boards/board_wire.h"
#include "platform/control/boards/remap_message.h"
#include "platform/control/configuration/config.h"
#include "platform/control/socket_loop.h"
#include "platform/control/udp_socket.h"

namespace control {

struct SimulatedBoard {
    std::uint16_t number = 0;  // its place in the configuration's boards: the number it reports
    std::string name;
    BoardAddress address{};  // the first 6 bytes of the configured address
    BoardRecord record{};    // what it reports before any data arrive
    BoardBehaviour behaviour;
    // Where it reports from: none, the simulator's own address and port; a port of 0, one the
    // system chooses.
    std::optional<Ipv4Address> ip;
    std::optional<std::uint16_t> port;
};

// Every board of the configuration, numbered in order.
std::vector<SimulatedBoard> SimulatedBoardsOf(const Config& config);

struct BoardSimulatorOptions {
    std::uint16_t port = 0;  // listens on address:port; 0 lets the system choose
    // Where reports go: statusAddress at statusPort. A status port of 0: to whoever sends the
    // first refresh request (the server, on a port the system chose); nowhere until then.
    std::uint16_t statusPort = 0;
    // One line per event, on the simulator's thread; every datagram received is shown in hex.
    std::function<void(const std::string& line)> log;
    Ipv4Address address = kLoopbackIpv4;
    Ipv4Address statusAddress = kLoopbackIpv4;
};

class BoardSimulator {
  public:
    struct Counts {
        std::uint64_t received = 0;  // datagrams handled
        std::uint64_t accepted = 0;  // well-formed RE-MAP messages
        std::uint64_t rejected = 0;  // malformed datagrams
        std::uint64_t refreshes = 0;
        std::uint64_t reportsSent = 0;
    };

    // Throws SocketError when the port cannot be had.
    BoardSimulator(std::vector<SimulatedBoard> boards, BoardSimulatorOptions options);
    ~BoardSimulator();
    BoardSimulator(const BoardSimulator&) = delete;
    BoardSimulator& operator=(const BoardSimulator&) = delete;

    std::uint16_t Port() const { return m_port; }
    // Where the board sends its reports from; nothing for an unknown board.
    std::optional<sockaddr_in> ReportEndpoint(std::uint16_t board) const;
    void SetStatusPort(std::uint16_t port);
    // False when no simulated board has that number.
    bool SetBehaviour(std::uint16_t board, BoardBehaviour behaviour);

    // What the board holds (its record as a well-behaved board would report it), and the data it
    // took for input (0) or output (1); nothing for an unknown board or data never taken.
    std::optional<BoardRecord> HeldRecord(std::uint16_t board) const;
    std::optional<std::vector<std::uint8_t>> HeldData(std::uint16_t board, int io) const;

    Counts GetCounts() const;
    // Waits until the counts satisfy `done` or the timeout passes; true when they do.
    bool WaitFor(const std::function<bool(const Counts&)>& done,
                 std::chrono::milliseconds timeout) const;

    // Stops listening; nothing is handled or reported afterwards.
    void Stop();

  private:
    struct Board {
        SimulatedBoard config;
        std::optional<std::vector<std::uint8_t>> data[2];
        std::size_t socket = 0;  // the place in m_sockets it reports from
    };

    // The socket the board reports from: the listening one, or one of its own at its address.
    std::size_t SocketFor(const SimulatedBoard& board, Ipv4Address address);
    void TakeWaiting(std::size_t socket);
    void Handle(const Datagram& datagram);
    void HandleQuietly(std::span<const std::uint8_t> bytes, const sockaddr_in& from);
    void HandleRemap(const RemapMessage& message);
    void HandleRefresh(std::uint16_t board, const sockaddr_in& from);
    // Has the board report now, later, or not at all, as its behaviour says.
    void Answer(std::size_t index, SocketLoop::Clock::time_point now);
    void SendReport(std::size_t index);
    std::optional<SocketLoop::Clock::time_point> NextDue() const;
    void SendDueReports();
    BoardRecord Reported(const Board& board) const;
    void Log(const std::string& line) const;
    void Count(std::uint64_t Counts::*counter);

    std::vector<UdpSocket> m_sockets;  // the listening socket first, then the boards' own
    std::uint16_t m_port;
    Ipv4Address m_statusAddress;
    std::function<void(const std::string&)> m_log;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<Board> m_boards;
    std::optional<sockaddr_in> m_status;
    std::multimap<SocketLoop::Clock::time_point, std::size_t> m_pending;  // delayed reports
    // The log's budget, kept on the simulator's thread only.
    SocketLoop::Clock::time_point m_logWindowStart{};
    std::uint64_t m_loggedInWindow = 0;
    std::uint64_t m_notShown = 0;
    bool m_muted = false;
    Counts m_counts;

    std::unique_ptr<SocketLoop> m_loop;  // last: its thread uses the members above
};

}  // namespace control
