// Menu 128 carries every command the application object handles, with the texts and grey state
// the operator sees; icon 128 is a complete 32 x 32 picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "platform/fw/types.h"
#include "res/resource.h"
#include "res/resources.h"

namespace {

const fw::MenuTemplate& Menu() {
    const fw::MenuTemplate* menu = tav::TavResources().FindMenu(128);
    if (menu == nullptr) {
        ADD_FAILURE() << "no menu 128";
        static const fw::MenuTemplate empty;
        return empty;
    }
    return *menu;
}

struct ExpectedItem {
    std::size_t popup;  // position of the popup in the menu bar
    fw::UINT id;
    const char* text;
    bool grayed;
};

constexpr ExpectedItem kItems[] = {
    {0, 32772, "Select &Remap Table", false},
    {0, 32774, "Save Remap Table &As...", false},
    {0, 32775, "&Print Remap Table...\tCtrl+P", false},
    {0, 57606, "Page Set&up", false},
    {0, 57665, "E&xit", false},
    {1, 32783, "&System Definition...", false},
    {1, 32781, "&Input Remap Table...", false},
    {1, 32778, "&Output Remap Table...", false},
    {2, 57667, "&Help Topics", true},
    {2, 57664, "&About Tavora...", false},
};

const fw::MenuItem* FindCommand(const std::vector<fw::MenuItem>& items, fw::UINT id) {
    for (const fw::MenuItem& item : items) {
        if (!item.separator && item.popup.empty() && item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

void PrintTo(const ExpectedItem& e, std::ostream* os) {
    *os << "command " << e.id;
}

class MenuCommand : public testing::TestWithParam<ExpectedItem> {};

TEST_P(MenuCommand, SitsInItsPopupWithTextAndGreyState) {
    const ExpectedItem& e = GetParam();
    ASSERT_GT(Menu().items.size(), e.popup);
    const fw::MenuItem* item = FindCommand(Menu().items[e.popup].popup, e.id);
    ASSERT_NE(item, nullptr) << "command " << e.id;
    EXPECT_EQ(item->text, e.text);
    EXPECT_EQ(item->grayed, e.grayed);
}

INSTANTIATE_TEST_SUITE_P(Table, MenuCommand, testing::ValuesIn(kItems),
                         [](const testing::TestParamInfo<ExpectedItem>& p) {
                             return "Command" + std::to_string(p.param.id);
                         });

TEST(MainMenu, HasFileViewHelpInThatOrder) {
    ASSERT_EQ(Menu().items.size(), 3u);
    EXPECT_EQ(Menu().items[0].text, "&File");
    EXPECT_EQ(Menu().items[1].text, "&View");
    EXPECT_EQ(Menu().items[2].text, "&Help");
}

// The full shape of each popup, separators included, in display order.
TEST(MainMenu, PopupsListTheirItemsInOrder) {
    auto shape = [](const fw::MenuItem& popup) {
        std::vector<fw::UINT> ids;
        for (const fw::MenuItem& item : popup.popup) {
            ids.push_back(item.separator ? 0u : item.id);
        }
        return ids;
    };
    ASSERT_EQ(Menu().items.size(), 3u);
    EXPECT_EQ(shape(Menu().items[0]),
              (std::vector<fw::UINT>{32772, 32774, 0, 32775, 57606, 0, 57665}));
    EXPECT_EQ(shape(Menu().items[1]), (std::vector<fw::UINT>{32783, 32781, 32778}));
    EXPECT_EQ(shape(Menu().items[2]), (std::vector<fw::UINT>{57667, 0, 57664}));
}

TEST(MainMenu, NamedCommandsMatchTheirNumbers) {
    EXPECT_EQ(ID_FILE_SELECT_REMAP_TABLE, 32772u);
    EXPECT_EQ(ID_FILE_SAVE_REMAP_TABLE_AS, 32774u);
    EXPECT_EQ(ID_FILE_PRINT_REMAP_TABLE, 32775u);
    EXPECT_EQ(ID_VIEW_OUTPUT_REMAP_TABLE, 32778u);
    EXPECT_EQ(ID_VIEW_INPUT_REMAP_TABLE, 32781u);
    EXPECT_EQ(ID_VIEW_SYSTEM_DEFINITION, 32783u);
    EXPECT_EQ(fw::ID_FILE_PRINT_SETUP, 57606u);
    EXPECT_EQ(fw::ID_APP_EXIT, 57665u);
    EXPECT_EQ(fw::ID_HELP_FINDER, 57667u);
    EXPECT_EQ(fw::ID_APP_ABOUT, 57664u);
}

TEST(MainMenu, SeparatorsCarryNoTextAndOnlyHelpTopicsIsGrey) {
    for (const fw::MenuItem& popup : Menu().items) {
        EXPECT_FALSE(popup.popup.empty()) << popup.text;
        for (const fw::MenuItem& item : popup.popup) {
            if (item.separator) {
                EXPECT_TRUE(item.text.empty());
                EXPECT_EQ(item.id, 0u);
            } else {
                EXPECT_FALSE(item.text.empty());
                EXPECT_EQ(item.grayed, item.id == fw::ID_HELP_FINDER) << item.text;
            }
        }
    }
}

TEST(ProgramIcon, Is32By32WithEveryPixel) {
    const fw::IconResource* icon = tav::TavResources().FindIcon(128);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->width, 32);
    EXPECT_EQ(icon->height, 32);
    EXPECT_EQ(icon->argb.size(), static_cast<std::size_t>(icon->width * icon->height));
}

TEST(ProgramIcon, IsOpaqueInsideWithSoftCorners) {
    const fw::IconResource* icon = tav::TavResources().FindIcon(128);
    ASSERT_NE(icon, nullptr);
    ASSERT_EQ(icon->argb.size(), 32u * 32u);
    auto alpha = [icon](int x, int y) {
        return icon->argb[static_cast<std::size_t>(y * icon->width + x)] >> 24;
    };
    // Rounded corners show what lies beneath; the body is solid.
    EXPECT_LT(alpha(0, 0), 0x80u);
    EXPECT_LT(alpha(31, 31), 0x80u);
    for (int y = 4; y < 28; ++y) {
        for (int x = 4; x < 28; ++x) {
            EXPECT_EQ(alpha(x, y), 0xFFu) << x << "," << y;
        }
    }
    // Not a flat square: a drawing has several distinct colours.
    std::vector<std::uint32_t> colours;
    for (std::uint32_t px : icon->argb) {
        if (std::find(colours.begin(), colours.end(), px) == colours.end()) {
            colours.push_back(px);
        }
    }
    EXPECT_GT(colours.size(), 20u);
}

}  // namespace
