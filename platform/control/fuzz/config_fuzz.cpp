// libFuzzer entry: whatever a configuration file holds, the reader either gives a configuration
// within its bounds or refuses it with a ConfigError whose message is one bounded printable line
// (ASCII, or well-formed UTF-8); nothing else may escape, crash or recurse without bound.
#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cuchar>
#include <string_view>

#include "platform/control/configuration/config.h"

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    // mbrtoc32 reads UTF-8 only in a UTF-8 locale.
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) {
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const control::Config config = control::ParseConfig(text, "fuzz.json", "/base");
        if (config.levels.size() > 100 || config.boards.size() > 200) {
            std::abort();
        }
        for (const control::LevelConfig& level : config.levels) {
            if (level.board >= config.boards.size() || level.inputs < 0 || level.inputs > 9999 ||
                level.outputs < 0 || level.outputs > 9999) {
                std::abort();
            }
        }
    } catch (const control::ConfigError& e) {
        const std::string_view message = e.what();
        if (message.size() > 700 || message.rfind("fuzz.json: ", 0) != 0) {
            std::abort();
        }
        // Printable ASCII, or well-formed UTF-8 of a code point beyond the C1 controls (the
        // library quotes what it read); every other byte escaped.
        for (std::size_t i = 0; i < message.size();) {
            const auto c = static_cast<unsigned char>(message[i]);
            if (c < 0x20 || c == 0x7F) {
                std::abort();
            }
            if (c < 0x80) {
                ++i;
                continue;
            }
            std::mbstate_t state{};
            char32_t point = 0;
            const std::size_t length =
                std::mbrtoc32(&point, message.data() + i, message.size() - i, &state);
            if (length == 0 || length > 4 || point < 0xA0 || (point >= 0xD800 && point < 0xE000)) {
                std::abort();
            }
            i += length;
        }
    }
    return 0;
}
