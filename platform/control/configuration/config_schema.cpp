// The configuration's schema: the keys each object takes and the values each key allows.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

#include "platform/control/configuration/config_read.h"
#include "platform/control/crc16.h"

namespace control::config_read {

namespace {

// The widest counts the program's fixed-column files can hold.
constexpr std::int64_t kMaxPorts = 9999;
constexpr std::size_t kMinAddressBytes = 6;
constexpr std::size_t kMaxAddressBytes = 16;
// A board that answers later than the program's 30-second wait is as good as silent; ten minutes
// bounds what a typo can do.
constexpr std::int64_t kMaxBoardDelayMs = 600000;
// The System Definition file holds at most 100 rows, one per level; each level is served by one
// board, and a same-name pair doubles that. Larger lists only slow the first window down.
constexpr std::size_t kMaxLevels = 100;
constexpr std::size_t kMaxBoards = 2 * kMaxLevels;
// How much of a value an error message shows.
constexpr std::size_t kMaxShownValue = 60;

}  // namespace

// A value as written, for a message: one line of ASCII (control characters escaped), shortened.
std::string Shown(const json& value) {
    std::string text = value.dump(-1, ' ', true, json::error_handler_t::replace);
    if (text.size() > kMaxShownValue) {
        text = text.substr(0, kMaxShownValue) + "...";
    }
    return text;
}

std::string ShownText(std::string_view text) {
    return Shown(json(std::string(text)));
}

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
    throw ConfigError(where.empty() ? what : where + ": " + what);
}

namespace {

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

}  // namespace

void RefuseUnknownKeys(const json& object, const std::string& where,
                       std::initializer_list<std::string_view> known) {
    for (const auto& item : object.items()) {
        if (std::find(known.begin(), known.end(), item.key()) == known.end()) {
            std::string list;
            for (const auto k : known) {
                list += (list.empty() ? "" : ", ") + std::string(k);
            }
            Fail(where, "unknown key " + ShownText(item.key()) + " (known keys: " + list + ")");
        }
    }
}

const json& Require(const json& object, const char* key, const std::string& where) {
    const auto found = object.find(key);
    if (found == object.end()) {
        Fail(where, std::string("missing \"") + key + "\"");
    }
    return *found;
}

std::int64_t ReadInteger(const json& value, const std::string& where, std::int64_t min,
                         std::int64_t max) {
    if (!value.is_number_integer()) {
        Fail(where, "expected a whole number, found " + Shown(value));
    }
    const bool beyond = value.is_number_unsigned() && value.get<std::uint64_t>() > INT64_MAX;
    const std::int64_t n = beyond ? INT64_MAX : value.get<std::int64_t>();
    if (beyond || n < min || n > max) {
        // The number as written, not as it would have been cut to fit.
        Fail(where,
             Shown(value) + " is outside " + std::to_string(min) + ".." + std::to_string(max));
    }
    return n;
}

std::optional<std::uint64_t> ParseUnsigned(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

namespace {

bool ReadBool(const json& value, const std::string& where) {
    if (!value.is_boolean()) {
        Fail(where, "expected true or false, found " + Shown(value));
    }
    return value.get<bool>();
}

// A name the program's files can hold: 1 to 8 printable characters, no comma (the remap table
// files separate fields with commas) and no leading blank (the fixed-column file drops it).
std::string ReadName(const json& value, const std::string& where) {
    if (!value.is_string()) {
        Fail(where, "expected a text, found " + Shown(value));
    }
    const std::string name = value.get<std::string>();
    if (name.empty()) {
        Fail(where, "the name is empty");
    }
    if (name.size() > kMaxNameLength) {
        Fail(where, "name " + Shown(value) + " has " + std::to_string(name.size()) +
                        " characters; names are at most " + std::to_string(kMaxNameLength));
    }
    for (const char c : name) {
        if (c < 0x20 || c > 0x7E || c == ',') {
            Fail(where,
                 "name " + Shown(value) + " holds a character the program's files cannot hold");
        }
    }
    if (name.front() == ' ') {
        Fail(where, "name " + Shown(value) + " starts with a blank");
    }
    return name;
}

std::uint16_t ReadCrc(const json& value, const std::string& where) {
    if (value.is_string()) {
        const auto n = ParseUnsigned(value.get<std::string>());
        if (!n || *n > 0xFFFF) {
            Fail(where, "expected a 16-bit number, found " + Shown(value));
        }
        return static_cast<std::uint16_t>(*n);
    }
    return static_cast<std::uint16_t>(ReadInteger(value, where, 0, 0xFFFF));
}

std::vector<std::uint8_t> ReadAddress(const json& value, const std::string& where) {
    std::vector<std::uint8_t> bytes;
    if (value.is_array()) {
        for (std::size_t i = 0; i < value.size(); ++i) {
            bytes.push_back(static_cast<std::uint8_t>(
                ReadInteger(value[i], where + "[" + std::to_string(i) + "]", 0, 255)));
        }
    } else if (value.is_string()) {
        std::string hex;
        for (const char c : value.get<std::string>()) {
            if (c != ':' && c != '-' && c != ' ') {
                hex += c;
            }
        }
        if (hex.size() % 2 != 0) {
            Fail(where, "expected pairs of hex digits, found " + Shown(value));
        }
        for (std::size_t i = 0; i < hex.size(); i += 2) {
            const auto n = ParseUnsigned("0x" + hex.substr(i, 2));
            if (!n) {
                Fail(where, "expected pairs of hex digits, found " + Shown(value));
            }
            bytes.push_back(static_cast<std::uint8_t>(*n));
        }
    } else {
        Fail(where, "expected a list of bytes or a hex text, found " + Shown(value));
    }
    if (bytes.size() < kMinAddressBytes || bytes.size() > kMaxAddressBytes) {
        Fail(where, "an address has " + std::to_string(kMinAddressBytes) + " to " +
                        std::to_string(kMaxAddressBytes) + " bytes, found " +
                        std::to_string(bytes.size()));
    }
    return bytes;
}

LevelConfig ReadLevel(const json& value, const std::string& where) {
    if (!value.is_object()) {
        Fail(where, "expected an object");
    }
    RefuseUnknownKeys(value, where, {"switcher", "level", "inputs", "outputs", "board"});
    LevelConfig level;
    level.switcher = ReadName(Require(value, "switcher", where), where + ".switcher");
    const std::string named = where + " (switcher " + ShownText(level.switcher) + ")";
    level.level = ReadName(Require(value, "level", where), named + ".level");
    const std::string full = where + " (" + level.switcher + "/" + level.level + ")";
    level.inputs = static_cast<std::int32_t>(
        ReadInteger(Require(value, "inputs", full), full + ".inputs", 0, kMaxPorts));
    level.outputs = static_cast<std::int32_t>(
        ReadInteger(Require(value, "outputs", full), full + ".outputs", 0, kMaxPorts));
    level.board = static_cast<std::uint16_t>(
        ReadInteger(Require(value, "board", full), full + ".board", 0, 0xFFFE));
    return level;
}

// "normal", "silent", "wrongCrc", "badStatus", or {"delayMs": N}.
BoardBehaviour ReadBehaviour(const json& value, const std::string& where) {
    if (value.is_string()) {
        if (const auto kind = BehaviourFromName(value.get<std::string>());
            kind && *kind != BoardBehaviour::Kind::Delayed) {
            return BoardBehaviour{*kind, {}};
        }
    } else if (value.is_object()) {
        RefuseUnknownKeys(value, where, {"delayMs"});
        const auto delay =
            ReadInteger(Require(value, "delayMs", where), where + ".delayMs", 0, kMaxBoardDelayMs);
        return BoardBehaviour::Delayed(std::chrono::milliseconds(delay));
    }
    Fail(where,
         "expected \"normal\", \"silent\", \"wrongCrc\", \"badStatus\" or {\"delayMs\": N}, "
         "found " +
             Shown(value));
}

// An address on the board network: a unicast address (or, for a destination, a broadcast one),
// never "any address" nor a multicast group.
Ipv4Address ReadIpv4(const json& value, const std::string& where, bool broadcastAllowed) {
    const auto address =
        value.is_string() ? ParseIpv4(value.get<std::string>()) : std::optional<Ipv4Address>();
    if (!address) {
        Fail(where, "expected an IPv4 address such as \"127.0.0.1\", found " + Shown(value));
    }
    if (*address == 0) {
        Fail(where, "0.0.0.0 names no one address");
    }
    if ((*address >> 28) == 0xE) {
        Fail(where, Shown(value) +
                        " is a multicast address; the board network is reached by "
                        "unicast or broadcast");
    }
    if (*address == kLimitedBroadcastIpv4 && !broadcastAllowed) {
        Fail(where, Shown(value) + " is the broadcast address; it names no one sender");
    }
    return *address;
}

// {"destination": "192.168.40.255", "broadcast": true, "interface": "eth1",
//  "localAddress": "192.168.40.1"}
BoardNetworkConfig ReadBoardNetwork(const json& value, const std::string& where) {
    if (!value.is_object()) {
        Fail(where, "expected an object");
    }
    RefuseUnknownKeys(value, where, {"destination", "broadcast", "interface", "localAddress"});
    BoardNetworkConfig network;
    if (value.contains("broadcast")) {
        network.broadcast = ReadBool(value["broadcast"], where + ".broadcast");
    }
    if (value.contains("destination")) {
        network.destination =
            ReadIpv4(value["destination"], where + ".destination", network.broadcast);
    }
    if (value.contains("interface")) {
        const json& name = value["interface"];
        const std::string text = name.is_string() ? name.get<std::string>() : std::string();
        // The kernel's limit (IFNAMSIZ less the terminating 0) and the characters it refuses.
        const bool valid = !text.empty() && text.size() <= 15 && text != "." && text != ".." &&
                           std::all_of(text.begin(), text.end(), [](char c) {
                               return c > 0x20 && c < 0x7F && c != '/' && c != ':';
                           });
        if (!valid) {
            Fail(where + ".interface",
                 "expected a network interface name such as \"eth1\", found " + Shown(name));
        }
        network.interfaceName = text;
    }
    if (value.contains("localAddress")) {
        network.localAddress = ReadIpv4(value["localAddress"], where + ".localAddress", false);
    }
    return network;
}

BoardConfig ReadBoard(const json& value, const std::string& where) {
    if (!value.is_object()) {
        Fail(where, "expected an object");
    }
    RefuseUnknownKeys(value, where,
                      {"name", "address", "type", "flag", "remapInfo", "behaviour", "ip", "port"});
    BoardConfig board;
    board.name = ReadName(Require(value, "name", where), where + ".name");
    const std::string named = where + " (" + ShownText(board.name) + ")";
    board.address = ReadAddress(Require(value, "address", named), named + ".address");
    const json& type = Require(value, "type", named);
    if (!type.is_string() || type.get<std::string>().size() != 1 ||
        !std::isupper(static_cast<unsigned char>(type.get<std::string>()[0]))) {
        Fail(named + ".type", "expected one capital letter, found " + Shown(type));
    }
    board.type = type.get<std::string>()[0];
    if (value.contains("flag")) {
        board.flag = static_cast<std::uint8_t>(ReadInteger(value["flag"], named + ".flag", 0, 255));
    }
    if (value.contains("remapInfo")) {
        const json& info = value["remapInfo"];
        if (!info.is_array() || info.size() != board.remapInfo.size()) {
            Fail(named + ".remapInfo", "expected a list of 8 bytes");
        }
        for (std::size_t i = 0; i < board.remapInfo.size(); ++i) {
            board.remapInfo[i] = static_cast<std::uint8_t>(
                ReadInteger(info[i], named + ".remapInfo[" + std::to_string(i) + "]", 0, 255));
        }
    }
    if (value.contains("behaviour")) {
        board.behaviour = ReadBehaviour(value["behaviour"], named + ".behaviour");
    }
    if (value.contains("ip")) {
        board.ip = ReadIpv4(value["ip"], named + ".ip", false);
    }
    if (value.contains("port")) {
        board.port =
            static_cast<std::uint16_t>(ReadInteger(value["port"], named + ".port", 0, 65535));
    }
    return board;
}

// Two boards the program could not tell apart: the same name and flag (the flag marks the second
// of a same-name pair), or the same address (boards are known by its first 6 bytes).
void RefuseDuplicateBoards(const std::vector<BoardConfig>& boards) {
    std::map<std::pair<std::string, int>, std::size_t> names;
    std::map<std::vector<std::uint8_t>, std::size_t> addresses;
    for (std::size_t i = 0; i < boards.size(); ++i) {
        const BoardConfig& board = boards[i];
        const std::string where =
            "boards[" + std::to_string(i) + "] (" + ShownText(board.name) + ")";
        const auto [sameName, newName] =
            names.emplace(std::pair(Upper(board.name), int{board.flag}), i);
        if (!newName) {
            Fail(where, "the same board as boards[" + std::to_string(sameName->second) +
                            "] (same name and flag)");
        }
        const std::vector<std::uint8_t> key(board.address.begin(),
                                            board.address.begin() + kMinAddressBytes);
        const auto [sameAddress, newAddress] = addresses.emplace(key, i);
        if (!newAddress) {
            Fail(where + ".address",
                 "the address of boards[" + std::to_string(sameAddress->second) + "] again");
        }
    }
}

void ReadPorts(const json& root, Config& config) {
    config.rebootPort = static_cast<std::uint16_t>(
        ReadInteger(Require(root, "rebootPort", ""), "rebootPort", 1, 65535));
    if (root.contains("statusPort")) {
        config.statusPort =
            static_cast<std::uint16_t>(ReadInteger(root["statusPort"], "statusPort", 0, 65535));
    }
    if (config.statusPort == config.rebootPort) {
        Fail("statusPort", "the Board Status Server cannot take reports at the reboot port " +
                               std::to_string(config.rebootPort) + ", where the boards listen");
    }
}

std::filesystem::path ReadDataFolder(const json& folder, const std::filesystem::path& baseFolder) {
    if (!folder.is_string() || folder.get<std::string>().empty()) {
        Fail("dataFolder", "expected a folder path");
    }
    // The system takes a path up to its first NUL: the rest would name another folder.
    if (folder.get<std::string>().find('\0') != std::string::npos) {
        Fail("dataFolder", "the path " + Shown(folder) + " holds a NUL character");
    }
    return (baseFolder / folder.get<std::string>()).lexically_normal();
}

std::vector<LevelConfig> ReadLevels(const json& root) {
    const json& levels = Require(root, "levels", "");
    if (!levels.is_array() || levels.size() > kMaxLevels) {
        Fail("levels", "expected a list of at most " + std::to_string(kMaxLevels) +
                           " levels (the System Definition file holds no more)");
    }
    std::vector<LevelConfig> read;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        read.push_back(ReadLevel(levels[i], "levels[" + std::to_string(i) + "]"));
    }
    return read;
}

std::vector<BoardConfig> ReadBoards(const json& root) {
    const json& boards = Require(root, "boards", "");
    if (!boards.is_array() || boards.size() > kMaxBoards) {
        Fail("boards", "expected a list of at most " + std::to_string(kMaxBoards) + " boards");
    }
    std::vector<BoardConfig> read;
    for (std::size_t i = 0; i < boards.size(); ++i) {
        read.push_back(ReadBoard(boards[i], "boards[" + std::to_string(i) + "]"));
    }
    RefuseDuplicateBoards(read);
    return read;
}

// A report never comes from a broadcast address: each board must say where it sends from.
void RefuseBoardsWithoutAddress(const Config& config) {
    for (std::size_t i = 0; config.boardNetwork.broadcast && i < config.boards.size(); ++i) {
        if (!config.boards[i].ip) {
            Fail("boards[" + std::to_string(i) + "] (" + ShownText(config.boards[i].name) + ")",
                 "missing \"ip\": on a broadcast board network every board names the address "
                 "it reports from");
        }
    }
}

// Each level is served by a board that exists, and names a switcher and level no other level
// names: the program finds levels by name without regard to case.
void RefuseUnservedOrTwiceNamedLevels(const Config& config) {
    std::map<std::pair<std::string, std::string>, std::size_t> seen;
    for (std::size_t i = 0; i < config.levels.size(); ++i) {
        const LevelConfig& level = config.levels[i];
        const std::string where =
            "levels[" + std::to_string(i) + "] (" + level.switcher + "/" + level.level + ")";
        if (level.board >= config.boards.size()) {
            Fail(where + ".board", "board " + std::to_string(level.board) +
                                       " does not exist (there are " +
                                       std::to_string(config.boards.size()) + " boards)");
        }
        const auto [first, added] =
            seen.emplace(std::pair(Upper(level.switcher), Upper(level.level)), i);
        if (!added) {
            Fail(where, "the switcher and level appear twice (first as levels[" +
                            std::to_string(first->second) + "])");
        }
    }
}

void ReadFaults(const json& faults, Config& config) {
    if (!faults.is_array()) {
        Fail("faults", "expected a list");
    }
    for (std::size_t i = 0; i < faults.size(); ++i) {
        const std::string where = "faults[" + std::to_string(i) + "]";
        if (faults[i].is_object() && faults[i].value("component", json()) == "COM") {
            ReadComFault(faults[i], where, config);
        } else {
            config.faults.push_back(ReadFault(faults[i], where));
        }
    }
}

}  // namespace

Config ReadConfig(const json& root, std::string_view text, const std::string& source,
                  const std::filesystem::path& baseFolder) {
    if (!root.is_object()) {
        Fail("", "the configuration must be a JSON object");
    }
    RefuseUnknownKeys(root, "",
                      {"activeSet", "activeSetCrc", "configSetChanging", "rebootPort", "statusPort",
                       "dataFolder", "levels", "boards", "faults", "comment", "boardNetwork"});
    Config config;
    config.source = source;
    if (root.contains("activeSet")) {
        config.activeSet = ReadBool(root["activeSet"], "activeSet");
    }
    config.activeSetCrc =
        root.contains("activeSetCrc")
            ? ReadCrc(root["activeSetCrc"], "activeSetCrc")
            : Crc16({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    if (root.contains("configSetChanging")) {
        config.configSetChanging = ReadBool(root["configSetChanging"], "configSetChanging");
    }
    ReadPorts(root, config);
    if (root.contains("dataFolder")) {
        config.dataFolder = ReadDataFolder(root["dataFolder"], baseFolder);
    }
    config.levels = ReadLevels(root);
    config.boards = ReadBoards(root);
    if (root.contains("boardNetwork")) {
        config.boardNetwork = ReadBoardNetwork(root["boardNetwork"], "boardNetwork");
    }
    RefuseBoardsWithoutAddress(config);
    RefuseUnservedOrTwiceNamedLevels(config);
    if (root.contains("faults")) {
        ReadFaults(root["faults"], config);
    }
    return config;
}

}  // namespace control::config_read
