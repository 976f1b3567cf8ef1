// libFuzzer entry: whatever a configuration file holds, the reader either gives a configuration
// within its bounds or refuses it with a ConfigError whose message is one bounded printable line;
// nothing else may escape, crash or recurse without bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/control/config.h"

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
        for (const char c : message) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                std::abort();
            }
        }
    }
    return 0;
}
