#include "platform/control/configuration/config.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <variant>

#include "platform/control/configuration/default_config.h"
#include "platform/control/crc16.h"
#include "platform/control/ids.h"

namespace control {
namespace {

TEST(Crc16, IsModbusCheckValue) {
    const std::string check = "123456789";
    EXPECT_EQ(Crc16({reinterpret_cast<const std::uint8_t*>(check.data()), check.size()}), 0x4B37);
}

// The built-in configuration meets every case the program has to handle.
TEST(DefaultConfig, IsRealistic) {
    const Config config = DefaultConfig();
    EXPECT_TRUE(config.activeSet);
    EXPECT_FALSE(config.configSetChanging);
    EXPECT_EQ(config.rebootPort, 5150);
    EXPECT_EQ(config.statusPort, 5151);
    EXPECT_FALSE(config.dataFolder.has_value());
    EXPECT_TRUE(config.faults.empty());

    std::set<std::string> switchers;
    std::set<std::pair<int, int>> sizes;
    std::map<int, int> levelsPerBoard;
    for (const LevelConfig& level : config.levels) {
        switchers.insert(level.switcher);
        sizes.emplace(level.inputs, level.outputs);
        ++levelsPerBoard[level.board];
    }
    EXPECT_GE(switchers.size(), 2u);
    EXPECT_GE(config.levels.size(), 5u);
    EXPECT_GE(sizes.size(), 4u) << "levels of different port counts";
    EXPECT_TRUE(std::ranges::any_of(levelsPerBoard, [](const auto& e) { return e.second >= 2; }))
        << "one board serving two levels";

    std::set<char> types;
    bool flaggedTwin = false;
    for (std::size_t i = 0; i < config.boards.size(); ++i) {
        const BoardConfig& board = config.boards[i];
        types.insert(board.type);
        EXPECT_EQ(board.address.size(), 6u);
        for (std::size_t j = 0; j < i; ++j) {
            flaggedTwin |= config.boards[j].name == board.name && board.flag == 1;
        }
    }
    EXPECT_TRUE(types.contains('Q') && types.contains('B') && types.size() >= 3);
    EXPECT_TRUE(flaggedTwin) << "a same-name pair whose second board has flag 1";
}

constexpr const char* kMinimal = R"({
  "rebootPort": 4000,
  "levels": [{"switcher": "SW", "level": "LV", "inputs": 8, "outputs": 4, "board": 0}],
  "boards": [{"name": "B0", "address": [1, 2, 3, 4, 5, 6], "type": "Q"}]
})";

TEST(ParseConfig, ReadsAMinimalConfigurationWithDefaults) {
    const Config config = ParseConfig(kMinimal, "minimal.json", "/base");
    EXPECT_EQ(config.source, "minimal.json");
    EXPECT_TRUE(config.activeSet);
    EXPECT_FALSE(config.configSetChanging);
    EXPECT_EQ(config.rebootPort, 4000);
    EXPECT_EQ(config.statusPort, kDefaultStatusPort);
    ASSERT_EQ(config.levels.size(), 1u);
    EXPECT_EQ(config.levels[0].inputs, 8);
    EXPECT_EQ(config.levels[0].outputs, 4);
    ASSERT_EQ(config.boards.size(), 1u);
    EXPECT_EQ(config.boards[0].address, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(config.boards[0].flag, 0);
    EXPECT_EQ(config.boards[0].behaviour, BoardBehaviour::Normal());
    EXPECT_EQ(config.activeSetCrc,
              Crc16({reinterpret_cast<const std::uint8_t*>(kMinimal), std::strlen(kMinimal)}));
}

TEST(ParseConfig, ReadsEveryOptionalEntry) {
    const Config config = ParseConfig(R"({
      "activeSet": false, "activeSetCrc": "0xBEEF", "configSetChanging": true,
      "rebootPort": 1, "statusPort": 6000, "dataFolder": "files",
      "levels": [],
      "boards": [{"name": "B0", "address": "02-00-00-00-00-0A", "type": "C", "flag": 1,
                  "remapInfo": [1, 0, 45, 203, 0, 0, 0, 0]}],
      "faults": [{"component": "FileAccess", "operation": "Open", "hresult": "E_ACCESSDENIED",
                  "after": 2, "times": 1, "description": "disk gone"},
                 {"component": "BoardStatusServer", "operation": "QueryInterface",
                  "hresult": 2147500034, "interface": "BoardStatusEx"},
                 {"component": "PathFinding", "operation": "create", "hresult": -2147221164}]
    })",
                                      "full.json", "/base/dir");
    EXPECT_FALSE(config.activeSet);
    EXPECT_EQ(config.activeSetCrc, 0xBEEF);
    EXPECT_TRUE(config.configSetChanging);
    EXPECT_EQ(config.statusPort, 6000);
    EXPECT_EQ(config.dataFolder, std::filesystem::path("/base/dir/files"));
    EXPECT_EQ(config.boards[0].address, (std::vector<std::uint8_t>{2, 0, 0, 0, 0, 10}));
    EXPECT_EQ(config.boards[0].type, 'C');
    EXPECT_EQ(config.boards[0].remapInfo[3], 203);
    ASSERT_EQ(config.faults.size(), 3u);
    EXPECT_EQ(config.faults[0].component, ComponentId::FileAccess);
    EXPECT_EQ(config.faults[0].hr, com::E_ACCESSDENIED);
    EXPECT_EQ(config.faults[0].after, 2u);
    EXPECT_EQ(config.faults[0].times, 1);
    EXPECT_EQ(config.faults[0].description, "disk gone");
    EXPECT_EQ(config.faults[1].hr, com::E_NOINTERFACE);
    EXPECT_EQ(config.faults[1].interfaceId, IID_IBoardStatusEx);
    EXPECT_EQ(config.faults[1].times, -1);
    EXPECT_EQ(config.faults[2].hr, com::REGDB_E_CLASSNOTREG);
    EXPECT_EQ(ParseConfig(R"({"rebootPort": 1, "statusPort": 0, "levels": [], "boards": []})",
                          "zero.json", "/")
                  .statusPort,
              0);
}

// A document with reboot port 4000, the levels and boards given and further entries.
const std::string kB0 = R"({"name": "B0", "address": [1,2,3,4,5,6], "type": "Q"})";
std::string Doc(const std::string& levels, const std::string& boards = kB0,
                const std::string& more = "") {
    return R"({"rebootPort": 4000, "levels": [)" + levels + R"(], "boards": [)" + boards + "]" +
           more + "}";
}
std::string Level(const std::string& switcher, const std::string& level, int inputs = 8,
                  int board = 0) {
    return R"({"switcher": ")" + switcher + R"(", "level": ")" + level + R"(", "inputs": )" +
           std::to_string(inputs) + R"(, "outputs": 8, "board": )" + std::to_string(board) + "}";
}
std::string Board(const std::string& name, const std::string& more) {
    return R"({"name": ")" + name + R"(", "address": [1,2,3,4,5,6], "type": "Q")" + more + "}";
}
std::string OneFault(const std::string& entries) {
    return Doc("", kB0, R"(, "faults": [{)" + entries + "}]");
}

TEST(ParseConfig, EachBehaviourIsReadAndDescribedInTheSameWords) {
    const struct {
        const char* json;
        BoardBehaviour expected;
        const char* description;
    } cases[] = {
        {R"("normal")", BoardBehaviour::Normal(), "normal"},
        {R"("silent")", BoardBehaviour::Silent(), "silent"},
        {R"("wrongCrc")", BoardBehaviour::WrongCrc(), "wrongCrc"},
        {R"("badStatus")", BoardBehaviour::BadStatus(), "badStatus"},
        {R"({"delayMs": 500})", BoardBehaviour::Delayed(std::chrono::milliseconds(500)),
         "delayMs 500"},
        {R"({"delayMs": 0})", BoardBehaviour::Delayed(std::chrono::milliseconds(0)), "delayMs 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        const Config config =
            ParseConfig(Doc("", Board("B0", std::string(R"(, "behaviour": )") + c.json)), "b", {});
        EXPECT_EQ(config.boards[0].behaviour, c.expected);
        EXPECT_EQ(DescribeBehaviour(c.expected), c.description);
    }
}

// `count` entries made by `entry`, separated by commas.
std::string Joined(int count, const std::function<std::string(int)>& entry) {
    std::string all;
    for (int i = 0; i < count; ++i) {
        all += (i == 0 ? "" : ", ") + entry(i);
    }
    return all;
}

// The message of the ConfigError that `load` throws; a failure if it throws none.
std::string Refusal(const std::function<void()>& load) {
    try {
        load();
        ADD_FAILURE() << "accepted";
    } catch (const ConfigError& e) {
        return e.what();
    }
    return {};
}

// What a careless edit or a hostile file can put in the configuration: each is refused with a
// message that names the file and the entry, shows the value as written, and stays one printable,
// bounded line.
TEST(ParseConfig, RefusesWithAPrintableBoundedMessageNamingTheFileAndTheEntry) {
    struct Case {
        std::string json;
        std::vector<const char*> mentions;  // parts of the message
    };
    const std::string deep = std::string(75000, '[') + std::string(75000, ']');
    const std::string manyLevels =
        Joined(101, [](int i) { return Level("S", "L" + std::to_string(i)); });
    const std::string manyBoards = Joined(201, [](int i) {
        return R"({"name": "B", "address": [1,2,3,4,5,)" + std::to_string(i % 256) +
               R"(], "type": "Q", "flag": )" + std::to_string(i) + "}";
    });
    std::vector<Case> cases = {
        {Doc(Level("SW", "LV") + ", " + Level("SWITCHER1", "X")),
         {"levels[1]", "SWITCHER1", "9 characters", "at most 8"}},
        {Doc(Level("MAIN", "AUDIOMAIN1")), {"levels[0]", "MAIN", "AUDIOMAIN1", "at most 8"}},
        {Doc("", Board("ROUTERBOARD", "")), {"boards[0]", "ROUTERBOARD", "at most 8"}},
        {R"({"rebootPort": 1, "levels": [)", {"not valid JSON", "line"}},
        {"[1, 2]", {"must be a JSON object"}},
        {Doc("", kB0, R"(, "levls": [])"), {"unknown key \"levls\""}},
        {R"({"levels": [], "boards": []})", {"rebootPort"}},
        {Doc(Level("A,B", "L")), {"levels[0]", "A,B"}},
        {Doc(Level("S", "L", 1, 3)), {"levels[0] (S/L).board", "board 3 does not exist"}},
        {Doc("", R"({"name": "B", "address": "01:02", "type": "Q"})"),
         {"boards[0] (\"B\").address", "6 to 16 bytes"}},
        {Doc("", R"({"name": "B", "address": [1,2,3,4,5,6], "type": "q"})"),
         {"boards[0] (\"B\").type"}},
        {Doc(Level("S", "L", 10000)), {"levels[0] (S/L).inputs", "10000"}},
        {Doc(Level("SW", "LV") + ", " + Level("SW", "LV")), {"levels[1]", "twice"}},
        {OneFault(R"("component": "Nope", "operation": "create", "hresult": "E_FAIL")"),
         {"faults[0].component", "Nope", "SwitcherDescTable"}},
        {OneFault(R"("component": "SwitcherDescTable", "operation": "GetLevelNames",
                     "hresult": "E_FAIL")"),
         {"faults[0].operation", "GetLevelNames", "GetLevelName"}},
        {OneFault(R"("component": "FileAccess", "operation": "Open", "hresult": "0x00000001")"),
         {"faults[0].hresult"}},
        {OneFault(R"("component": "COM", "operation": "CoCreateInstance", "hresult": "E_FAIL")"),
         {"faults[0].operation", "CoInitializeSecurity"}},
        {OneFault(R"("component": "FileAccess", "operation": "Open", "hresult": "E_FAIL",
                     "interface": "FileAccess")"),
         {"faults[0].interface"}},
        {Doc("", kB0, R"(, "statusPort": 70000)"), {"statusPort"}},
        {Doc("", kB0, R"(, "statusPort": "x")"), {"statusPort"}},
        {Doc("", kB0, R"(, "statusPort": 4000)"), {"statusPort", "reboot port 4000"}},
        // Damaged or hostile input.
        {"[7e8888", {"not valid JSON", "7e8888"}},
        {Doc("", kB0, R"(, "comment": 1e400)"), {"not valid JSON", "1e400"}},
        {Doc("", kB0, R"(, "comment": )" + deep), {"comment", "nested deeper"}},
        {Doc("", kB0, R"(, "comment": {"a": )" + deep + "}"), {"comment.a", "nested deeper"}},
        {Doc(Level("A\\u0000B", "L")), {"levels[0].switcher", "\\u0000"}},
        {Doc(Level("\\u001b[2J", "L")), {"levels[0].switcher", "\\u001b"}},
        {Doc(Level("\\u009b2J", "L")), {"levels[0].switcher", "\\u009b"}},
        {Doc("", kB0, R"(, "\u001b]0;x\u0007": 1)"), {"unknown key", "\\u001b"}},
        {Doc("", kB0, R"(, "statusPort": ")" + std::string(100000, 'x') + "\""),
         {"statusPort", "xxx..."}},
        {Doc("", kB0, R"(, "statusPort": 18446744073709551615)"),
         {"statusPort", "18446744073709551615 is outside"}},
        {Doc("", kB0, R"(, "statusPort": -9223372036854775808)"),
         {"statusPort", "-9223372036854775808 is outside"}},
        {Doc(Level("SW", "LV") + ", " + Level("sw", "Lv")), {"levels[1] (sw/Lv)", "twice"}},
        {Doc("", kB0 + ", " + R"({"name": "b0", "address": [1,2,3,4,5,9], "type": "Q"})"),
         {"boards[1]", "same board as boards[0]"}},
        {Doc("", kB0 + ", " + R"({"name": "B1", "address": "01:02:03:04:05:06:07", "type": "Q"})"),
         {"boards[1] (\"B1\").address", "boards[0]"}},
        {Doc("", kB0, R"(, "rebootPort": 2)"), {"rebootPort", "twice"}},
        {Doc(R"({"switcher": "S", "level": "L", "inputs": 1, "inputs": 2, "outputs": 1,
                 "board": 0})"),
         {"levels[0].inputs", "twice"}},
        {Doc(manyLevels), {"levels", "at most 100"}},
        {Doc("", manyBoards), {"boards", "at most 200"}},
        // The board network: addresses that name no one sender, or none at all.
        {Doc("", Board("B0", R"(, "ip": "127.0.0.256")")), {"boards[0] (\"B0\").ip", "IPv4"}},
        {Doc("", Board("B0", R"(, "ip": "127.0.0.01")")), {"boards[0] (\"B0\").ip"}},
        {Doc("", Board("B0", R"(, "ip": "127.0.0")")), {"boards[0] (\"B0\").ip"}},
        {Doc("", Board("B0", R"(, "ip": 2130706433)")), {"boards[0] (\"B0\").ip"}},
        {Doc("", Board("B0", R"(, "ip": "0.0.0.0")")), {"boards[0] (\"B0\").ip", "no one"}},
        {Doc("", Board("B0", R"(, "ip": "255.255.255.255")")),
         {"boards[0] (\"B0\").ip", "broadcast"}},
        {Doc("", Board("B0", R"(, "ip": "239.1.1.1")")), {"boards[0] (\"B0\").ip", "multicast"}},
        {Doc("", Board("B0", R"(, "port": 65536)")), {"boards[0] (\"B0\").port"}},
        {Doc("", kB0, R"(, "boardNetwork": {"destination": "255.255.255.255"})"),
         {"boardNetwork.destination", "broadcast"}},
        {Doc("", kB0, R"(, "boardNetwork": {"destination": "224.0.0.1", "broadcast": true})"),
         {"boardNetwork.destination", "multicast"}},
        {Doc("", kB0, R"(, "boardNetwork": {"destination": "10.0.0.255", "broadcast": true})"),
         {"boards[0] (\"B0\")", "missing \"ip\""}},
        {Doc("", kB0, R"(, "boardNetwork": {"localAddress": "0.0.0.0"})"),
         {"boardNetwork.localAddress", "no one"}},
        {Doc("", kB0, R"(, "boardNetwork": {"interface": "eth0/1"})"),
         {"boardNetwork.interface", "eth0/1"}},
        {Doc("", kB0, R"(, "boardNetwork": {"interface": "abcdefghijklmnop"})"),
         {"boardNetwork.interface"}},
        {Doc("", kB0, R"(, "boardNetwork": {"interface": ""})"), {"boardNetwork.interface"}},
        {Doc("", kB0, R"(, "boardNetwork": {"gateway": "10.0.0.1"})"),
         {"boardNetwork", "unknown key \"gateway\""}},
        {Doc("", kB0, R"(, "boardNetwork": "10.0.0.1")"), {"boardNetwork", "object"}},
        // The JSON library's own messages quote what it read, byte for byte: a byte that is not
        // UTF-8, a sequence cut short, an encoded surrogate, a C1 control.
        {"[\xff]", {"not valid JSON", "'[\\xFF'"}},
        {"{\"comment\": \"\xc3\"}", {"not valid JSON", "'\"\\xC3\"'"}},
        {"{\"comment\": \"\xed\xa0\x80\"}", {"not valid JSON", "'\"\\xED\\xA0'"}},
        {"[\xe2\x80]", {"not valid JSON", "'[\\xE2'"}},
        // A folder path that a NUL would cut short names another folder.
        {Doc("", kB0, R"(, "dataFolder": "data\u0000/../../etc")"), {"dataFolder", "NUL"}},
    };
    for (const char* behaviour :
         {R"("slow")", R"("delayed")", R"("BADSTATUS")", "3", R"({"delayMs": -1})",
          R"({"delayMs": 600001})", R"({"delay": 5})", "{}"}) {
        cases.push_back({Doc("", Board("B0", std::string(R"(, "behaviour": )") + behaviour)),
                         {"boards[0] (\"B0\").behaviour"}});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json.substr(0, 200));
        const std::string message = Refusal([&] { ParseConfig(c.json, "bad.json", "/"); });
        EXPECT_EQ(message.rfind("bad.json: ", 0), 0u) << message;
        EXPECT_LT(message.size(), 700u);
        // Every value is shown in ASCII (names are ASCII, other texts escaped), so nothing else
        // may reach a terminal.
        EXPECT_TRUE(std::ranges::none_of(message, [](char ch) {
            const auto byte = static_cast<unsigned char>(ch);
            return byte < 0x20 || byte >= 0x7F;
        })) << message;
        for (const char* part : c.mentions) {
            EXPECT_NE(message.find(part), std::string::npos)
                << "'" << part << "' missing from " << message;
        }
    }
}

// Where each board's reports are believed from: its own address and port when it names them,
// else the address the boards are sent to and the reboot port.
TEST(ParseConfig, ReadsTheBoardNetworkAndWhereEachBoardReportsFrom) {
    const Config config = ParseConfig(Doc("",
                                          Board("B0", "") + ", " +
                                              R"({"name": "B1", "address": [1,2,3,4,5,7],
                                                  "type": "B", "ip": "127.0.0.3"})" +
                                              ", " +
                                              R"({"name": "B2", "address": [1,2,3,4,5,8],
                                                  "type": "B", "ip": "10.1.2.3", "port": 0})",
                                          R"(, "boardNetwork": {"destination": "127.0.0.2",
                                               "interface": "lo", "localAddress": "127.0.0.9"})"),
                                      "net.json", "/");
    EXPECT_EQ(config.boardNetwork.destination, 0x7F000002u);
    EXPECT_FALSE(config.boardNetwork.broadcast);
    EXPECT_EQ(config.boardNetwork.interfaceName, "lo");
    EXPECT_EQ(config.boardNetwork.localAddress, std::optional<Ipv4Address>(0x7F000009));
    const struct {
        std::size_t board;
        const char* address;
        std::uint16_t port;
    } expected[] = {{0, "127.0.0.2", 4000}, {1, "127.0.0.3", 4000}, {2, "10.1.2.3", 0}};
    for (const auto& e : expected) {
        const auto endpoint = ReportEndpointOf(config, e.board);
        ASSERT_TRUE(endpoint);
        EXPECT_EQ(Ipv4Text(endpoint->address), e.address);
        EXPECT_EQ(endpoint->port, e.port);
    }
    EXPECT_FALSE(ReportEndpointOf(config, 3));

    const Config plain = ParseConfig(kMinimal, "minimal.json", "/");
    EXPECT_EQ(plain.boardNetwork.destination, kLoopbackIpv4);
    EXPECT_TRUE(plain.boardNetwork.interfaceName.empty());
    EXPECT_FALSE(plain.boardNetwork.localAddress);
    EXPECT_EQ(Ipv4Text(ReportEndpointOf(plain, 0)->address), "127.0.0.1");

    const Config broadcast = ParseConfig(
        Doc("", Board("B0", R"(, "ip": "192.168.40.20")"),
            R"(, "boardNetwork": {"destination": "255.255.255.255", "broadcast": true})"),
        "broadcast.json", "/");
    EXPECT_TRUE(broadcast.boardNetwork.broadcast);
    EXPECT_EQ(broadcast.boardNetwork.destination, kLimitedBroadcastIpv4);
    EXPECT_EQ(Ipv4Text(ReportEndpointOf(broadcast, 0)->address), "192.168.40.20");
}

// The file's own name is shown as it is when it is UTF-8 (a folder named in another language),
// and escaped where it is not, or where it holds a control.
TEST(ParseConfig, AFileNameIsShownAsUtf8WithEverythingElseEscaped) {
    const std::string message =
        Refusal([] { ParseConfig("[", "caf\xc3\xa9-\xc2\x9b\xff\x1b\xf0\x9f\x98\x80.json", "/"); });
    EXPECT_EQ(message.rfind("caf\xc3\xa9-\\x9B\\xFF\\x1B\xf0\x9f\x98\x80.json: not valid JSON", 0),
              0u)
        << message;
}

TEST(ParseConfig, AcceptsTheLargestConfigurationTheBoundsAllow) {
    const std::string levels =
        Joined(100, [](int i) { return Level("S", "L" + std::to_string(i), 9999, 2 * i); });
    const std::string boards = Joined(200, [](int i) {
        return R"({"name": "B)" + std::to_string(i / 2) + R"(", "address": [1,2,3,4,)" +
               std::to_string(i / 256) + "," + std::to_string(i % 256) +
               R"(], "type": "Q", "flag": )" + std::to_string(i % 2) + "}";
    });
    const Config config = ParseConfig(Doc(levels, boards), "big.json", "/");
    EXPECT_EQ(config.levels.size(), 100u);
    EXPECT_EQ(config.boards.size(), 200u);
}

// Files that are not configuration files at all: refused at once, naming the file, never read
// without bound and never waited on.
TEST(LoadConfigFile, RefusesWhatIsNotARegularFileOfBoundedSize) {
    char pattern[] = "/tmp/tav-config-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::filesystem::path dir = pattern;
    const auto fifo = dir / "fifo.json";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto big = dir / "big.json";
    {
        std::ofstream out(big, std::ios::binary);
        out << "{\"comment\": \"" << std::string(5 * 1024 * 1024, 'x') << "\"}";
    }
    struct Case {
        std::filesystem::path file;
        const char* mention;
    };
    for (const Case& c :
         {Case{dir, "folder"}, Case{fifo, "not a regular file"},
          Case{"/dev/zero", "not a regular file"}, Case{"/dev/urandom", "not a regular file"},
          Case{big, "larger than"}, Case{dir / "missing.json", "cannot be read"}}) {
        SCOPED_TRACE(c.file.string());
        const std::string message = Refusal([&] { LoadConfigFile(c.file); });
        EXPECT_EQ(message.rfind(c.file.string() + ": ", 0), 0u) << message;
        EXPECT_NE(message.find(c.mention), std::string::npos) << message;
    }
    std::filesystem::remove_all(dir);
}

// The configuration and the scenario player read a fault with the same parser: each part checked
// in turn, the first wrong one named with how it is wrong.
TEST(ParseFaultText, ReadsAFaultOrNamesItsFirstWrongPart) {
    using Part = FaultTextError::Part;
    using Problem = FaultTextError::Problem;
    struct Case {
        FaultText text;
        std::optional<FaultTextError> error;  // none: read
    };
    const std::optional<std::string> none;
    const Case cases[] = {
        {{"FileAccess", "Open", "E_FAIL", none}, {}},
        {{"BoardStatusServer", "QueryInterface", "0x80004002", "BoardStatusEx"}, {}},
        {{"COM", "CoInitializeSecurity", "E_FAIL", none}, {}},
        {{none, "Open", "E_FAIL", none}, FaultTextError{Part::Component, Problem::Missing}},
        {{"Nope", "Bad", "Bad", none}, FaultTextError{Part::Component, Problem::Unknown}},
        {{"FileAccess", none, "E_FAIL", none}, FaultTextError{Part::Operation, Problem::Missing}},
        {{"FileAccess", "Clsoe", "E_FAIL", none},
         FaultTextError{Part::Operation, Problem::Unknown}},
        {{"FileAccess", "Open", none, none}, FaultTextError{Part::Result, Problem::Missing}},
        {{"FileAccess", "Open", "0", none}, FaultTextError{Part::Result, Problem::Unknown}},
        {{"FileAccess", "Open", "E_FAIL", "BoardStatusEx"},
         FaultTextError{Part::Interface, Problem::Misplaced}},
        {{"BoardStatusServer", "QueryInterface", "E_FAIL", "Nope"},
         FaultTextError{Part::Interface, Problem::Unknown}},
        // The library's calls: the code first, then the call.
        {{"COM", "Bad", "Bad", none}, FaultTextError{Part::Result, Problem::Unknown}},
        {{"COM", "CoCreateInstance", "E_FAIL", none},
         FaultTextError{Part::Operation, Problem::Unknown}},
        {{"COM", "CoInitialize", "E_FAIL", "BoardStatusEx"},
         FaultTextError{Part::Interface, Problem::Misplaced}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.component.value_or("-") + " " + c.text.operation.value_or("-"));
        const auto parsed = ParseFaultText(c.text);
        const auto* error = std::get_if<FaultTextError>(&parsed);
        ASSERT_EQ(error != nullptr, c.error.has_value());
        if (error != nullptr) {
            EXPECT_EQ(error->part, c.error->part);
            EXPECT_EQ(error->problem, c.error->problem);
        }
    }
    const auto fault = std::get<Fault>(ParseFaultText(cases[1].text));
    EXPECT_EQ(fault.component, ComponentId::BoardStatusServer);
    EXPECT_EQ(fault.operation, "QueryInterface");
    EXPECT_EQ(fault.hr, com::E_NOINTERFACE);
    EXPECT_EQ(fault.interfaceId, IID_IBoardStatusEx);
    EXPECT_EQ(fault.after, 0u);
    EXPECT_EQ(fault.times, -1);
    const auto library = std::get<LibraryFault>(ParseFaultText(cases[2].text));
    EXPECT_TRUE(library.security);
    EXPECT_EQ(library.hr, com::E_FAIL);
}

// The configuration's words for a wrong fault entry, whole; the counts are told before a wrong
// interface, as the entry lists them.
TEST(ParseConfig, RefusesAWrongFaultEntryInItsOwnWords) {
    const std::pair<std::string, std::string> cases[] = {
        {R"("component": "FileAccess", "hresult": "E_FAIL")", R"(faults[0]: missing "operation")"},
        {R"("component": "COM", "operation": "CoCreateInstance", "hresult": "E_FAIL")",
         R"(faults[0].operation: unknown operation "CoCreateInstance" of COM (known: )"
         R"(CoInitialize, CoInitializeSecurity))"},
        {R"("component": "COM", "operation": "CoInitialize", "hresult": 2147500037)",
         R"(faults[0].hresult: expected a failure code such as "0x80004005" or "E_FAIL", )"
         R"(found 2147500037)"},
        {R"("component": "FileAccess", "operation": "Open", "hresult": 0)",
         R"(faults[0].hresult: expected a failure code such as "0x80004005" or "E_FAIL", found 0)"},
        {R"("component": "FileAccess", "operation": "Open", "hresult": "E_FAIL",
            "interface": "BoardStatusEx")",
         "faults[0].interface: only a QueryInterface fault names an interface"},
        {R"("component": "BoardStatusServer", "operation": "QueryInterface", "hresult": "E_FAIL",
            "interface": 7)",
         "faults[0].interface: expected an interface name or id, found 7"},
        {R"("component": "BoardStatusServer", "operation": "QueryInterface", "hresult": "E_FAIL",
            "times": 0, "interface": "Nope")",
         "faults[0].times: 0 is outside 1..2147483647"},
    };
    for (const auto& [entry, message] : cases) {
        try {
            ParseConfig(OneFault(entry), "t.json", {});
            ADD_FAILURE() << "accepted " << entry;
        } catch (const ConfigError& e) {
            EXPECT_EQ(e.what(), "t.json: " + message);
        }
    }
    // A component's code may be written as a number, signed or not.
    for (const char* code : {"2147500037", "-2147467259"}) {
        const Config config =
            ParseConfig(OneFault(R"("component": "FileAccess", "operation": "Open", "hresult": )" +
                                 std::string(code)),
                        "t.json", {});
        ASSERT_EQ(config.faults.size(), 1u);
        EXPECT_EQ(config.faults[0].hr, com::E_FAIL);
    }
}

TEST(ParseHresultText, ReadsNumbersHexAndNames) {
    EXPECT_EQ(ParseHresultText("0x80004005"), com::E_FAIL);
    EXPECT_EQ(ParseHresultText("0X8007000e"), com::E_OUTOFMEMORY);
    EXPECT_EQ(ParseHresultText("2147500034"), com::E_NOINTERFACE);
    EXPECT_EQ(ParseHresultText("CO_E_SERVER_EXEC_FAILURE"), com::CO_E_SERVER_EXEC_FAILURE);
    EXPECT_FALSE(ParseHresultText("0x1FFFFFFFF").has_value());
    EXPECT_FALSE(ParseHresultText("E_BOGUS").has_value());
    EXPECT_FALSE(ParseHresultText("").has_value());
}

}  // namespace
}  // namespace control
