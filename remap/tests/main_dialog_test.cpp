// The main dialog's remap fields: what the I/O type, the level and the range mode make available,
// the lists drawn from the System Definition Table, and the Remap button that follows them.
#include "remap/tests/main_dialog_fixture.h"
#include "sysdef/tests/sysdef_records.h"

namespace apptest {
namespace {

using Texts = std::vector<std::string>;

constexpr char kInvalidPort[] = "You have entered an invalid port number.";

// "first".."last" as list items, one a number.
Texts Numbers(int first, int last) {
    Texts items;
    for (int n = first; n <= last; ++n) {
        items.push_back(std::to_string(n));
    }
    return items;
}

Texts Join(Texts a, const Texts& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The boards of a level: "0-15", "16-31", ...
Texts Boards(int total, int size) {
    Texts items;
    for (int first = 0; first < total; first += size) {
        items.push_back(std::to_string(first) + "-" +
                        std::to_string(std::min(first + size, total) - 1));
    }
    return items;
}

class MainDialog : public MainDialogTest {};

TEST_F(MainDialog, WhatEachStateMakesAvailable) {
    const int selection[] = {IDC_SWITCHER_LABEL, IDC_LEVEL_LABEL, IDC_SWITCHER,   IDC_LEVEL,
                             IDC_RANGE_LABEL,    IDC_SINGLE,      IDC_WHOLE_BOARD};
    const int single[] = {IDC_ORIGINAL_NUMBER, IDC_NEW_NUMBER, IDC_ORIGINAL_LABEL, IDC_NEW_LABEL};
    const int ranges[] = {IDC_ORIGINAL_RANGE_LABEL, IDC_NEW_RANGE_LABEL, IDC_ORIGINAL_RANGE,
                          IDC_NEW_RANGE};
    const int comment[] = {IDC_COMMENT_GROUP, IDC_COMMENT};
    struct State {
        const char* name;
        std::function<void()> act;
        bool selection, single, ranges, comment;
    };
    const State states[] = {
        {"at start", [] {}, false, false, false, false},
        {"input chosen", [&] { Click(IDC_INPUT); }, true, false, false, false},
        {"single", [&] { Click(IDC_SINGLE); }, true, true, false, true},
        {"whole board", [&] { Click(IDC_WHOLE_BOARD); }, true, false, true, true},
        {"output keeps the mode", [&] { Click(IDC_OUTPUT); }, true, false, true, true},
    };
    Open();
    for (const State& s : states) {
        SCOPED_TRACE(s.name);
        s.act();
        for (int id : selection) {
            EXPECT_EQ(Enabled(id), s.selection) << id;
        }
        for (int id : single) {
            EXPECT_EQ(Enabled(id), s.single) << id;
        }
        for (int id : ranges) {
            EXPECT_EQ(Enabled(id), s.ranges) << id;
        }
        for (int id : comment) {
            EXPECT_EQ(Enabled(id), s.comment) << id;
        }
        EXPECT_FALSE(Enabled(IDC_REMAP));
        EXPECT_TRUE(Enabled(IDC_CLOSE));
    }
}

// Input, Input again and Output are main_dialog_input_chosen.scn's; here Output back to Input.
TEST_F(MainDialog, TheIOTypeNamesTheFieldsAndTheTitle) {
    Open();
    Click(IDC_OUTPUT);
    Click(IDC_INPUT);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SINGLE), "Single Input");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ORIGINAL_LABEL), "Original Input");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_NEW_LABEL), "New Input");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_REMAP_GROUP), "Select Remap Inputs");
    EXPECT_EQ(dlg.GetWindowText(), "Tavora - TAV.IXT");
}

// MAIN VIDEO's first and last ports, 128 and an empty field are main_dialog_single.scn's.
TEST_F(MainDialog, TypedOriginalNumberIsCheckedAndShowsItsBoard) {
    struct Case {
        IoType io;
        const char* level;  // of MAIN, or "STUDIO VIDEO"
        const char* typed;
        bool refused;       // message 7017
        const char* board;  // the original range shown with it; "" none
    };
    const Case cases[] = {
        {IoType::Input, "VIDEO", "15", false, "0-15"},
        {IoType::Input, "VIDEO", "5000", true, ""},
        {IoType::Input, "VIDEO", "-4", false, ""},
        {IoType::Output, "VIDEO", "63", false, "48-63"},
        {IoType::Output, "VIDEO", "64", true, ""},
        {IoType::Input, "STUDIO VIDEO", "31", false, "24-31"},
        {IoType::Input, "STUDIO VIDEO", "32", true, ""},
        {IoType::Input, "AUDIO2", "40", false, ""},  // no boards to show
        // Beyond the int range, where the platform's conversion would wrap to 5, 0 and -5.
        {IoType::Input, "VIDEO", "4294967301", true, ""},
        {IoType::Input, "VIDEO", "4294967296", true, ""},
        {IoType::Input, "VIDEO", "-4294967301", true, ""},
        {IoType::Input, "VIDEO", "99999999999999999999", true, ""},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.level) + " " + c.typed);
        const bool studio = std::string(c.level) == "STUDIO VIDEO";
        Prepare(c.io, studio ? "STUDIO" : "MAIN", studio ? "VIDEO" : c.level, 0);
        // Typed digit by digit, as the operator does: the board of "1" and "12" must not stay
        // beside a refused "128".
        const std::string typed = c.typed;
        for (std::size_t n = 1; n < typed.size(); ++n) {
            Type(IDC_ORIGINAL_NUMBER, typed.substr(0, n));
        }
        NewBoxes();  // those of the digits before the last ("500" of "5000")
        Type(IDC_ORIGINAL_NUMBER, typed);
        EXPECT_EQ(NewBoxes(), c.refused ? Texts{StopBox("tavora", kInvalidPort)} : Texts{});
        EXPECT_EQ(dlg.GetDlgItemText(IDC_ORIGINAL_NUMBER), c.typed);  // the number stays
        EXPECT_EQ(Selected(IDC_ORIGINAL_RANGE), c.board);
    }
}

TEST_F(MainDialog, RemapButtonFollowsTheFieldsAndEveryChangeOfSelectionEmptiesThem) {
    Open();
    Prepare(IoType::Input, "MAIN", "VIDEO",
            0);  // the button's following is main_dialog_single.scn's
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"level", [&] { Choose(IDC_LEVEL, "AUDIO1"); }},
        {"switcher", [&] { Choose(IDC_SWITCHER, "STUDIO"); }},
        {"I/O type", [&] { Click(IDC_OUTPUT); }},
        {"range mode", [&] { Click(IDC_WHOLE_BOARD); }},
        {"range mode back", [&] { Click(IDC_SINGLE); }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        if (Enabled(IDC_SINGLE) && Item(IDC_SINGLE).GetCheck() != 0) {
            Type(IDC_ORIGINAL_NUMBER, "1");
            Choose(IDC_NEW_NUMBER, Items(IDC_NEW_NUMBER).front());
            ASSERT_TRUE(Enabled(IDC_REMAP));
        } else {
            Choose(IDC_ORIGINAL_RANGE, "0-11");
            Choose(IDC_NEW_RANGE, "20-31");
            ASSERT_TRUE(Enabled(IDC_REMAP));
        }
        change();
        EXPECT_EQ(dlg.GetDlgItemText(IDC_ORIGINAL_NUMBER), "");
        EXPECT_FALSE(Enabled(IDC_REMAP));
        for (int id : {IDC_NEW_NUMBER, IDC_NEW_RANGE, IDC_ORIGINAL_RANGE}) {
            EXPECT_EQ(Item(id).GetCurSel(), -1) << id;
        }
    }
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(MainDialog, ARangeChosenDropsANumberOutsideIt) {
    struct Case {
        int list;
        const char* number;  // original number, or new number chosen
        const char* range;
        const char* kept;  // the number afterwards
    };
    const Case cases[] = {
        {IDC_ORIGINAL_RANGE, "40", "16-31", ""},   {IDC_ORIGINAL_RANGE, "20", "16-31", "20"},
        {IDC_ORIGINAL_RANGE, "31", "16-31", "31"}, {IDC_NEW_RANGE, "100", "112-127", ""},
        {IDC_NEW_RANGE, "112", "112-127", "112"},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.number) + " in " + c.range);
        Prepare(IoType::Input, "MAIN", "VIDEO", 1);
        // Only the program sets a number in whole-board mode (the fields are off).
        const int field = c.list == IDC_ORIGINAL_RANGE ? IDC_ORIGINAL_NUMBER : IDC_NEW_NUMBER;
        if (field == IDC_ORIGINAL_NUMBER) {
            dlg.SetDlgItemText(field, c.number);
        } else {
            Item(field).SetCurSel(Item(field).FindStringExact(-1, c.number));
        }
        Choose(c.list, c.range);
        EXPECT_EQ(dlg.GetDlgItemText(field), c.kept);
    }
    // The number emptied that way is not taken for the operator's: the next one typed counts.
    Click(IDC_SINGLE);
    Type(IDC_ORIGINAL_NUMBER, "300");
    EXPECT_EQ(NewBoxes(), Texts{StopBox("tavora", kInvalidPort)});
}

TEST_F(MainDialog, ResetEmptiesTheRemapJustMade) {
    Open();
    Prepare(IoType::Input, "MAIN", "VIDEO", 1);
    Choose(IDC_ORIGINAL_RANGE, "16-31");
    Choose(IDC_NEW_RANGE, "112-127");
    Type(IDC_COMMENT, "spare card");
    ASSERT_TRUE(Enabled(IDC_REMAP));
    dlg.ResetRemapFields();
    for (int id :
         {IDC_ORIGINAL_NUMBER, IDC_NEW_NUMBER, IDC_ORIGINAL_RANGE, IDC_NEW_RANGE, IDC_COMMENT}) {
        EXPECT_EQ(dlg.GetDlgItemText(id), "") << id;
    }
    EXPECT_EQ(Item(IDC_ORIGINAL_RANGE).GetCurSel(), -1);
    EXPECT_EQ(Item(IDC_NEW_RANGE).GetCurSel(), -1);
    EXPECT_EQ(Items(IDC_ORIGINAL_RANGE), Boards(128, 16));  // still on offer for the next one
    EXPECT_FALSE(Enabled(IDC_REMAP));
}

TEST_F(MainDialog, ALevelWithoutARowOffersNothingOfAnotherLevel) {
    using sysdeftest::Record;
    using sysdeftest::Table;
    Open();
    Prepare(IoType::Input, "MAIN", "VIDEO", 1);
    ASSERT_FALSE(Items(IDC_ORIGINAL_RANGE).empty());
    dlg.SetSysDefTable(Table({Record("MAIN", "VIDEO", 128, 64, 16, 16, {{112, 16}})}));
    dlg.RefillIdleLists();
    for (int mode : {1, 0}) {
        Prepare(IoType::Input, "MAIN", "AUDIO1", mode);
        for (int id : {IDC_NEW_NUMBER, IDC_NEW_RANGE, IDC_ORIGINAL_RANGE}) {
            EXPECT_EQ(Items(id), Texts{}) << id;
        }
        EXPECT_EQ(dlg.FindSysDefRow(), -1);
    }
    Type(IDC_ORIGINAL_NUMBER, "5");
    EXPECT_FALSE(Enabled(IDC_REMAP));
    Choose(IDC_LEVEL, "VIDEO");
    EXPECT_EQ(Items(IDC_NEW_NUMBER), Numbers(112, 127));
}

TEST_F(MainDialog, ANewTableRefreshesWhatIsOffered) {
    using sysdeftest::Record;
    using sysdeftest::Table;
    Open();
    Prepare(IoType::Input, "MAIN", "VIDEO", 1);
    Choose(IDC_ORIGINAL_RANGE, "16-31");
    Choose(IDC_NEW_RANGE, "112-127");
    ASSERT_TRUE(Enabled(IDC_REMAP));
    dlg.SetSysDefTable(Table({Record("MAIN", "VIDEO", 128, 64, 32, 16, {{96, 32}, {90, 2}}),
                              Record("MAIN", "AUDIO1", 64, 64), Record("MAIN", "AUDIO2", 64, 32),
                              Record("STUDIO", "VIDEO", 32, 32), Record("STUDIO", "TC", 16, 16)}));
    dlg.RefillIdleLists();
    EXPECT_EQ(Items(IDC_NEW_NUMBER), Join(Numbers(96, 127), {"90", "91"}));
    EXPECT_EQ(Items(IDC_NEW_RANGE), Texts{"96-127"});
    EXPECT_EQ(Items(IDC_ORIGINAL_RANGE), Boards(128, 32));  // the new board size
    EXPECT_FALSE(Enabled(IDC_REMAP));
}

TEST_F(MainDialog, AnIdleCountBeyondTheRangesHeldReadsNoFurther) {
    using sysdeftest::Record;
    using sysdeftest::Table;
    Open();
    auto table = Table({Record("MAIN", "VIDEO", 128, 64, 16, 16, {{112, 16}}, {{48, 2}}),
                        Record("MAIN", "AUDIO1", 64, 64), Record("MAIN", "AUDIO2", 64, 32),
                        Record("STUDIO", "VIDEO", 32, 32), Record("STUDIO", "TC", 16, 16)});
    (*table)[0]->m_nIdleInRanges = 40;
    (*table)[0]->m_nIdleOutRanges = 3;
    (*table)[0]->m_pIdleOutCount->clear();
    dlg.SetSysDefTable(std::move(table));
    Prepare(IoType::Input, "MAIN", "VIDEO", 1);
    EXPECT_EQ(Items(IDC_NEW_NUMBER), Numbers(112, 127));
    Click(IDC_OUTPUT);
    EXPECT_EQ(Items(IDC_NEW_NUMBER), Texts{});
}

}  // namespace
}  // namespace apptest
