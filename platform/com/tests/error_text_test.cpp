#include "platform/com/error_text.h"

#include <gtest/gtest.h>

namespace com {
namespace {

TEST(SystemText, CommonCodesHaveTheUsualText) {
    const std::pair<HRESULT, const char*> cases[] = {
        {E_FAIL, "Unspecified error"},
        {E_NOINTERFACE, "No such interface supported"},
        {E_OUTOFMEMORY, "Ran out of memory"},
        {REGDB_E_CLASSNOTREG, "Class not registered"},
        {CO_E_SERVER_EXEC_FAILURE, "Server execution failed"},
        {E_ACCESSDENIED, "Access is denied."},
        {E_INVALIDARG, "The parameter is incorrect."},
        {E_UNEXPECTED, "Catastrophic failure"},
        {E_POINTER, "Invalid pointer"},
        {RPC_E_DISCONNECTED, "The object invoked has disconnected from its clients."},
        {S_OK, "The operation completed successfully."},
    };
    for (const auto& [hr, expected] : cases) {
        EXPECT_EQ(SystemErrorText(hr), expected);
        std::string text = "old";
        EXPECT_TRUE(FormatSystemMessage(hr, text));
        EXPECT_EQ(text, expected);
    }
    const auto late = SystemErrorText(RPC_E_TOO_LATE);
    ASSERT_FALSE(late.empty());
    EXPECT_TRUE(late.back() != '\n' && late.back() != '\r');
}

TEST(SystemText, InterfaceCodesHaveNone) {
    for (const std::uint32_t code :
         {0x80040201u, 0x80040202u, 0x80040206u, 0x80040211u, 0x80041234u, 0x12345678u}) {
        const HRESULT hr = HResult(code);
        EXPECT_TRUE(SystemErrorText(hr).empty()) << std::hex << code;
        EXPECT_FALSE(HasSystemErrorText(hr)) << std::hex << code;
        std::string text = "old";
        EXPECT_FALSE(FormatSystemMessage(hr, text));
        EXPECT_TRUE(text.empty());
    }
}

}  // namespace
}  // namespace com
