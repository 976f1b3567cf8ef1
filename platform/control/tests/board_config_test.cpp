// The board network's entries of the configuration: the status port and each board's behaviour.
#include <gtest/gtest.h>

#include <string>

#include "platform/control/config.h"

namespace control {
namespace {

Config Parse(const std::string& extraTop, const std::string& boardExtra = "") {
    return ParseConfig(R"({"rebootPort": 4000, "levels": [], )" + extraTop +
                           R"("boards": [{"name": "B0", "address": [1,2,3,4,5,6], "type": "Q")" +
                           boardExtra + "}]}",
                       "test.json", {});
}

std::string RefusalOf(const std::string& extraTop, const std::string& boardExtra = "") {
    try {
        Parse(extraTop, boardExtra);
    } catch (const ConfigError& e) {
        return e.what();
    }
    return "<accepted>";
}

TEST(BoardNetworkConfig, TheStatusPortDefaultsAndCanBeChosen) {
    EXPECT_EQ(Parse("").statusPort, kDefaultStatusPort);
    EXPECT_EQ(Parse(R"("statusPort": 0, )").statusPort, 0);
    EXPECT_EQ(Parse(R"("statusPort": 6000, )").statusPort, 6000);
    EXPECT_EQ(DefaultConfig().statusPort, 5151);
    EXPECT_EQ(DefaultConfig().rebootPort, 5150);
}

TEST(BoardNetworkConfig, AStatusPortThatCannotWorkIsRefused) {
    EXPECT_NE(RefusalOf(R"("statusPort": 70000, )").find("statusPort"), std::string::npos);
    EXPECT_NE(RefusalOf(R"("statusPort": "x", )").find("statusPort"), std::string::npos);
    const std::string same = RefusalOf(R"("statusPort": 4000, )");
    EXPECT_NE(same.find("reboot port 4000"), std::string::npos) << same;
}

struct BehaviourCase {
    const char* json;
    BoardBehaviour expected;
};

TEST(BoardNetworkConfig, EachBehaviourIsRead) {
    const BehaviourCase cases[] = {
        {R"("normal")", BoardBehaviour::Normal()},
        {R"("silent")", BoardBehaviour::Silent()},
        {R"("wrongCrc")", BoardBehaviour::WrongCrc()},
        {R"("badStatus")", BoardBehaviour::BadStatus()},
        {R"({"delayMs": 500})", BoardBehaviour::Delayed(std::chrono::milliseconds(500))},
        {R"({"delayMs": 0})", BoardBehaviour::Delayed(std::chrono::milliseconds(0))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        EXPECT_EQ(Parse("", std::string(R"(, "behaviour": )") + c.json).boards[0].behaviour,
                  c.expected);
    }
    EXPECT_EQ(Parse("").boards[0].behaviour, BoardBehaviour::Normal());
}

TEST(BoardNetworkConfig, AnUnknownBehaviourIsRefusedNamingTheBoard) {
    for (const char* json : {R"("slow")", R"("delayed")", R"(3)", R"({"delayMs": -1})",
                             R"({"delayMs": 600001})", R"({"delay": 5})", R"({})"}) {
        SCOPED_TRACE(json);
        const std::string error = RefusalOf("", std::string(R"(, "behaviour": )") + json);
        EXPECT_NE(error.find("boards[0] (\"B0\").behaviour"), std::string::npos) << error;
    }
}

TEST(BoardNetworkConfig, BehavioursAreDescribedInTheConfigurationsWords) {
    EXPECT_EQ(DescribeBehaviour(BoardBehaviour::Silent()), "silent");
    EXPECT_EQ(DescribeBehaviour(BoardBehaviour::WrongCrc()), "wrongCrc");
    EXPECT_EQ(DescribeBehaviour(BoardBehaviour::Delayed(std::chrono::milliseconds(250))),
              "delayMs 250");
    EXPECT_EQ(BehaviourFromName("badStatus"), BoardBehaviour::Kind::BadStatus);
    EXPECT_EQ(BehaviourFromName("BADSTATUS"), std::nullopt);
}

}  // namespace
}  // namespace control
