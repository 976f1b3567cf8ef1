// A printed line too wide for the paper continues under its last column, and nothing of it is lost.
#include "print/print_layout.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* what;
    std::string line;
    std::size_t width;
    std::size_t column;
    std::vector<std::string> printed;
};

TEST(PrintLayoutTest, LinesContinueUnderTheirColumn) {
    const std::string under11(11, ' ');
    const Case cases[] = {
        {"fits", "abc def", 7, 2, {"abc def"}},
        {"blanks at the end print nothing", "abc def  ", 7, 2, {"abc def  "}},
        {"parts end after a blank",
         "0123456789 alpha beta gamma",
         24,
         11,
         {"0123456789 alpha beta ", under11 + "gamma"}},
        {"a word longer than the room is cut at the width",
         "0123456789 abcdefghijklmnopqrstuvwxyz",
         22,
         11,
         {"0123456789 abcdefghijk", under11 + "lmnopqrstuv", under11 + "wxyz"}},
        {"no break before the column",
         "0123456789 abcdefghijkl mn",
         22,
         11,
         {"0123456789 abcdefghijk", under11 + "l mn"}},
        {"characters count, not bytes",
         "0123456789 S\u00fcd Nord Ost",
         22,
         11,
         {"0123456789 S\u00fcd Nord ", under11 + "Ost"}},
        {"a character is never split",
         "0123456789 \u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4"
         "\u00e4",
         22,
         11,
         {"0123456789 \u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4",
          under11 + "\u00e4\u00e4\u00e4"}},
        {"too little room under the column: from the left edge",
         "0123456789 abc def ghi",
         15,
         11,
         {"0123456789 abc ", "def ghi"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ContinueLine(c.line, c.width, c.column), c.printed) << c.what;
    }
}

TEST(PrintLayoutTest, EveryWidthKeepsEveryCharacterAndStaysWithinIt) {
    std::string line = "    MAIN    VIDEO 128  64    0     16       8 In";
    for (int k = 0; k < 40; ++k) {
        line += "(" + std::to_string(100 + 7 * k) + ",4) ";
    }
    constexpr std::size_t kColumn = 46;
    for (std::size_t width = 1; width <= line.size() + 1; ++width) {
        SCOPED_TRACE(width);
        const std::vector<std::string> printed = ContinueLine(line, width, kColumn);
        const std::size_t column = width >= kColumn + kLeastContinuationRoom ? kColumn : 0;
        std::string joined = printed[0];
        for (std::size_t n = 0; n < printed.size(); ++n) {
            EXPECT_LE(PrintedChars(PrintedPart(printed[n])), width);
            if (n > 0) {
                ASSERT_EQ(printed[n].substr(0, column), std::string(column, ' '));
                joined += printed[n].substr(column);
            }
        }
        EXPECT_EQ(joined, line);
    }
}

}  // namespace
