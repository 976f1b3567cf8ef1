// The fixed-column System Definition line: writing it to the character and reading it back the
// way the C library's conversions read a column.
#include "sysdef/sysdef_format.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "sysdef/tests/sysdef_records.h"

namespace {

using sysdef::FindUnfitValue;
using sysdef::FormatSysDefLine;
using sysdef::ParseSysDefLine;
using sysdef::ReadDecimalField;
using sysdeftest::Fields;
using sysdeftest::Ranges;
using sysdeftest::Record;
using sysdeftest::Table;

constexpr const char* kExample = "     SW1   VIDEO 128  64 01616 2 0120  4124  4";

TEST(SysDefLine, WrittenCasesReadBackTheSame) {
    const struct {
        const char* name;
        SysDefRecord record;
        std::size_t position;
        std::string line;
    } cases[] = {
        {"the documented example, 46 characters",
         Record("SW1", "VIDEO", 128, 64, 16, 16, {{120, 4}, {124, 4}}), 0, kExample},
        {"no idle ranges: the 34-character head alone", Record("MAIN", "AUDIO1", 64, 64, 0, 0), 3,
         "    MAIN  AUDIO1  64  64 3 0 0 0 0"},
        {"outputs follow inputs", Record("A", "B", 1, 2, 3, 4, {{5, 6}}, {{7, 8}, {9, 10}}), 12,
         "       A       B   1   212 3 4 1 2  5  6  7  8  9 10"},
        {"output ranges alone start at column 34", Record("A", "B", 0, 32, 0, 8, {}, {{24, 8}}), 99,
         "       A       B   0  3299 0 8 0 1 24  8"},
        {"the widest values that fit",
         Record("ABCDEFGH", "12345678", 9999, 9999, 99, 99, {{999, 999}}), 99,
         "ABCDEFGH1234567899999999999999 1 0999999"},
        {"empty names are blank columns", Record("", "", 0, 0, 0, 0), 0,
         "                   0   0 0 0 0 0 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatSysDefLine(c.record, c.position), c.line);
        EXPECT_EQ(Fields(*ParseSysDefLine(c.line)), Fields(c.record)) << "read back";
    }
}

TEST(SysDefLine, DecimalFieldReadsLikeTheCLibrary) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"", 0},    {"  ", 0},  {" 8", 8},  {"8 ", 8},     {"08", 8}, {"-1", -1},     {"+7", 7},
        {"- 7", 0}, {"1x2", 1}, {"x12", 0}, {"\t 42", 42}, {"\r", 0}, {"9999", 9999}, {" -12", -12},
    };
    for (const auto& [field, value] : cases) {
        EXPECT_EQ(ReadDecimalField(field), value) << "field \"" << field << "\"";
    }
    // Out of range saturates, as strtol does.
    EXPECT_EQ(ReadDecimalField("99999999999"), 2147483647);
    EXPECT_EQ(ReadDecimalField("-99999999999"), -2147483647 - 1);
}

TEST(SysDefLine, ReadCases) {
    const struct {
        const char* name;
        std::string line;
        SysDefRecord expected;
    } cases[] = {
        {"empty line", "", Record("", "", 0, 0, 0, 0)},
        {"switcher only", "     SW1", Record("SW1", "", 0, 0, 0, 0)},
        {"cut in the level column", "     SW1   VID", Record("SW1", "VID", 0, 0, 0, 0)},
        {"cut after the inputs", "     SW1   VIDEO 128", Record("SW1", "VIDEO", 128, 0, 0, 0)},
        {"cut inside the outputs", "     SW1   VIDEO 128  6", Record("SW1", "VIDEO", 128, 6, 0, 0)},
        {"blank then 8 in the input range", "       A       B   1   1 0 8 0 0 0",
         Record("A", "B", 1, 1, 8, 0)},
        {"the row position is not read", "       A       B   1   1xx 8 0 0 0",
         Record("A", "B", 1, 1, 8, 0)},
        {"trailing characters of names are kept", "SW1     VIDEO     16  16 0 0 0 0 0",
         Record("SW1     ", "VIDEO   ", 16, 16, 0, 0)},
        {"leading tabs are white space", "\t\t   SW1\t  VIDEO  16  16 0 0 0 0 0",
         Record("SW1", "VIDEO", 16, 16, 0, 0)},
        {"a carriage return at the end is harmless", std::string(kExample) + "\r",
         Record("SW1", "VIDEO", 128, 64, 16, 16, {{120, 4}, {124, 4}})},
        {"a carriage return after the head is harmless", "     SW1   VIDEO 128  64 0 8 8 0 0\r",
         Record("SW1", "VIDEO", 128, 64, 8, 8)},
        {"missing idle ranges read as 0", "       A       B  32  32 0 8 8 2 1 24  8",
         Record("A", "B", 32, 32, 8, 8, {{24, 8}, {0, 0}}, {{0, 0}})},
        {"overlapping and repeated ranges stay as they are",
         "       A       B 128 128 0 8 8 3 1120  8122  4120  8  0  8",
         Record("A", "B", 128, 128, 8, 8, {{120, 8}, {122, 4}, {120, 8}}, {{0, 8}})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Fields(*ParseSysDefLine(c.line)), Fields(c.expected)) << c.name;
    }
}

// The widest values that fit pass: saving the 100-row table of the table tests shows it.
TEST(SysDefFit, TheRowLimitIsAHundred) {
    EXPECT_EQ(FindUnfitValue({}), "");
    SysDefTable rows;
    for (int i = 0; i < 101; ++i) {
        rows.push_back(std::make_unique<SysDefRecord>(Record("S", "L", 1, 1, 1, 1)));
    }
    EXPECT_EQ(FindUnfitValue(rows), "The table has 101 rows; the file holds at most 100.");
    rows.pop_back();
    EXPECT_EQ(FindUnfitValue(rows), "");
}

TEST(SysDefFit, EachColumnNamesTheRowAndTheField) {
    auto check = [](const std::function<void(SysDefRecord&)>& change, const std::string& problem) {
        auto table =
            Table({Record("MAIN", "AUDIO", 64, 64, 8, 8),
                   Record("MAIN", "VIDEO", 128, 64, 16, 16, {{120, 4}, {124, 4}}, {{60, 4}}),
                   Record("STUDIO", "TC", 16, 16, 0, 0)});
        ASSERT_EQ(FindUnfitValue(*table), "");
        change(*(*table)[1]);
        EXPECT_EQ(FindUnfitValue(*table), problem);
    };
    const std::string row2 = "Row 2 (Switcher MAIN, Level VIDEO): ";
    using R = SysDefRecord;
    const std::tuple<std::int32_t R::*, std::int32_t, const char*> numbers[] = {
        {&R::m_nInputs, 10000, "#In 10000 does not fit the file (0 to 9999)."},
        {&R::m_nInputs, -1, "#In -1 does not fit the file (0 to 9999)."},
        {&R::m_nOutputs, 12345, "#Out 12345 does not fit the file (0 to 9999)."},
        {&R::m_nOutputs, -64, "#Out -64 does not fit the file (0 to 9999)."},
        {&R::m_nInRange, 120, "In. Range 120 does not fit the file (0 to 99)."},
        {&R::m_nInRange, -1, "In. Range -1 does not fit the file (0 to 99)."},
        {&R::m_nOutRange, 100, "Out. Range 100 does not fit the file (0 to 99)."},
        {&R::m_nIdleOutRanges, -1, "Idle Outputs: -1 ranges do not fit the file (0 to 99)."},
        {&R::m_nIdleInRanges, 3, "Idle Inputs: 3 ranges counted but only 2 stored."},
    };
    for (const auto& [field, value, problem] : numbers) {
        check([field = field, value = value](R& r) { r.*field = value; }, row2 + problem);
    }
    const std::pair<void (*)(R&), std::string> others[] = {
        {[](R& r) { r.m_strSwitcher = "ABCDEFGHI"; },
         "Row 2 (Switcher ABCDEFGHI, Level VIDEO): Switcher name \"ABCDEFGHI\" has 9 "
         "characters; the file holds at most 8."},
        {[](R& r) { r.m_strLevel = "VIDEOMAIN1"; },
         "Row 2 (Switcher MAIN, Level VIDEOMAIN1): Level name \"VIDEOMAIN1\" has 10 characters; "
         "the file holds at most 8."},
        {[](R& r) { r.m_strLevel = " VIDEO"; },
         "Row 2 (Switcher MAIN, Level  VIDEO): Level name \" VIDEO\" starts with white space, "
         "which the file cannot keep."},
        {[](R& r) { r.m_strSwitcher = "MA\nIN"; },
         "Row 2 (Switcher MA\nIN, Level VIDEO): Switcher name holds a control character, which "
         "the file cannot hold."},
        {[](R& r) {
             r = Record("MAIN", "VIDEO", 128, 64, 16, 16, Ranges(100, {0, 1}), {{60, 4}});
         },
         row2 + "Idle Inputs: 100 ranges do not fit the file (0 to 99)."},
        {[](R& r) { (*r.m_pIdleInStart)[1] = 1000; },
         row2 + "Idle Inputs range 2: start 1000 does not fit the file (0 to 999)."},
        {[](R& r) { (*r.m_pIdleInCount)[0] = 4096; },
         row2 + "Idle Inputs range 1: length 4096 does not fit the file (0 to 999)."},
        {[](R& r) { (*r.m_pIdleOutStart)[0] = 0xFFFFFFFFu; },
         row2 + "Idle Outputs range 1: start 4294967295 does not fit the file (0 to 999)."},
        {[](R& r) { (*r.m_pIdleOutCount)[0] = 1000; },
         row2 + "Idle Outputs range 1: length 1000 does not fit the file (0 to 999)."},
        {[](R& r) { r.m_pIdleOutStart.reset(), r.m_pIdleOutCount.reset(); },
         row2 + "Idle Outputs: 1 ranges counted but only 0 stored."},
    };
    for (const auto& [change, problem] : others) {
        check(change, problem);
    }
    // The first unfit row is the one named.
    EXPECT_EQ(FindUnfitValue(*Table({Record("A", "B", 1, 1, 1, 1), Record("A", "C", 1, 1, 1, 100),
                                     Record("A", "D", 1, 1, 100, 1)})),
              "Row 2 (Switcher A, Level C): Out. Range 100 does not fit the file (0 to 99).");
}

}  // namespace
