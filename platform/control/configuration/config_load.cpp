// Loading a configuration: the file read with care, the JSON read with guards, and every refusal
// made one printable, bounded line that names the file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>

#include "platform/control/configuration/config_read.h"
#include "platform/control/configuration/default_config.h"
#include "platform/control/unique_fd.h"

namespace control {

namespace {

using config_read::Fail;
using nlohmann::json;

// A configuration is a few kilobytes; the bound keeps a device or a runaway file from taking
// the memory.
constexpr std::size_t kMaxConfigBytes = 4 * 1024 * 1024;
// Deeper than any configuration needs; a deeper value is refused while it is read, before
// anything could recurse through it.
constexpr int kMaxDepth = 32;
constexpr std::size_t kMaxMessage = 600;

// The length of the well-formed UTF-8 sequence at the start of text, 0 when it is not one.
std::size_t Utf8Length(std::string_view text) {
    const auto at = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = at(0);
    std::size_t length = 0;
    unsigned char low = 0x80;   // the second byte's bounds exclude overlong forms, surrogates
    unsigned char high = 0xBF;  // and code points beyond U+10FFFF
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || at(1) < low || at(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (at(i) < 0x80 || at(i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

// The message as a terminal can show it, length bounded: control bytes (C0, DEL and the C1
// controls U+0080..U+009F, which act on terminals as well) and every byte that is not part of
// well-formed UTF-8 (the JSON library quotes what it read as it was) are escaped as \xHH.
std::string Printable(std::string_view text) {
    std::string out;
    const auto escape = [&out](unsigned char byte) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
        out += escaped;
    };
    for (std::size_t i = 0; i < text.size() && out.size() < kMaxMessage;) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            escape(c);
            ++i;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else if (const std::size_t length = Utf8Length(text.substr(i)); length == 0) {
            escape(c);
            ++i;
        } else if (c == 0xC2 && static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            escape(static_cast<unsigned char>(text[i + 1]));  // a C1 control, as its code
            i += 2;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    if (out.size() >= kMaxMessage) {
        out += "...";
    }
    return out;
}

// Parses while watching what the library would accept silently: a key given twice in one object
// (only the last would count) and values nested deeper than any configuration needs.
json ReadJson(std::string_view text) {
    struct Frame {
        bool array = false;
        std::size_t index = 0;
        std::string key;
        std::set<std::string> keys;
    };
    std::vector<Frame> frames;
    const auto path = [&frames] {
        std::string where;
        for (const Frame& f : frames) {
            if (f.array) {
                where += "[" + std::to_string(f.index) + "]";
            } else if (!f.key.empty()) {
                where += (where.empty() ? "" : ".") + f.key.substr(0, 2 * kMaxNameLength);
            }
        }
        return where;
    };
    const auto elementDone = [&frames] {
        if (!frames.empty() && frames.back().array) {
            ++frames.back().index;
        }
    };
    const json::parser_callback_t watch = [&](int /*depth*/, json::parse_event_t event,
                                              json& parsed) {
        switch (event) {
            case json::parse_event_t::object_start:
            case json::parse_event_t::array_start:
                if (frames.size() >= static_cast<std::size_t>(kMaxDepth)) {
                    Fail(path(), "nested deeper than " + std::to_string(kMaxDepth) + " levels");
                }
                frames.push_back(Frame{event == json::parse_event_t::array_start, 0, {}, {}});
                break;
            case json::parse_event_t::key:
                frames.back().key = parsed.get<std::string>();
                if (!frames.back().keys.insert(frames.back().key).second) {
                    Fail(path(), "the key is given twice in one object");
                }
                break;
            case json::parse_event_t::object_end:
            case json::parse_event_t::array_end:
                frames.pop_back();
                elementDone();
                break;
            case json::parse_event_t::value:
                elementDone();
                break;
        }
        return true;
    };
    return json::parse(text, watch);
}

}  // namespace

Config ParseConfig(std::string_view text, const std::string& source,
                   const std::filesystem::path& baseFolder) {
    json root;
    try {
        root = ReadJson(text);
    } catch (const ConfigError& e) {
        throw ConfigError(Printable(source + ": " + e.what()));
    } catch (const json::exception& e) {
        // Syntax errors, and numbers no double can hold ("1e400").
        std::string what = e.what();
        if (const auto bracket = what.find("] "); bracket != std::string::npos) {
            what = what.substr(bracket + 2);
        }
        throw ConfigError(Printable(source + ": not valid JSON: " + what));
    }
    try {
        return config_read::ReadConfig(root, text, source, baseFolder);
    } catch (const ConfigError& e) {
        throw ConfigError(Printable(source + ": " + e.what()));
    } catch (const json::exception& e) {
        throw ConfigError(Printable(source + ": " + e.what()));
    }
}

Config LoadConfigFile(const std::filesystem::path& file) {
    const std::string name = file.string();
    const auto refuse = [&name](const std::string& why) {
        throw ConfigError(Printable(name + ": " + why));
    };
    // Not blocking: a FIFO would otherwise wait for a writer before its type could be checked.
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.Valid()) {
        refuse(std::string("cannot be read: ") + std::strerror(errno));
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        refuse(std::string("cannot be read: ") + std::strerror(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        refuse("is a folder, not a configuration file");
    }
    if (!S_ISREG(info.st_mode)) {
        refuse("is not a regular file");
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            refuse(std::string("cannot be read: ") + std::strerror(errno));
        }
        if (n == 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
        if (text.size() > kMaxConfigBytes) {
            refuse("is larger than " + std::to_string(kMaxConfigBytes / 1024 / 1024) +
                   " MB; a configuration is a few kilobytes");
        }
    }
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(file, ec);
    return ParseConfig(text, name, (ec ? file : absolute).parent_path());
}

Config DefaultConfig() {
    return ParseConfig(DefaultConfigText(), "built-in configuration", {});
}

}  // namespace control
