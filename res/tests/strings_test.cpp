// The string table must hold the product's texts byte for byte: operators and their procedures
// quote these messages, misspellings and all, and the program formats several of them with
// printf-style arguments, so a lost "%d" or "\n" is a real fault.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "res/resource.h"
#include "res/resources.h"

namespace {

enum class Check { Exact, Contains, Formats };

struct ExpectedString {
    fw::UINT id;
    Check check;
    const char* text;  // the whole text, a part of it, or its conversions in order
};

// The printf conversions of a text in order, "%%" left out.
std::string Conversions(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '%') {
            if (text[i + 1] != '%') {
                out += text.substr(i, 2);
            }
            ++i;
        }
    }
    return out;
}

// Written out independently of the string table source: a sample of texts with misspellings,
// blank lines and "\r\n" breaks, the component each error context names, and the arguments each
// printf-style message takes. Texts the scenarios show in full (the start-up errors of
// app/tests/scenarios/connect_fails.table, the System Definition messages) are theirs to check.
constexpr ExpectedString kExpected[] = {
    {IDS_ABOUTBOX, Check::Exact, "&About TAV..."},
    {IDS_INPUT_PATTERN, Check::Exact, "*.ixt"},
    {IDS_ERROR_DETAIL, Check::Exact,
     "Error Code: (0x%x)\r\n"
     "System Erro Msg: %s\r\n"
     "DCOM Error Msg: %s\r\n"
     "File: %s\r\n"
     "Line# %d"},
    {IDS_ORIGINAL_RANGE_REMAPPED, Check::Exact,
     "The original %s %s number '%d-%d' you have specified\n"
     "were previously remapped to %s number '%d-%d'.\n"
     "\n"
     "Remapping will override the previous remapping.\n"
     "\n"
     "Do you want to proceed?"},
    {ID_VIEW_SYSTEM_DEFINITION, Check::Exact, "Display System Definition Table"},
    {7012, Check::Contains, "Router Notify"},
    {7029, Check::Contains, "board notify"},
    {21000, Check::Formats, "%s%s"},
    {21001, Check::Formats, "%s%s%d%s%d"},
    {21002, Check::Formats, "%s%s%d%s%d"},
    {21004, Check::Formats, "%s%s%d%d%s%d%d"},
    {21007, Check::Formats, ""},
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
            case Check::Formats:
                EXPECT_EQ(Conversions(*text), e.text) << e.id << ": " << *text;
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
