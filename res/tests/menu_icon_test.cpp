// Menu 128 carries every command the application object handles, with the texts and grey state
// the operator sees; icon 128 is a complete 32 x 32 picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/fw/types.h"
#include "res/resource.h"
#include "res/resources.h"

namespace {

struct ExpectedItem {
    fw::UINT named;   // the id the code handles
    fw::UINT number;  // its number; 0 is a separator
    const char* text;
    bool grayed;
};

// Each popup's items in display order.
const std::vector<ExpectedItem> kPopups[] = {
    {{ID_FILE_SELECT_REMAP_TABLE, 32772, "Select &Remap Table", false},
     {ID_FILE_SAVE_REMAP_TABLE_AS, 32774, "Save Remap Table &As...", false},
     {0, 0, "", false},
     {ID_FILE_PRINT_REMAP_TABLE, 32775, "&Print Remap Table...\tCtrl+P", false},
     {fw::ID_FILE_PRINT_SETUP, 57606, "Page Set&up", false},
     {0, 0, "", false},
     {fw::ID_APP_EXIT, 57665, "E&xit", false}},
    {{ID_VIEW_SYSTEM_DEFINITION, 32783, "&System Definition...", false},
     {ID_VIEW_INPUT_REMAP_TABLE, 32781, "&Input Remap Table...", false},
     {ID_VIEW_OUTPUT_REMAP_TABLE, 32778, "&Output Remap Table...", false}},
    {{fw::ID_HELP_FINDER, 57667, "&Help Topics", true},
     {0, 0, "", false},
     {fw::ID_APP_ABOUT, 57664, "&About Tavora...", false}},
};

TEST(MainMenu, HasEveryCommandInItsPopupWithTextAndGreyState) {
    const fw::MenuTemplate* menu = tav::TavResources().FindMenu(IDR_MAIN_MENU);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->items.size(), 3u);
    const char* const titles[] = {"&File", "&View", "&Help"};
    for (std::size_t p = 0; p < 3; ++p) {
        const fw::MenuItem& popup = menu->items[p];
        EXPECT_EQ(popup.text, titles[p]);
        ASSERT_EQ(popup.popup.size(), kPopups[p].size()) << popup.text;
        for (std::size_t i = 0; i < popup.popup.size(); ++i) {
            const fw::MenuItem& item = popup.popup[i];
            const ExpectedItem& e = kPopups[p][i];
            SCOPED_TRACE(std::string(popup.text) + " item " + std::to_string(i));
            EXPECT_EQ(e.named, e.number);
            EXPECT_EQ(item.separator, e.number == 0);
            EXPECT_TRUE(item.popup.empty());
            EXPECT_EQ(item.id, e.number);
            EXPECT_EQ(item.text, e.text);
            EXPECT_EQ(item.grayed, e.grayed);
        }
    }
}

TEST(ProgramIcon, Is32By32OpaqueInsideWithSoftCornersAndADrawing) {
    const fw::IconResource* icon = tav::TavResources().FindIcon(IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->width, 32);
    EXPECT_EQ(icon->height, 32);
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
    EXPECT_GT(std::set<std::uint32_t>(icon->argb.begin(), icon->argb.end()).size(), 20u);
}

// The theme sizes are the same drawing: the 32 x 32 one is icon 128 itself, and a large one has
// the same soft corners, solid body and colours in the same places.
TEST(ProgramIcon, DrawsTheSamePictureAtEveryThemeSize) {
    const fw::IconResource* icon = tav::TavResources().FindIcon(IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(tav::ProgramIconOfSize(32).argb, icon->argb);
    for (int size : {16, 48, 128}) {
        const fw::IconResource big = tav::ProgramIconOfSize(size);
        ASSERT_EQ(big.width, size);
        ASSERT_EQ(big.argb.size(), static_cast<std::size_t>(size * size));
        auto at = [&big, size](int x32, int y32) {
            // the pixel under the centre of design pixel (x32, y32)
            const int x = (2 * x32 + 1) * size / 64;
            const int y = (2 * y32 + 1) * size / 64;
            return big.argb[static_cast<std::size_t>(y * size + x)];
        };
        EXPECT_LT(at(0, 0) >> 24, 0x80u) << size;
        EXPECT_EQ(at(16, 16) >> 24, 0xFFu) << size;
        if (size >= 32) {
            // the failed crosspoint is red, the spare green
            EXPECT_GT((at(9, 23) >> 16) & 0xFF, 0xC0u) << size;
            EXPECT_GT((at(23, 9) >> 8) & 0xFF, 0xC0u) << size;
        }
    }
}

}  // namespace
