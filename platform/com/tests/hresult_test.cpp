#include "platform/com/hresult.h"

#include <gtest/gtest.h>

namespace com {
namespace {

TEST(Hresult, CommonCodesHaveThePlatformValuesAndSplitIntoTheirParts) {
    const struct {
        HRESULT hr;
        std::uint32_t value;
        std::uint32_t facility;
        std::uint32_t code;
    } cases[] = {
        {S_OK, 0, 0, 0},
        {S_FALSE, 1, 0, 1},
        {E_FAIL, 0x80004005u, 0, 0x4005},
        {E_NOINTERFACE, 0x80004002u, 0, 0x4002},
        {E_POINTER, 0x80004003u, 0, 0x4003},
        {E_UNEXPECTED, 0x8000FFFFu, 0, 0xFFFF},
        {E_OUTOFMEMORY, 0x8007000Eu, FACILITY_WIN32, 0x000E},
        {E_ACCESSDENIED, 0x80070005u, FACILITY_WIN32, 5},
        {E_INVALIDARG, 0x80070057u, FACILITY_WIN32, 0x57},
        {REGDB_E_CLASSNOTREG, 0x80040154u, FACILITY_ITF, 0x154},
        {CO_E_SERVER_EXEC_FAILURE, 0x80080005u, 8, 5},
        {RPC_E_DISCONNECTED, 0x80010108u, FACILITY_RPC, 0x108},
        {HResult(0x80040206), 0x80040206u, FACILITY_ITF, 0x206},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const bool failed = (c.value & 0x80000000u) != 0;
        EXPECT_EQ(static_cast<std::uint32_t>(c.hr), c.value);
        EXPECT_EQ(FAILED(c.hr), failed);
        EXPECT_EQ(SUCCEEDED(c.hr), !failed);
        EXPECT_EQ(HRESULT_SEVERITY(c.hr), failed ? 1u : 0u);
        EXPECT_EQ(HRESULT_FACILITY(c.hr), c.facility);
        EXPECT_EQ(HRESULT_CODE(c.hr), c.code);
        EXPECT_EQ(MAKE_HRESULT(failed ? 1 : 0, c.facility, c.code), c.hr);
    }
}

TEST(Hresult, FailureIsTheSignBitWin32CodesMapAndOversizedPartsAreMasked) {
    EXPECT_TRUE(FAILED(HResult(0x80000000)));
    EXPECT_FALSE(FAILED(HResult(0x7FFFFFFF)));
    EXPECT_TRUE(SUCCEEDED(MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_ITF, 0x211)));
    EXPECT_EQ(HRESULT_FROM_WIN32(0), S_OK);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), E_ACCESSDENIED);
    EXPECT_EQ(HRESULT_FROM_WIN32(14), E_OUTOFMEMORY);
    EXPECT_EQ(MAKE_HRESULT(3, 0x2004, 0x10201), HResult(0x80040201));
}

}  // namespace
}  // namespace com
