// The string table must hold the product's texts byte for byte: operators and their procedures
// quote these messages, misspellings and all, and the program formats several of them with
// printf-style arguments, so a lost "%d" or "\n" is a real fault.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "res/resource.h"
#include "res/resources.h"

namespace {

enum class Check { Exact, Contains };

struct ExpectedString {
    fw::UINT id;
    Check check;
    const char* text;  // the whole text, or a part of it
};

// Written out independently of the string table source: texts no other test shows in full. The
// start-up errors are app/tests/scenarios/connect_fails.table's, the System Definition messages
// their scenarios', the remap questions remap/tests/conflict_walk_test.cpp's.
constexpr ExpectedString kExpected[] = {
    {IDS_ABOUTBOX, Check::Exact, "&About TAV..."},
    {IDS_ERROR_DETAIL, Check::Exact,
     "Error Code: (0x%x)\r\n"
     "System Erro Msg: %s\r\n"
     "DCOM Error Msg: %s\r\n"
     "File: %s\r\n"
     "Line# %d"},
    {ID_VIEW_SYSTEM_DEFINITION, Check::Exact, "Display System Definition Table"},
    {7012, Check::Contains, "Router Notify"},
    {7029, Check::Contains, "board notify"},
};

TEST(StringTable, HoldsTheProductTexts) {
    for (const ExpectedString& e : kExpected) {
        const std::string* text = tav::TavResources().FindString(e.id);
        ASSERT_NE(text, nullptr) << "no string " << e.id;
        switch (e.check) {
            case Check::Exact:
                EXPECT_EQ(*text, e.text) << "string " << e.id;
                break;
            case Check::Contains:
                EXPECT_NE(text->find(e.text), std::string::npos) << e.id << ": " << *text;
                break;
        }
    }
}

TEST(StringTable, IdsAreUniqueAndNoTextIsEmptyOrCarriesAStrayBackslash) {
    std::set<fw::UINT> seen;
    for (const fw::StringResource& s : tav::TavResources().strings) {
        EXPECT_TRUE(seen.insert(s.id).second) << "string id " << s.id << " appears twice";
        EXPECT_FALSE(s.text.empty()) << "string " << s.id;
        // Line breaks must be real control characters, not the two characters '\' 'n'.
        EXPECT_EQ(s.text.find('\\'), std::string::npos) << "string " << s.id;
    }
}

}  // namespace
