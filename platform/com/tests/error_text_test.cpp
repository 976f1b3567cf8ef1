#include "platform/com/error_text.h"

#include <gtest/gtest.h>

namespace com {
namespace {

struct TextCase {
    HRESULT hr;
    const char* text;
};

class SystemText : public ::testing::TestWithParam<TextCase> {};

TEST_P(SystemText, IsTheUsualOne) {
    const TextCase& c = GetParam();
    EXPECT_EQ(SystemErrorText(c.hr), c.text);
    std::string text = "old";
    EXPECT_TRUE(FormatSystemMessage(c.hr, text));
    EXPECT_EQ(text, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    CommonCodes, SystemText,
    ::testing::Values(TextCase{E_FAIL, "Unspecified error"},
                      TextCase{E_NOINTERFACE, "No such interface supported"},
                      TextCase{E_OUTOFMEMORY, "Ran out of memory"},
                      TextCase{REGDB_E_CLASSNOTREG, "Class not registered"},
                      TextCase{CO_E_SERVER_EXEC_FAILURE, "Server execution failed"},
                      TextCase{E_ACCESSDENIED, "Access is denied."},
                      TextCase{E_INVALIDARG, "The parameter is incorrect."},
                      TextCase{E_UNEXPECTED, "Catastrophic failure"},
                      TextCase{E_POINTER, "Invalid pointer"},
                      TextCase{RPC_E_DISCONNECTED,
                               "The object invoked has disconnected from its clients."},
                      TextCase{S_OK, "The operation completed successfully."}));

class NoSystemText : public ::testing::TestWithParam<HRESULT> {};

TEST_P(NoSystemText, GivesEmptyAndFalse) {
    EXPECT_TRUE(SystemErrorText(GetParam()).empty());
    EXPECT_FALSE(HasSystemErrorText(GetParam()));
    std::string text = "old";
    EXPECT_FALSE(FormatSystemMessage(GetParam(), text));
    EXPECT_TRUE(text.empty());
}

INSTANTIATE_TEST_SUITE_P(InterfaceCodes, NoSystemText,
                         ::testing::Values(HResult(0x80040201), HResult(0x80040202),
                                           HResult(0x80040206), HResult(0x80040211),
                                           HResult(0x80041234), HResult(0x12345678)));

TEST(SystemText, HasNoTrailingLineBreak) {
    for (const HRESULT hr : {E_FAIL, E_ACCESSDENIED, RPC_E_TOO_LATE}) {
        const auto text = SystemErrorText(hr);
        ASSERT_FALSE(text.empty());
        EXPECT_NE(text.back(), '\n');
        EXPECT_NE(text.back(), '\r');
    }
}

}  // namespace
}  // namespace com
