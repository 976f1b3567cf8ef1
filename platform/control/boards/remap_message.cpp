#include "platform/control/boards/remap_message.h"

#include <algorithm>
#include <string_view>

#include "platform/control/crc16.h"

namespace control {

namespace {

constexpr std::string_view kTag = "RE-MAP";

// Reads forward through the datagram; every read says first whether the bytes are there.
class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t Left() const { return m_bytes.size() - m_at; }
    std::size_t Offset() const { return m_at; }
    std::span<const std::uint8_t> Take(std::size_t n) {
        const auto part = m_bytes.subspan(m_at, n);
        m_at += n;
        return part;
    }

  private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
};

RemapParseResult Refuse(std::string reason) {
    return RemapParseResult{std::nullopt, std::move(reason)};
}

std::string HexNumber(unsigned int value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        text += kDigits[(value >> shift) & 0xFU];
    }
    return text;
}

}  // namespace

RemapParseResult ParseRemapMessage(std::span<const std::uint8_t> bytes) {
    Reader in(bytes);
    if (in.Left() < kTag.size() ||
        !std::equal(kTag.begin(), kTag.end(), in.Take(kTag.size()).begin())) {
        return Refuse("does not start with \"RE-MAP\"");
    }
    RemapMessage message;
    for (;;) {
        if (in.Left() < kBoardAddressSize) {
            return Refuse("truncated in the address list at offset " + std::to_string(in.Offset()) +
                          " (no six 0 bytes end it)");
        }
        const auto group = in.Take(kBoardAddressSize);
        if (std::all_of(group.begin(), group.end(), [](std::uint8_t b) { return b == 0; })) {
            break;
        }
        BoardAddress address{};
        std::copy(group.begin(), group.end(), address.begin());
        message.addresses.push_back(address);
    }
    if (message.addresses.empty()) {
        return Refuse("names no board");
    }
    if (in.Left() < 4) {
        return Refuse("truncated after the address list: " + std::to_string(in.Left()) +
                      " of the 4 header bytes (count, I/O letter, CRC)");
    }
    const auto header = in.Take(4);
    const std::size_t count = header[0];
    const std::uint8_t letter = header[1];
    message.crc = static_cast<std::uint16_t>((header[2] << 8) | header[3]);
    if (letter != 'I' && letter != 'O') {
        return Refuse("I/O letter " + HexNumber(letter, 2) + " is neither 'I' nor 'O'");
    }
    message.ioLetter = static_cast<char>(letter);
    const std::size_t expected = count * kRemapEntrySize;
    if (in.Left() < expected) {
        return Refuse("truncated: " + std::to_string(count) + " entries need " +
                      std::to_string(expected) + " data bytes, " + std::to_string(in.Left()) +
                      " present");
    }
    if (in.Left() > expected) {
        return Refuse("over-long: " + std::to_string(in.Left() - expected) + " bytes after the " +
                      std::to_string(count) + " entries");
    }
    const auto data = in.Take(expected);
    const std::uint16_t actual = count == 0 ? 0 : Crc16(data);
    if (actual != message.crc) {
        return Refuse("CRC mismatch: the message carries " + HexNumber(message.crc, 4) +
                      ", the data give " + HexNumber(actual, 4));
    }
    message.data.assign(data.begin(), data.end());
    return RemapParseResult{std::move(message), {}};
}

std::vector<std::uint8_t> BuildRemapMessage(const std::vector<BoardAddress>& addresses,
                                            char ioLetter, std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> bytes(kTag.begin(), kTag.end());
    for (const BoardAddress& address : addresses) {
        bytes.insert(bytes.end(), address.begin(), address.end());
    }
    bytes.insert(bytes.end(), kBoardAddressSize, 0);
    const std::uint16_t crc = data.empty() ? 0 : Crc16(data);
    bytes.push_back(static_cast<std::uint8_t>(data.size() / kRemapEntrySize));
    bytes.push_back(static_cast<std::uint8_t>(ioLetter));
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
    bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

std::string HexBytes(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t b : bytes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += kDigits[b >> 4];
        text += kDigits[b & 0xF];
    }
    return text;
}

}  // namespace control
