// The input check of the remap set up in the main dialog: quiet, it only answers; with messages,
// it also tells the operator why a remap cannot be made. A range typed over a choice is
// remap_input_check_messages.scn's.
#include "remap/tests/main_dialog_fixture.h"

namespace apptest {
namespace {

constexpr char kWarning[] = "Tavora - WARNING!";
constexpr char kNoOriginalNumber[] = "Please specify a valid original physical number.";
constexpr char kNoNewNumber[] = "Please specify a valid new physical number.";
constexpr char kNoOriginalRange[] = "Please specify a valid original range.";
constexpr char kNoNewRange[] = "Please specify a valid new range.";

class RemapInputCheckTest : public MainDialogTest {};

TEST_F(RemapInputCheckTest, SingleAndWholeBoardCases) {
    struct Case {
        const char* name;
        const char* level;        // of MAIN, or "STUDIO VIDEO"
        int mode;                 // 0 single, 1 whole board
        const char* original;     // typed number, or range chosen; nullptr: none
        const char* replacement;  // number or range chosen; nullptr: none
        bool usable;
        const char* message;  // shown only when asked for; nullptr: refused silently
    };
    const Case cases[] = {
        {"nothing set up", "VIDEO", 0, nullptr, nullptr, false, nullptr},
        {"no new number", "VIDEO", 0, "5", nullptr, false, nullptr},
        {"negative original number", "VIDEO", 0, "-1", "100", false, kNoOriginalNumber},
        {"negative new number", "VIDEO", 0, "5", "-3", false, kNoNewNumber},
        {"no number at all", "VIDEO", 0, "abc", "100", false, kNoOriginalNumber},
        {"a number with more after it", "VIDEO", 0, "5x", "100", false, kNoOriginalNumber},
        {"a sign alone", "VIDEO", 0, "-", "100", false, kNoOriginalNumber},
        {"blanks around a signed number", "VIDEO", 0, " +7 ", "100", true, nullptr},
        {"original equals new", "VIDEO", 0, "100", "100", false, nullptr},
        {"equal as numbers, not as texts", "VIDEO", 0, "0100", "100", false, nullptr},
        {"usable single", "VIDEO", 0, "5", "100", true, nullptr},
        {"port 0 is a port", "VIDEO", 0, "0", "101", true, nullptr},
        {"no range chosen", "VIDEO", 1, nullptr, nullptr, false, kNoOriginalRange},
        {"no new range", "VIDEO", 1, "0-15", nullptr, false, kNoNewRange},
        {"same range both sides", "VIDEO", 1, "112-127", "112-127", false, nullptr},
        {"usable whole board", "VIDEO", 1, "0-15", "112-127", true, nullptr},
        {"usable board of another size", "AUDIO1", 1, "8-15", "56-63", true, nullptr},
        {"short last board onto a full idle board", "STUDIO VIDEO", 1, "24-31", "20-31", false,
         kNoNewRange},
        {"full board onto a shorter range", "VIDEO", 1, "16-31", "100-103", false, kNoNewRange},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool studio = std::string(c.level) == "STUDIO VIDEO";
        Prepare(IoType::Input, studio ? "STUDIO" : "MAIN", studio ? "VIDEO" : c.level, c.mode);
        if (c.original != nullptr) {
            if (c.mode == 0) {
                Type(IDC_ORIGINAL_NUMBER, c.original);
            } else {
                Choose(IDC_ORIGINAL_RANGE, c.original);
            }
        }
        if (c.replacement != nullptr) {
            Choose(c.mode == 0 ? IDC_NEW_NUMBER : IDC_NEW_RANGE, c.replacement);
        }
        EXPECT_TRUE(NewBoxes().empty());
        EXPECT_EQ(dlg.CheckRemapInput(false), c.usable);
        EXPECT_TRUE(NewBoxes().empty());
        EXPECT_EQ(Enabled(IDC_REMAP), c.usable) << "the Remap button follows the quiet check";
        EXPECT_EQ(dlg.CheckRemapInput(true), c.usable);
        const auto boxes = NewBoxes();
        if (c.message == nullptr) {
            EXPECT_TRUE(boxes.empty());
        } else {
            EXPECT_EQ(boxes, std::vector<std::string>{StopBox(kWarning, c.message)});
        }
    }
}

// A number the level does not have never turns the Remap button on, whatever is chosen after it,
// and the Remap command refuses it. MAIN VIDEO has 128 inputs, numbered 0 to 127.
TEST_F(RemapInputCheckTest, NumbersTheLevelDoesNotHaveNeverReachRemap) {
    struct Case {
        const char* name;
        int mode;                 // 0 single, 1 whole board
        const char* original;     // typed number, or range chosen
        const char* replacement;  // number or range chosen
        bool typedRefused;        // message 7017 as the number is typed
        const char* message;      // shown by the check with messages; nullptr: usable
    };
    const std::string kInvalidPort = StopBox("tavora", "You have entered an invalid port number.");
    const Case cases[] = {
        {"the last port", 0, "127", "100", false, nullptr},
        {"one past the last port", 0, "128", "100", true, "7017"},
        {"would wrap to 5", 0, "4294967301", "100", true, "7017"},
        {"would wrap to 0", 0, "4294967296", "100", true, "7017"},
        {"would wrap to -5", 0, "-4294967301", "100", true, "7017"},
        {"too long for 64 bits", 0, "99999999999999999999999", "100", true, "7017"},
        {"a new number past the level", 0, "5", "128", false, kNoNewNumber},
        {"a new number that would wrap to 100", 0, "5", "4294967396", false, kNoNewNumber},
        {"a new range past the level", 1, "16-31", "128-143", false, kNoNewRange},
        {"an original range past the level", 1, "128-143", "112-127", false, kNoOriginalRange},
        {"an original range that would wrap to 0-15", 1, "4294967296-4294967311", "112-127", false,
         kNoOriginalRange},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare(IoType::Input, "MAIN", "VIDEO", c.mode);
        if (c.mode == 0) {
            Type(IDC_ORIGINAL_NUMBER, c.original);
        } else {
            Choose(IDC_ORIGINAL_RANGE, c.original);
        }
        EXPECT_EQ(NewBoxes(), c.typedRefused ? std::vector<std::string>{kInvalidPort}
                                             : std::vector<std::string>{});
        Choose(c.mode == 0 ? IDC_NEW_NUMBER : IDC_NEW_RANGE, c.replacement);
        EXPECT_TRUE(NewBoxes().empty());
        const bool usable = c.message == nullptr;
        EXPECT_EQ(Enabled(IDC_REMAP), usable);
        EXPECT_EQ(dlg.CheckRemapInput(false), usable);
        EXPECT_TRUE(NewBoxes().empty());
        EXPECT_EQ(dlg.CheckRemapInput(true), usable);
        if (usable) {
            EXPECT_TRUE(NewBoxes().empty());
        } else if (std::string(c.message) == "7017") {
            EXPECT_EQ(NewBoxes(), std::vector<std::string>{kInvalidPort});
        } else {
            EXPECT_EQ(NewBoxes(), std::vector<std::string>{StopBox(kWarning, c.message)});
        }
    }
}

TEST_F(RemapInputCheckTest, BeforeAnyRangeModeNothingIsUsable) {
    Open();
    EXPECT_FALSE(dlg.CheckRemapInput(false));
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_FALSE(dlg.CheckRemapInput(true));
    EXPECT_EQ(NewBoxes(), std::vector<std::string>{StopBox(kWarning, kNoOriginalRange)});
}

}  // namespace
}  // namespace apptest
