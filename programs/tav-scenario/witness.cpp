#include "programs/tav-scenario/witness.h"

#include <poll.h>

#include <algorithm>

namespace {

constexpr int kPollMs = 20;
constexpr std::size_t kEntryBytes = 6;
constexpr std::size_t kAddressBytes = 6;
constexpr char kMarker[] = "RE-MAP";

// CRC-16/MODBUS, written out here again so that the witness does not lean on the program's.
std::uint16_t Crc16(const std::uint8_t* data, std::size_t size) {
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) != 0 ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                                 : static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

}  // namespace

Witness::Witness(std::uint16_t boardsPort, OnMessage onMessage)
    : m_socket(control::UdpSocket::BindLoopback(0)),
      m_port(m_socket.LocalPort()),
      m_boardsPort(boardsPort),
      m_onMessage(std::move(onMessage)),
      m_thread([this] { Run(); }) {}

Witness::~Witness() {
    m_stop = true;
    m_thread.join();
}

void Witness::Run() {
    const sockaddr_in boards = control::LoopbackAddress(m_boardsPort);
    while (!m_stop) {
        pollfd ready{m_socket.Fd(), POLLIN, 0};
        if (::poll(&ready, 1, kPollMs) <= 0) {
            continue;
        }
        while (auto datagram = m_socket.TryReceive()) {
            const auto& bytes = datagram->bytes;
            if (bytes.size() >= 6 && std::equal(bytes.begin(), bytes.begin() + 6, kMarker)) {
                if (m_onMessage) {
                    m_onMessage(bytes);
                }
                std::lock_guard lock(m_mutex);
                m_messages.push_back(bytes);
            }
            m_socket.SendTo(boards, bytes);
            ++m_passed;
        }
    }
}

bool Witness::CaughtUp() const {
    return m_passed >= control::DatagramsSentTo(m_port);
}

std::vector<std::vector<std::uint8_t>> Witness::Messages() const {
    std::lock_guard lock(m_mutex);
    return m_messages;
}

std::string Witness::Describe(const std::vector<std::uint8_t>& message, char& io,
                              std::string& problem) {
    // "RE-MAP", the boards' 6-byte addresses, six 0 bytes, the count, 'I' or 'O', the CRC high
    // byte first, then 6 bytes per port: row, 0, original (2 bytes), new (2 bytes).
    std::size_t at = kAddressBytes;
    auto zeros = [&](std::size_t from) {
        return std::all_of(message.begin() + static_cast<std::ptrdiff_t>(from),
                           message.begin() + static_cast<std::ptrdiff_t>(from + kAddressBytes),
                           [](std::uint8_t b) { return b == 0; });
    };
    while (at + kAddressBytes <= message.size() && !zeros(at)) {
        at += kAddressBytes;
    }
    at += kAddressBytes;
    if (at + 4 > message.size()) {
        problem = "the header is cut short";
        return {};
    }
    const std::size_t count = message[at];
    io = static_cast<char>(message[at + 1]);
    const auto crc = static_cast<std::uint16_t>((message[at + 2] << 8) | message[at + 3]);
    at += 4;
    if (message.size() - at != count * kEntryBytes || (io != 'I' && io != 'O')) {
        problem = "the count or the I/O letter does not match the data";
        return {};
    }
    const std::uint16_t expected = count == 0 ? 0 : Crc16(message.data() + at, count * kEntryBytes);
    if (crc != expected) {
        problem = "the CRC does not match the data";
        return {};
    }
    std::string text;
    for (; at < message.size(); at += kEntryBytes) {
        const std::uint8_t* e = message.data() + at;
        text += (text.empty() ? "" : " ") + std::to_string(e[0]) + ":" +
                std::to_string((e[2] << 8) | e[3]) + ">" + std::to_string((e[4] << 8) | e[5]);
    }
    return text.empty() ? "none" : text;
}

void SendThroughWitness(control::Config& config, const Witness& witness, std::uint16_t boardsPort) {
    config.rebootPort = witness.Port();
    for (control::BoardConfig& board : config.boards) {
        if (!board.port) {
            board.port = boardsPort;
        }
    }
}
