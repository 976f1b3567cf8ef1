// Board network addresses of the configuration: the text form of IPv4 addresses, and where each
// board's reports must come from.
#include <charconv>

#include "platform/control/configuration/config.h"

namespace control {

std::optional<Ipv4Address> ParseIpv4(std::string_view text) {
    Ipv4Address address = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (text.empty() || text.front() != '.') {
                return std::nullopt;
            }
            text.remove_prefix(1);
        }
        std::size_t digits = 0;
        while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
            ++digits;
        }
        // "010" could be read as octal by other tools: only plain decimal numbers are taken.
        if (digits == 0 || digits > 3 || (digits > 1 && text.front() == '0')) {
            return std::nullopt;
        }
        unsigned value = 0;
        std::from_chars(text.data(), text.data() + digits, value);
        if (value > 255) {
            return std::nullopt;
        }
        address = (address << 8) | value;
        text.remove_prefix(digits);
    }
    if (!text.empty()) {
        return std::nullopt;
    }
    return address;
}

std::string Ipv4Text(Ipv4Address address) {
    return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 0xFF) + "." +
           std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}

bool IsLoopbackIpv4(Ipv4Address address) {
    return (address >> 24) == 127;
}

std::optional<ReportEndpoint> ReportEndpointOf(const Config& config, std::size_t board) {
    if (board >= config.boards.size()) {
        return std::nullopt;
    }
    const BoardConfig& b = config.boards[board];
    return ReportEndpoint{b.ip.value_or(config.boardNetwork.destination),
                          b.port.value_or(config.rebootPort)};
}

}  // namespace control
