// The table line reader against the one it replaced, kept here as it stood, on generated lines:
// both must refuse the same lines and make the same entries from the others.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "remap/remap_line.h"
#include "sysdef/sysdef_format.h"

namespace {

struct FormerEntry {
    std::string time, date, switcher, level;
    std::int32_t row, origFirst, origLast, newFirst, newLast;
    std::string comment;
};

std::optional<std::int32_t> FormerNumber(std::string_view field, std::int32_t max) {
    std::string_view text = field;
    for (std::size_t i = field.size(); i > 0; --i) {
        if (field[field.size() - i] == 'x') {
            text = field.substr(field.size() - i + 1);
            break;
        }
    }
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > max) {
            return std::nullopt;
        }
    }
    if (negative && value != 0) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::optional<FormerEntry> FormerParse(const std::string& line) {
    std::size_t commas[10];
    std::size_t found = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\0') {
            return std::nullopt;
        }
        if (line[i] == ',' && found < 10) {
            commas[found++] = i;
        }
    }
    if (found < 9 || commas[8] + 1 >= line.size()) {
        return std::nullopt;
    }
    const std::string_view text(line);
    const auto field = [&](std::size_t i) {
        const std::size_t start = i == 0 ? 0 : commas[i - 1] + 1;
        if (i < found) {
            return text.substr(start, commas[i] - start);
        }
        std::string_view last = text.substr(start);
        if (last.back() == '\r') {
            last.remove_suffix(1);
        }
        return last;
    };
    const auto row = FormerNumber(field(4), static_cast<std::int32_t>(sysdef::kMaxRows) - 1);
    const auto origFirst = FormerNumber(field(5), sysdef::kMaxPortCount);
    const auto origLast = FormerNumber(field(6), sysdef::kMaxPortCount);
    const auto newFirst = FormerNumber(field(7), sysdef::kMaxPortCount);
    const auto newLast = FormerNumber(field(8), sysdef::kMaxPortCount);
    if (!row || !origFirst || !origLast || !newFirst || !newLast) {
        return std::nullopt;
    }
    const std::string_view comment = field(9);
    return FormerEntry{std::string(field(0)),
                       std::string(field(1)),
                       std::string(field(2)),
                       std::string(field(3)),
                       *row,
                       *origFirst,
                       *origLast,
                       *newFirst,
                       *newLast,
                       std::string(comment.empty() ? std::string_view(" ") : comment)};
}

// A numeric field of the kinds a damaged or hand-edited file holds: plain numbers near and past
// the limits, "x" prefixes, blanks, signs, stray letters, nothing at all.
std::string NumberField(std::mt19937& random) {
    static const char* const kPieces[] = {
        "0",   "7",  "12",  "99",  "100", "9999", "10000", "x",     "0x",
        "x12", " ",  "\t",  "+",   "-",   "a",    "00",    "99999", "12345678901234567890",
        "",    "5x", "x-3", " +4", "\v8"};
    std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
    std::uniform_int_distribution<int> count(0, 3);
    std::string field;
    for (int n = count(random); n >= 0; --n) {
        field += kPieces[piece(random)];
    }
    return field;
}

std::string Line(std::mt19937& random) {
    std::uniform_int_distribution<int> percent(0, 99);
    std::string line = "14:03:27,December 06 2026,MAIN,VIDEO";
    for (int i = 0; i < 5; ++i) {
        line += ',';
        line += percent(random) < 50 ? std::to_string(percent(random) % 20) : NumberField(random);
    }
    line += ',';
    const int tail = percent(random);
    if (tail < 40) {
        line += "card 3 failed; spare in slot 7";
    } else if (tail < 55) {
        line += " ";
    } else if (tail < 65) {
        line += "a,b";
    } else if (tail < 72) {
        line += "";  // nothing after the ninth comma
    }
    if (percent(random) < 50) {
        line += '\r';
    }
    // Damage anywhere: a byte dropped, a NUL, a comma, the line cut short.
    const int damage = percent(random);
    std::uniform_int_distribution<std::size_t> at(0, line.size() - 1);
    if (damage < 10) {
        line.erase(at(random), 1);
    } else if (damage < 15) {
        line[at(random)] = '\0';
    } else if (damage < 25) {
        line.insert(at(random), 1, ',');
    } else if (damage < 30) {
        line.resize(at(random));
    }
    return line;
}

TEST(RemapLineAgreement, TheReaderRefusesAndReadsLinesAsTheFormerOneDid) {
    std::mt19937 random(20261206);
    int read = 0;
    for (int n = 0; n < 200'000; ++n) {
        const std::string line = Line(random);
        const auto former = FormerParse(line);
        const auto entry = ParseRemapLine(line);
        ASSERT_EQ(entry != nullptr, former.has_value()) << "line: " << line;
        if (!entry) {
            continue;
        }
        ++read;
        EXPECT_EQ(entry->m_strTime, former->time);
        EXPECT_EQ(entry->m_strDate, former->date);
        EXPECT_EQ(entry->m_strSwitcher, former->switcher);
        EXPECT_EQ(entry->m_strLevel, former->level);
        ASSERT_EQ(entry->m_nRow, former->row) << "line: " << line;
        ASSERT_EQ(entry->m_nOrigFirst, former->origFirst) << "line: " << line;
        ASSERT_EQ(entry->m_nOrigLast, former->origLast) << "line: " << line;
        ASSERT_EQ(entry->m_nNewFirst, former->newFirst) << "line: " << line;
        ASSERT_EQ(entry->m_nNewLast, former->newLast) << "line: " << line;
        ASSERT_EQ(entry->m_strComment, former->comment) << "line: " << line;
    }
    // Both kinds were seen in numbers: the comparison is not all refusals or all plain lines.
    EXPECT_GT(read, 20'000);
    EXPECT_LT(read, 180'000);
}

}  // namespace
