#include "platform/control/boards/board_simulator.h"

#include <algorithm>
#include <set>
#include <utility>

namespace control {

namespace {

// A datagram of random bytes can be 64 KiB; the log shows enough of it to recognise it.
constexpr std::size_t kMaxLoggedBytes = 256;
// A flood of datagrams must not flood the log: beyond this many a second, datagrams are handled
// but not shown, and the next line shown says how many were not.
constexpr std::uint64_t kMaxLoggedDatagramsPerSecond = 100;
// Reports a delayed board still owes; each sends the board's record as it is then, so more
// would add nothing but memory.
constexpr std::size_t kMaxPendingPerBoard = 4;

std::string AddressText(const sockaddr_in& address) {
    return EndpointText(address);
}

std::string BoardAddressText(const BoardAddress& address) {
    std::string text = HexBytes(address);
    std::replace(text.begin(), text.end(), ' ', ':');
    return text;
}

std::string Hex16(std::uint16_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 12; shift >= 0; shift -= 4) {
        text += kDigits[(value >> shift) & 0xF];
    }
    return text;
}

// BoardInfo layout: flag at io, CRC low byte first at 2 + 2·io, status at 6 + io.
std::uint16_t CrcField(const BoardRecord& record, int io) {
    return static_cast<std::uint16_t>(record[2 + 2 * io] | (record[3 + 2 * io] << 8));
}

void SetCrcField(BoardRecord& record, int io, std::uint16_t crc) {
    record[2 + 2 * io] = static_cast<std::uint8_t>(crc & 0xFF);
    record[3 + 2 * io] = static_cast<std::uint8_t>(crc >> 8);
}

}  // namespace

std::vector<SimulatedBoard> SimulatedBoardsOf(const Config& config) {
    std::vector<SimulatedBoard> boards;
    for (std::size_t i = 0; i < config.boards.size(); ++i) {
        const BoardConfig& board = config.boards[i];
        SimulatedBoard simulated;
        simulated.number = static_cast<std::uint16_t>(i);
        simulated.name = board.name;
        std::copy_n(board.address.begin(), std::min(board.address.size(), simulated.address.size()),
                    simulated.address.begin());
        simulated.record = board.remapInfo;
        simulated.behaviour = board.behaviour;
        simulated.ip = board.ip;
        simulated.port = board.port;
        boards.push_back(std::move(simulated));
    }
    return boards;
}

BoardSimulator::BoardSimulator(std::vector<SimulatedBoard> boards, BoardSimulatorOptions options)
    : m_port(0), m_statusAddress(options.statusAddress), m_log(std::move(options.log)) {
    m_sockets.push_back(UdpSocket::Bind(BindOptions{options.address, options.port, {}, false}));
    m_port = m_sockets.front().LocalPort();
    for (SimulatedBoard& board : boards) {
        const std::size_t socket = SocketFor(board, options.address);
        m_boards.push_back(Board{std::move(board), {}, socket});
    }
    if (options.statusPort != 0) {
        m_status = Ipv4Endpoint(m_statusAddress, options.statusPort);
    }
    std::vector<int> fds;
    for (const UdpSocket& socket : m_sockets) {
        fds.push_back(socket.Fd());
    }
    m_loop = std::make_unique<SocketLoop>(
        std::move(fds),
        SocketLoop::Handlers{[this](std::size_t socket) { TakeWaiting(socket); },
                             [this] { return NextDue(); }, [this] { SendDueReports(); }});
}

std::size_t BoardSimulator::SocketFor(const SimulatedBoard& board, Ipv4Address address) {
    const Ipv4Address ip = board.ip.value_or(address);
    const std::uint16_t port = board.port.value_or(m_port);
    // Boards that share an endpoint share its socket, as boards behind one address would.
    for (std::size_t i = 0; i < m_sockets.size(); ++i) {
        const sockaddr_in bound = m_sockets[i].LocalEndpoint();
        if (AddressOf(bound) == ip && port != 0 && PortOf(bound) == port) {
            return i;
        }
    }
    m_sockets.push_back(UdpSocket::Bind(BindOptions{ip, port, {}, false}));
    return m_sockets.size() - 1;
}

std::optional<sockaddr_in> BoardSimulator::ReportEndpoint(std::uint16_t board) const {
    std::lock_guard lock(m_mutex);
    for (const Board& b : m_boards) {
        if (b.config.number == board) {
            return m_sockets[b.socket].LocalEndpoint();
        }
    }
    return std::nullopt;
}

BoardSimulator::~BoardSimulator() {
    Stop();
}

void BoardSimulator::Stop() {
    if (m_loop) {
        m_loop->Stop();
    }
}

void BoardSimulator::SetStatusPort(std::uint16_t port) {
    std::lock_guard lock(m_mutex);
    if (port == 0) {
        m_status.reset();
    } else {
        m_status = Ipv4Endpoint(m_statusAddress, port);
    }
}

bool BoardSimulator::SetBehaviour(std::uint16_t board, BoardBehaviour behaviour) {
    std::lock_guard lock(m_mutex);
    for (Board& b : m_boards) {
        if (b.config.number == board) {
            b.config.behaviour = behaviour;
            return true;
        }
    }
    return false;
}

std::optional<BoardRecord> BoardSimulator::HeldRecord(std::uint16_t board) const {
    std::lock_guard lock(m_mutex);
    for (const Board& b : m_boards) {
        if (b.config.number == board) {
            return b.config.record;
        }
    }
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> BoardSimulator::HeldData(std::uint16_t board,
                                                                  int io) const {
    std::lock_guard lock(m_mutex);
    for (const Board& b : m_boards) {
        if (b.config.number == board && (io == 0 || io == 1)) {
            return b.data[io];
        }
    }
    return std::nullopt;
}

BoardSimulator::Counts BoardSimulator::GetCounts() const {
    std::lock_guard lock(m_mutex);
    return m_counts;
}

bool BoardSimulator::WaitFor(const std::function<bool(const Counts&)>& done,
                             std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return done(m_counts); });
}

void BoardSimulator::Count(std::uint64_t Counts::*counter) {
    {
        std::lock_guard lock(m_mutex);
        ++(m_counts.*counter);
    }
    m_changed.notify_all();
}

void BoardSimulator::Log(const std::string& line) const {
    if (m_log && !m_muted) {
        m_log(line);
    }
}

void BoardSimulator::TakeWaiting(std::size_t socket) {
    // Whatever reaches a board's own socket is board network traffic as well.
    while (const auto datagram = m_sockets[socket].TryReceive()) {
        Handle(*datagram);
        // Counted last, so that whoever waits for it sees the datagram's whole effect.
        Count(&Counts::received);
    }
}

void BoardSimulator::Handle(const Datagram& datagram) {
    const std::span<const std::uint8_t> bytes(datagram.bytes);
    const auto now = SocketLoop::Clock::now();
    if (now - m_logWindowStart >= std::chrono::seconds(1)) {
        m_logWindowStart = now;
        m_loggedInWindow = 0;
    }
    m_muted = ++m_loggedInWindow > kMaxLoggedDatagramsPerSecond;
    if (m_muted) {
        ++m_notShown;
        HandleQuietly(bytes, datagram.from);
        return;
    }
    std::string line = "received " + std::to_string(bytes.size()) + " bytes from " +
                       AddressText(datagram.from) + ": " +
                       HexBytes(bytes.first(std::min(bytes.size(), kMaxLoggedBytes)));
    if (bytes.size() > kMaxLoggedBytes) {
        line += " ... (" + std::to_string(bytes.size() - kMaxLoggedBytes) + " more)";
    }
    if (m_notShown > 0) {
        Log(std::to_string(std::exchange(m_notShown, 0)) +
            " datagrams were handled without being shown (more than " +
            std::to_string(kMaxLoggedDatagramsPerSecond) + " a second)");
    }
    Log(line);
    HandleQuietly(bytes, datagram.from);
}

void BoardSimulator::HandleQuietly(std::span<const std::uint8_t> bytes, const sockaddr_in& from) {
    const struct Unmute {
        bool& muted;
        ~Unmute() { muted = false; }
    } unmute{m_muted};
    if (LooksLikeRefreshRequest(bytes)) {
        if (const auto board = DecodeRefreshRequest(bytes)) {
            HandleRefresh(*board, from);
            Count(&Counts::refreshes);
        } else {
            Log("ignored: a refresh request is exactly 10 bytes");
            Count(&Counts::rejected);
        }
        return;
    }
    RemapParseResult parsed = ParseRemapMessage(bytes);
    if (!parsed.message) {
        Log("ignored: " + parsed.error);
        Count(&Counts::rejected);
        return;
    }
    HandleRemap(*parsed.message);
    Count(&Counts::accepted);
}

void BoardSimulator::HandleRemap(const RemapMessage& message) {
    const int io = message.IoIndex();
    Log(std::string("RE-MAP ") + (io == 0 ? "input" : "output") + " data, " +
        std::to_string(message.Count()) + (message.Count() == 1 ? " entry" : " entries") +
        ", CRC " + Hex16(message.crc));
    std::vector<std::size_t> taken;
    {
        std::lock_guard lock(m_mutex);
        std::set<std::size_t> seen;
        for (const BoardAddress& address : message.addresses) {
            bool known = false;
            for (std::size_t i = 0; i < m_boards.size(); ++i) {
                if (m_boards[i].config.address != address) {
                    continue;
                }
                known = true;
                if (!seen.insert(i).second) {
                    continue;  // named twice: it takes the data once
                }
                Board& board = m_boards[i];
                board.data[io] = message.data;
                BoardRecord& record = board.config.record;
                record[io] = message.Count() > 0 ? 1 : 0;
                SetCrcField(record, io, message.crc);
                record[6 + io] = 0;
                taken.push_back(i);
            }
            if (!known) {
                Log("no simulated board has the address " + BoardAddressText(address));
            }
        }
    }
    const auto now = SocketLoop::Clock::now();
    for (const std::size_t index : taken) {
        Answer(index, now);
    }
}

void BoardSimulator::HandleRefresh(std::uint16_t board, const sockaddr_in& from) {
    Log("refresh requested for " +
        (board == kRefreshAllBoards ? std::string("every board")
                                    : "board " + std::to_string(board)) +
        " by " + AddressText(from));
    std::vector<std::size_t> asked;
    {
        std::lock_guard lock(m_mutex);
        // Reports go where the configuration says; only when it names no status port does the
        // first requester (the Board Status Server, on a port the system chose) become the
        // address. Nobody else redirects them.
        if (!m_status) {
            m_status = from;
        }
        for (std::size_t i = 0; i < m_boards.size(); ++i) {
            if (board == kRefreshAllBoards || m_boards[i].config.number == board) {
                asked.push_back(i);
            }
        }
    }
    if (asked.empty()) {
        Log("no simulated board has the number " + std::to_string(board));
    }
    const auto now = SocketLoop::Clock::now();
    for (const std::size_t index : asked) {
        Answer(index, now);
    }
}

void BoardSimulator::Answer(std::size_t index, SocketLoop::Clock::time_point now) {
    BoardBehaviour behaviour;
    std::string who;
    {
        std::lock_guard lock(m_mutex);
        behaviour = m_boards[index].config.behaviour;
        who = "board " + std::to_string(m_boards[index].config.number) + " (" +
              m_boards[index].config.name + ")";
    }
    switch (behaviour.kind) {
        case BoardBehaviour::Kind::Silent:
            Log(who + " stays silent");
            return;
        case BoardBehaviour::Kind::Delayed: {
            bool queued = false;
            {
                std::lock_guard lock(m_mutex);
                const auto owed =
                    std::count_if(m_pending.begin(), m_pending.end(),
                                  [index](const auto& p) { return p.second == index; });
                if (static_cast<std::size_t>(owed) < kMaxPendingPerBoard) {
                    m_pending.emplace(now + behaviour.delay, index);
                    queued = true;
                }
            }
            Log(who + (queued ? " reports in " + std::to_string(behaviour.delay.count()) + " ms"
                              : " already owes " + std::to_string(kMaxPendingPerBoard) +
                                    " delayed reports; no more are queued"));
            return;
        }
        default:
            SendReport(index);
    }
}

void BoardSimulator::SendReport(std::size_t index) {
    BoardReport report;
    std::optional<sockaddr_in> to;
    std::string who;
    std::size_t socket = 0;
    {
        std::lock_guard lock(m_mutex);
        const Board& board = m_boards[index];
        report = BoardReport{board.config.number, Reported(board)};
        to = m_status;
        socket = board.socket;
        who = "board " + std::to_string(board.config.number) + " (" + board.config.name + ")";
    }
    if (!to) {
        Log(who + " has nobody to report to yet (no status port, no refresh request)");
        return;
    }
    const bool sent = m_sockets[socket].SendTo(*to, EncodeBoardReport(report));
    Log(who + (sent ? " reports " : " could not report ") + HexBytes(report.record) + " to " +
        AddressText(*to));
    if (sent) {
        Count(&Counts::reportsSent);
    }
}

BoardRecord BoardSimulator::Reported(const Board& board) const {
    BoardRecord record = board.config.record;
    for (int io = 0; io < 2; ++io) {
        // Only data the board took can be misreported; the rest is reported as configured.
        if (!board.data[io]) {
            continue;
        }
        if (board.config.behaviour.kind == BoardBehaviour::Kind::WrongCrc) {
            SetCrcField(record, io, static_cast<std::uint16_t>(CrcField(record, io) + 1));
        } else if (board.config.behaviour.kind == BoardBehaviour::Kind::BadStatus) {
            record[6 + io] = 1;
        }
    }
    return record;
}

std::optional<SocketLoop::Clock::time_point> BoardSimulator::NextDue() const {
    std::lock_guard lock(m_mutex);
    if (m_pending.empty()) {
        return std::nullopt;
    }
    return m_pending.begin()->first;
}

void BoardSimulator::SendDueReports() {
    const auto now = SocketLoop::Clock::now();
    for (;;) {
        std::size_t index = 0;
        {
            std::lock_guard lock(m_mutex);
            if (m_pending.empty() || m_pending.begin()->first > now) {
                return;
            }
            index = m_pending.begin()->second;
            m_pending.erase(m_pending.begin());
        }
        SendReport(index);
    }
}

}  // namespace control
