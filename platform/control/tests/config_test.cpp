#include "platform/control/config.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "platform/control/crc16.h"
#include "platform/control/default_config.h"
#include "platform/control/ids.h"

namespace control {
namespace {

TEST(Crc16, IsModbusCheckValue) {
    const std::string check = "123456789";
    EXPECT_EQ(Crc16({reinterpret_cast<const std::uint8_t*>(check.data()), check.size()}), 0x4B37);
}

TEST(DefaultConfig, IsValidAndRealistic) {
    const Config config = DefaultConfig();
    EXPECT_TRUE(config.activeSet);
    EXPECT_FALSE(config.configSetChanging);
    EXPECT_NE(config.rebootPort, 0);
    EXPECT_FALSE(config.dataFolder.has_value());
    EXPECT_TRUE(config.faults.empty());
    const std::string_view text = DefaultConfigText();
    EXPECT_EQ(config.activeSetCrc,
              Crc16({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}));

    std::set<std::string> switchers;
    std::set<std::pair<int, int>> sizes;
    std::map<int, int> levelsPerBoard;
    for (const LevelConfig& level : config.levels) {
        switchers.insert(level.switcher);
        sizes.emplace(level.inputs, level.outputs);
        ++levelsPerBoard[level.board];
        EXPECT_LE(level.switcher.size(), kMaxNameLength);
        EXPECT_LE(level.level.size(), kMaxNameLength);
        ASSERT_LT(level.board, config.boards.size());
    }
    EXPECT_GE(switchers.size(), 2u);
    EXPECT_GE(config.levels.size(), 5u);
    EXPECT_GE(sizes.size(), 4u) << "levels of different port counts";
    EXPECT_TRUE(std::any_of(levelsPerBoard.begin(), levelsPerBoard.end(), [](const auto& entry) {
        return entry.second >= 2;
    })) << "one board serving two levels";

    std::set<char> types;
    bool flaggedTwin = false;
    for (std::size_t i = 0; i < config.boards.size(); ++i) {
        const BoardConfig& board = config.boards[i];
        types.insert(board.type);
        EXPECT_EQ(board.address.size(), 6u);
        for (std::size_t j = 0; j < i; ++j) {
            if (config.boards[j].name == board.name && board.flag == 1) {
                flaggedTwin = true;
            }
        }
    }
    EXPECT_TRUE(types.contains('Q'));
    EXPECT_TRUE(types.contains('B'));
    EXPECT_GE(types.size(), 3u);
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
    ASSERT_EQ(config.levels.size(), 1u);
    EXPECT_EQ(config.levels[0].inputs, 8);
    EXPECT_EQ(config.levels[0].outputs, 4);
    ASSERT_EQ(config.boards.size(), 1u);
    EXPECT_EQ(config.boards[0].address, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(config.boards[0].flag, 0);
    EXPECT_EQ(config.activeSetCrc,
              Crc16({reinterpret_cast<const std::uint8_t*>(kMinimal), std::strlen(kMinimal)}));
}

TEST(ParseConfig, ReadsEveryOptionalEntry) {
    const Config config = ParseConfig(R"({
      "activeSet": false, "activeSetCrc": "0xBEEF", "configSetChanging": true,
      "rebootPort": 1, "dataFolder": "files",
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
}

struct Refusal {
    const char* name;
    const char* json;
    std::vector<const char*> mentions;  // parts of the message
};

class RefusedConfig : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedConfig, IsRefusedWithAMessageNamingTheEntry) {
    try {
        ParseConfig(GetParam().json, "bad.json", "/");
        FAIL() << "accepted";
    } catch (const ConfigError& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.rfind("bad.json: ", 0), 0u) << message;
        for (const char* part : GetParam().mentions) {
            EXPECT_NE(message.find(part), std::string::npos)
                << "'" << part << "' not in: " << message;
        }
    }
}

#define BOARD0 R"("boards": [{"name": "B0", "address": [1,2,3,4,5,6], "type": "Q"}])"
#define LEVEL0 R"({"switcher": "SW", "level": "LV", "inputs": 8, "outputs": 8, "board": 0})"

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedConfig,
    ::testing::Values(
        Refusal{"LongSwitcher",
                R"({"rebootPort": 1, "levels": [)" LEVEL0
                R"(, {"switcher": "SWITCHER1", "level": "X", "inputs": 1, "outputs": 1,
                     "board": 0}], )" BOARD0 "}",
                {"levels[1]", "SWITCHER1", "9 characters", "at most 8"}},
        Refusal{"LongLevel",
                R"({"rebootPort": 1, "levels": [{"switcher": "MAIN", "level": "AUDIOMAIN1",
                    "inputs": 1, "outputs": 1, "board": 0}], )" BOARD0 "}",
                {"levels[0]", "MAIN", "AUDIOMAIN1", "at most 8"}},
        Refusal{"LongBoard",
                R"({"rebootPort": 1, "levels": [], "boards": [{"name": "ROUTERBOARD",
                    "address": [1,2,3,4,5,6], "type": "Q"}]})",
                {"boards[0]", "ROUTERBOARD", "at most 8"}},
        Refusal{"BadJson", R"({"rebootPort": 1, "levels": [)", {"not valid JSON", "line"}},
        Refusal{"NotAnObject", "[1, 2]", {"must be a JSON object"}},
        Refusal{"UnknownKey",
                R"({"rebootPort": 1, "levls": [], )" BOARD0 "}",
                {"unknown key \"levls\""}},
        Refusal{"MissingPort", R"({"levels": [], )" BOARD0 "}", {"rebootPort"}},
        Refusal{"CommaInName",
                R"({"rebootPort": 1, "levels": [{"switcher": "A,B", "level": "L", "inputs": 1,
                    "outputs": 1, "board": 0}], )" BOARD0 "}",
                {"levels[0]", "A,B"}},
        Refusal{"MissingBoard",
                R"({"rebootPort": 1, "levels": [{"switcher": "S", "level": "L", "inputs": 1,
                    "outputs": 1, "board": 3}], )" BOARD0 "}",
                {"levels[0] (S/L).board", "board 3 does not exist"}},
        Refusal{"ShortAddress",
                R"({"rebootPort": 1, "levels": [], "boards": [{"name": "B", "address": "01:02",
                    "type": "Q"}]})",
                {"boards[0] (\"B\").address", "6 to 16 bytes"}},
        Refusal{"BadType",
                R"({"rebootPort": 1, "levels": [], "boards": [{"name": "B",
                    "address": [1,2,3,4,5,6], "type": "q"}]})",
                {"boards[0] (\"B\").type"}},
        Refusal{"TooManyPorts",
                R"({"rebootPort": 1, "levels": [{"switcher": "S", "level": "L", "inputs": 10000,
                    "outputs": 1, "board": 0}], )" BOARD0 "}",
                {"levels[0] (S/L).inputs", "10000"}},
        Refusal{"DuplicateLevel",
                R"({"rebootPort": 1, "levels": [)" LEVEL0 ", " LEVEL0 "], " BOARD0 "}",
                {"levels[1]", "twice"}},
        Refusal{"UnknownComponent",
                R"({"rebootPort": 1, "levels": [], )" BOARD0 R"(, "faults": [{"component": "Nope",
                    "operation": "create", "hresult": "E_FAIL"}]})",
                {"faults[0].component", "Nope", "SwitcherDescTable"}},
        Refusal{"UnknownOperation",
                R"({"rebootPort": 1, "levels": [], )" BOARD0 R"(, "faults": [{"component":
                    "SwitcherDescTable", "operation": "GetLevelNames", "hresult": "E_FAIL"}]})",
                {"faults[0].operation", "GetLevelNames", "GetLevelName"}},
        Refusal{"SuccessIsNoFault",
                R"({"rebootPort": 1, "levels": [], )" BOARD0 R"(, "faults": [{"component":
                    "FileAccess", "operation": "Open", "hresult": "0x00000001"}]})",
                {"faults[0].hresult"}},
        Refusal{"UnknownComOperation",
                R"({"rebootPort": 1, "levels": [], )" BOARD0 R"(, "faults": [{"component": "COM",
                    "operation": "CoCreateInstance", "hresult": "E_FAIL"}]})",
                {"faults[0].operation", "CoInitializeSecurity"}},
        Refusal{"InterfaceOnlyForQuery",
                R"({"rebootPort": 1, "levels": [], )" BOARD0 R"(, "faults": [{"component":
                    "FileAccess", "operation": "Open", "hresult": "E_FAIL",
                    "interface": "FileAccess"}]})",
                {"faults[0].interface"}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(LoadConfigFile, MissingFileIsRefusedNamingIt) {
    try {
        LoadConfigFile("/nonexistent/tavora.json");
        FAIL() << "accepted";
    } catch (const ConfigError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/tavora.json"), std::string::npos);
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
