// The fixed-column System Definition line: writing it to the character and reading it back the
// way the C library's conversions read a column.
#include <gtest/gtest.h>

#include "sysdef/sysdef_format.h"

namespace {

using sysdef::FindUnfitValue;
using sysdef::FormatSysDefLine;
using sysdef::ParseSysDefLine;
using sysdef::ReadDecimalField;

using Ranges = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

void SetIdle(std::int32_t& count, std::optional<std::vector<std::uint32_t>>& starts,
             std::optional<std::vector<std::uint32_t>>& lengths, const Ranges& ranges) {
    count = static_cast<std::int32_t>(ranges.size());
    if (ranges.empty()) {
        return;
    }
    starts.emplace();
    lengths.emplace();
    for (const auto& [start, length] : ranges) {
        starts->push_back(start);
        lengths->push_back(length);
    }
}

SysDefRecord Record(std::string switcher, std::string level, int inputs, int outputs, int inRange,
                    int outRange, const Ranges& idleIn = {}, const Ranges& idleOut = {}) {
    SysDefRecord r;
    r.m_strSwitcher = std::move(switcher);
    r.m_strLevel = std::move(level);
    r.m_nInputs = inputs;
    r.m_nOutputs = outputs;
    r.m_nInRange = inRange;
    r.m_nOutRange = outRange;
    SetIdle(r.m_nIdleInRanges, r.m_pIdleInStart, r.m_pIdleInCount, idleIn);
    SetIdle(r.m_nIdleOutRanges, r.m_pIdleOutStart, r.m_pIdleOutCount, idleOut);
    return r;
}

TEST(SysDefLine, TheDocumentedExampleToTheCharacter) {
    const std::string line =
        FormatSysDefLine(Record("SW1", "VIDEO", 128, 64, 16, 16, {{120, 4}, {124, 4}}), 0);
    EXPECT_EQ(line, "     SW1   VIDEO 128  64 01616 2 0120  4124  4");
    ASSERT_EQ(line.size(), 46u);
    // Column by column, as the format's table lays them out.
    EXPECT_EQ(line.substr(0, 8), "     SW1");
    EXPECT_EQ(line.substr(8, 8), "   VIDEO");
    EXPECT_EQ(line.substr(16, 4), " 128");
    EXPECT_EQ(line.substr(20, 4), "  64");
    EXPECT_EQ(line.substr(24, 2), " 0");
    EXPECT_EQ(line.substr(26, 2), "16");
    EXPECT_EQ(line.substr(28, 2), "16");
    EXPECT_EQ(line.substr(30, 2), " 2");
    EXPECT_EQ(line.substr(32, 2), " 0");
    EXPECT_EQ(line.substr(34, 3), "120");
    EXPECT_EQ(line.substr(37, 3), "  4");
    EXPECT_EQ(line.substr(40, 3), "124");
    EXPECT_EQ(line.substr(43, 3), "  4");
}

TEST(SysDefLine, WrittenCases) {
    struct Case {
        const char* name;
        SysDefRecord record;
        std::size_t position;
        std::string line;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatSysDefLine(c.record, c.position), c.line);
    }
    EXPECT_EQ(FormatSysDefLine(Record("MAIN", "AUDIO1", 64, 64, 0, 0), 0).size(), 34u);
}

TEST(SysDefLine, DecimalFieldReadsLikeTheCLibrary) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"", 0},
        {"  ", 0},
        {" 8", 8},
        {"8 ", 8},
        {"08", 8},
        {"-1", -1},
        {"+7", 7},
        {"- 7", 0},
        {"1x2", 1},
        {"x12", 0},
        {"\t 42", 42},
        {"\r", 0},
        {"9999", 9999},
        {" -12", -12},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto& [field, value] : cases) {
        SCOPED_TRACE(std::string("field \"") + field + "\"");
        EXPECT_EQ(ReadDecimalField(field), value);
    }
}

TEST(SysDefLine, ReadsTheExampleBack) {
    const auto r = ParseSysDefLine("     SW1   VIDEO 128  64 01616 2 0120  4124  4");
    EXPECT_EQ(r->m_strSwitcher, "SW1");
    EXPECT_EQ(r->m_strLevel, "VIDEO");
    EXPECT_EQ(r->m_nInputs, 128);
    EXPECT_EQ(r->m_nOutputs, 64);
    EXPECT_EQ(r->m_nInRange, 16);
    EXPECT_EQ(r->m_nOutRange, 16);
    EXPECT_EQ(r->m_nIdleInRanges, 2);
    EXPECT_EQ(r->m_nIdleOutRanges, 0);
    EXPECT_EQ(r->m_pIdleInStart, (std::vector<std::uint32_t>{120, 124}));
    EXPECT_EQ(r->m_pIdleInCount, (std::vector<std::uint32_t>{4, 4}));
    EXPECT_FALSE(r->m_pIdleOutStart.has_value());
    EXPECT_FALSE(r->m_pIdleOutCount.has_value());
}

TEST(SysDefLine, ReadCases) {
    struct Case {
        const char* name;
        std::string line;
        SysDefRecord expected;
    };
    const Case cases[] = {
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
        {"a carriage return at the end is harmless",
         "     SW1   VIDEO 128  64 01616 2 0120  4124  4\r",
         Record("SW1", "VIDEO", 128, 64, 16, 16, {{120, 4}, {124, 4}})},
        {"a carriage return after the head is harmless", "     SW1   VIDEO 128  64 0 8 8 0 0\r",
         Record("SW1", "VIDEO", 128, 64, 8, 8)},
        {"missing idle ranges read as 0", "       A       B  32  32 0 8 8 2 1 24  8",
         Record("A", "B", 32, 32, 8, 8, {{24, 8}, {0, 0}}, {{0, 0}})},
        {"overlapping and repeated ranges stay as they are",
         "       A       B 128 128 0 8 8 3 1120  8122  4120  8  0  8",
         Record("A", "B", 128, 128, 8, 8, {{120, 8}, {122, 4}, {120, 8}}, {{0, 8}})},
        {"output ranges follow the input ranges",
         "       A       B   1   212 3 4 1 2  5  6  7  8  9 10",
         Record("A", "B", 1, 2, 3, 4, {{5, 6}}, {{7, 8}, {9, 10}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = ParseSysDefLine(c.line);
        const SysDefRecord& e = c.expected;
        EXPECT_EQ(r->m_strSwitcher, e.m_strSwitcher);
        EXPECT_EQ(r->m_strLevel, e.m_strLevel);
        EXPECT_EQ(r->m_nInputs, e.m_nInputs);
        EXPECT_EQ(r->m_nOutputs, e.m_nOutputs);
        EXPECT_EQ(r->m_nInRange, e.m_nInRange);
        EXPECT_EQ(r->m_nOutRange, e.m_nOutRange);
        EXPECT_EQ(r->m_nIdleInRanges, e.m_nIdleInRanges);
        EXPECT_EQ(r->m_nIdleOutRanges, e.m_nIdleOutRanges);
        EXPECT_EQ(r->m_pIdleInStart, e.m_pIdleInStart);
        EXPECT_EQ(r->m_pIdleInCount, e.m_pIdleInCount);
        EXPECT_EQ(r->m_pIdleOutStart, e.m_pIdleOutStart);
        EXPECT_EQ(r->m_pIdleOutCount, e.m_pIdleOutCount);
    }
}

TEST(SysDefLine, WhatIsWrittenReadsBackTheSame) {
    const SysDefRecord records[] = {
        Record("SW1", "VIDEO", 128, 64, 16, 16, {{120, 4}, {124, 4}}),
        Record("ABCDEFGH", "X", 9999, 0, 99, 0, {}, {{999, 999}, {0, 0}}),
        Record("", "", 0, 0, 0, 0),
    };
    for (std::size_t i = 0; i < std::size(records); ++i) {
        SCOPED_TRACE(i);
        const auto r = ParseSysDefLine(FormatSysDefLine(records[i], i));
        EXPECT_EQ(FormatSysDefLine(*r, i), FormatSysDefLine(records[i], i));
        EXPECT_EQ(r->m_pIdleOutStart, records[i].m_pIdleOutStart);
    }
}

SysDefTable Table(std::initializer_list<SysDefRecord> records) {
    SysDefTable table;
    for (const SysDefRecord& r : records) {
        table.push_back(std::make_unique<SysDefRecord>(r));
    }
    return table;
}

TEST(SysDefFit, ValuesThatFitPass) {
    EXPECT_EQ(FindUnfitValue({}), "");
    EXPECT_EQ(FindUnfitValue(Table({Record("ABCDEFGH", "12345678", 9999, 9999, 99, 99,
                                           Ranges(99, {999, 999}), Ranges(99, {0, 0})),
                                    Record("", "", 0, 0, 0, 0)})),
              "");
    SysDefTable hundred;
    for (int i = 0; i < 100; ++i) {
        hundred.push_back(std::make_unique<SysDefRecord>(Record("S", "L", 1, 1, 1, 1)));
    }
    EXPECT_EQ(FindUnfitValue(hundred), "");
    hundred.push_back(std::make_unique<SysDefRecord>(Record("S", "L", 1, 1, 1, 1)));
    EXPECT_EQ(FindUnfitValue(hundred), "The table has 101 rows; the file holds at most 100.");
}

TEST(SysDefFit, EachColumnNamesTheRowAndTheField) {
    struct Case {
        const char* name;
        void (*change)(SysDefRecord&);
        std::string problem;
    };
    const Case cases[] = {
        {"long switcher", [](SysDefRecord& r) { r.m_strSwitcher = "ABCDEFGHI"; },
         "Row 2 (Switcher ABCDEFGHI, Level VIDEO): Switcher name \"ABCDEFGHI\" has 9 "
         "characters; the file holds at most 8."},
        {"long level", [](SysDefRecord& r) { r.m_strLevel = "VIDEOMAIN1"; },
         "Row 2 (Switcher MAIN, Level VIDEOMAIN1): Level name \"VIDEOMAIN1\" has 10 characters; "
         "the file holds at most 8."},
        {"leading blank", [](SysDefRecord& r) { r.m_strLevel = " VIDEO"; },
         "Row 2 (Switcher MAIN, Level  VIDEO): Level name \" VIDEO\" starts with white space, "
         "which the file cannot keep."},
        {"line feed in a name", [](SysDefRecord& r) { r.m_strSwitcher = "MA\nIN"; },
         "Row 2 (Switcher MA\nIN, Level VIDEO): Switcher name holds a control character, which "
         "the file cannot hold."},
        {"inputs too many", [](SysDefRecord& r) { r.m_nInputs = 10000; },
         "Row 2 (Switcher MAIN, Level VIDEO): #In 10000 does not fit the file (0 to 9999)."},
        {"inputs negative", [](SysDefRecord& r) { r.m_nInputs = -1; },
         "Row 2 (Switcher MAIN, Level VIDEO): #In -1 does not fit the file (0 to 9999)."},
        {"outputs too many", [](SysDefRecord& r) { r.m_nOutputs = 12345; },
         "Row 2 (Switcher MAIN, Level VIDEO): #Out 12345 does not fit the file (0 to 9999)."},
        {"outputs negative", [](SysDefRecord& r) { r.m_nOutputs = -64; },
         "Row 2 (Switcher MAIN, Level VIDEO): #Out -64 does not fit the file (0 to 9999)."},
        {"input range", [](SysDefRecord& r) { r.m_nInRange = 120; },
         "Row 2 (Switcher MAIN, Level VIDEO): In. Range 120 does not fit the file (0 to 99)."},
        {"input range negative", [](SysDefRecord& r) { r.m_nInRange = -1; },
         "Row 2 (Switcher MAIN, Level VIDEO): In. Range -1 does not fit the file (0 to 99)."},
        {"output range", [](SysDefRecord& r) { r.m_nOutRange = 100; },
         "Row 2 (Switcher MAIN, Level VIDEO): Out. Range 100 does not fit the file (0 to 99)."},
        {"idle input count",
         [](SysDefRecord& r) {
             SetIdle(r.m_nIdleInRanges, r.m_pIdleInStart, r.m_pIdleInCount, Ranges(100, {0, 1}));
         },
         "Row 2 (Switcher MAIN, Level VIDEO): Idle Inputs: 100 ranges do not fit the file (0 to "
         "99)."},
        {"idle output count negative", [](SysDefRecord& r) { r.m_nIdleOutRanges = -1; },
         "Row 2 (Switcher MAIN, Level VIDEO): Idle Outputs: -1 ranges do not fit the file (0 to "
         "99)."},
        {"idle input start", [](SysDefRecord& r) { (*r.m_pIdleInStart)[1] = 1000; },
         "Row 2 (Switcher MAIN, Level VIDEO): Idle Inputs range 2: start 1000 does not fit the "
         "file (0 to 999)."},
        {"idle input length", [](SysDefRecord& r) { (*r.m_pIdleInCount)[0] = 4096; },
         "Row 2 (Switcher MAIN, Level VIDEO): Idle Inputs range 1: length 4096 does not fit the "
         "file (0 to 999)."},
        {"idle output start", [](SysDefRecord& r) { (*r.m_pIdleOutStart)[0] = 0xFFFFFFFFu; },
         "Row 2 (Switcher MAIN, Level VIDEO): Idle Outputs range 1: start 4294967295 does not "
         "fit the file (0 to 999)."},
        {"idle output length", [](SysDefRecord& r) { (*r.m_pIdleOutCount)[0] = 1000; },
         "Row 2 (Switcher MAIN, Level VIDEO): Idle Outputs range 1: length 1000 does not fit the "
         "file (0 to 999)."},
        {"count beyond the stored ranges", [](SysDefRecord& r) { r.m_nIdleInRanges = 3; },
         "Row 2 (Switcher MAIN, Level VIDEO): Idle Inputs: 3 ranges counted but only 2 stored."},
        {"count without arrays",
         [](SysDefRecord& r) {
             r.m_pIdleOutStart.reset();
             r.m_pIdleOutCount.reset();
         },
         "Row 2 (Switcher MAIN, Level VIDEO): Idle Outputs: 1 ranges counted but only 0 stored."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SysDefTable table =
            Table({Record("MAIN", "AUDIO", 64, 64, 8, 8),
                   Record("MAIN", "VIDEO", 128, 64, 16, 16, {{120, 4}, {124, 4}}, {{60, 4}}),
                   Record("STUDIO", "TC", 16, 16, 0, 0)});
        ASSERT_EQ(FindUnfitValue(table), "");
        c.change(*table[1]);
        EXPECT_EQ(FindUnfitValue(table), c.problem);
    }
}

TEST(SysDefFit, TheFirstUnfitRowIsNamed) {
    SysDefTable table = Table({Record("A", "B", 1, 1, 1, 1), Record("A", "C", 1, 1, 1, 100),
                               Record("A", "D", 1, 1, 100, 1)});
    EXPECT_EQ(FindUnfitValue(table),
              "Row 2 (Switcher A, Level C): Out. Range 100 does not fit the file (0 to 99).");
}

}  // namespace
