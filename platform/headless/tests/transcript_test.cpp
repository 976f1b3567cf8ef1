#include <gtest/gtest.h>

#include "platform/headless/transcript.h"

namespace headless {
namespace {

TEST(Transcript, QuotingKeepsEveryCharacterReadable) {
    EXPECT_EQ(Quote("a\"b\\c\r\nd"), R"("a\"b\\c\r\nd")");
}

TEST(Transcript, MessageBoxLineNamesCaptionIconButtonsAndText) {
    fw::MessageBoxRequest r;
    r.caption = "Tavora - WARNING!";
    r.text = "Please specify a valid original range.";
    r.type = fw::MB_YESNOCANCEL | fw::MB_ICONHAND;
    EXPECT_EQ(DescribeMessageBox(r),
              R"(msgbox caption="Tavora - WARNING!" icon=stop buttons=yesnocancel )"
              R"(text="Please specify a valid original range.")");
    EXPECT_EQ(AnswerName(fw::IDNO), "no");
    r.detail = "Board 2 \"B\": no report\n";
    EXPECT_EQ(DescribeMessageBox(r),
              R"(msgbox caption="Tavora - WARNING!" icon=stop buttons=yesnocancel )"
              R"(text="Please specify a valid original range." )"
              R"(detail="Board 2 \"B\": no report\n")");
}

TEST(Transcript, EchoSeesEveryLine) {
    Transcript t;
    std::vector<std::string> echoed;
    t.SetEcho([&](const std::string& line) { echoed.push_back(line); });
    t.Add("one");
    t.Add("two");
    EXPECT_EQ(echoed, t.Lines());
}

}  // namespace
}  // namespace headless
