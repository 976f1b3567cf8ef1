// libFuzzer entry: whatever a datagram holds, the boards' parsers must neither read out of bounds
// nor accept a message that differs from what a well-behaved sender would have built.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/control/boards/board_wire.h"
#include "platform/control/boards/remap_message.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const control::RemapParseResult parsed = control::ParseRemapMessage(bytes);
    if (parsed.message.has_value() == !parsed.error.empty()) {
        std::abort();  // exactly one of message and reason
    }
    if (parsed.message) {
        const control::RemapMessage& m = *parsed.message;
        const auto rebuilt = control::BuildRemapMessage(m.addresses, m.ioLetter, m.data);
        if (m.addresses.empty() || m.data.size() % control::kRemapEntrySize != 0 ||
            !std::equal(rebuilt.begin(), rebuilt.end(), bytes.begin(), bytes.end())) {
            std::abort();
        }
    }
    if (const auto report = control::DecodeBoardReport(bytes)) {
        const auto encoded = control::EncodeBoardReport(*report);
        if (!std::equal(encoded.begin(), encoded.end(), bytes.begin(), bytes.end())) {
            std::abort();
        }
    }
    if (const auto board = control::DecodeRefreshRequest(bytes)) {
        const auto encoded = control::EncodeRefreshRequest(*board);
        if (!std::equal(encoded.begin(), encoded.end(), bytes.begin(), bytes.end())) {
            std::abort();
        }
    }
    return 0;
}
