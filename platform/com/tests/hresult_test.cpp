#include "platform/com/hresult.h"

#include <gtest/gtest.h>

namespace com {
namespace {

struct Parts {
    HRESULT hr;
    bool failed;
    std::uint32_t severity;
    std::uint32_t facility;
    std::uint32_t code;
};

class HresultParts : public ::testing::TestWithParam<Parts> {};

TEST_P(HresultParts, SplitsIntoSeverityFacilityAndCode) {
    const Parts& p = GetParam();
    EXPECT_EQ(FAILED(p.hr), p.failed);
    EXPECT_EQ(SUCCEEDED(p.hr), !p.failed);
    EXPECT_EQ(HRESULT_SEVERITY(p.hr), p.severity);
    EXPECT_EQ(HRESULT_FACILITY(p.hr), p.facility);
    EXPECT_EQ(HRESULT_CODE(p.hr), p.code);
    EXPECT_EQ(MAKE_HRESULT(p.severity, p.facility, p.code), p.hr);
}

INSTANTIATE_TEST_SUITE_P(CommonCodes, HresultParts,
                         ::testing::Values(Parts{S_OK, false, 0, 0, 0},
                                           Parts{S_FALSE, false, 0, 0, 1},
                                           Parts{E_FAIL, true, 1, 0, 0x4005},
                                           Parts{E_NOINTERFACE, true, 1, 0, 0x4002},
                                           Parts{E_OUTOFMEMORY, true, 1, FACILITY_WIN32, 0x000E},
                                           Parts{E_ACCESSDENIED, true, 1, FACILITY_WIN32, 5},
                                           Parts{E_INVALIDARG, true, 1, FACILITY_WIN32, 0x57},
                                           Parts{REGDB_E_CLASSNOTREG, true, 1, FACILITY_ITF, 0x154},
                                           Parts{CO_E_SERVER_EXEC_FAILURE, true, 1, 8, 5},
                                           Parts{RPC_E_DISCONNECTED, true, 1, FACILITY_RPC, 0x108},
                                           Parts{HResult(0x80040206), true, 1, FACILITY_ITF, 0x206},
                                           Parts{E_UNEXPECTED, true, 1, 0, 0xFFFF}));

TEST(Hresult, CommonValuesAreThePlatformOnes) {
    EXPECT_EQ(static_cast<std::uint32_t>(E_FAIL), 0x80004005u);
    EXPECT_EQ(static_cast<std::uint32_t>(E_NOINTERFACE), 0x80004002u);
    EXPECT_EQ(static_cast<std::uint32_t>(E_OUTOFMEMORY), 0x8007000Eu);
    EXPECT_EQ(static_cast<std::uint32_t>(E_POINTER), 0x80004003u);
    EXPECT_EQ(static_cast<std::uint32_t>(E_ACCESSDENIED), 0x80070005u);
    EXPECT_EQ(static_cast<std::uint32_t>(REGDB_E_CLASSNOTREG), 0x80040154u);
    EXPECT_EQ(static_cast<std::uint32_t>(CO_E_SERVER_EXEC_FAILURE), 0x80080005u);
    EXPECT_EQ(static_cast<std::uint32_t>(RPC_E_DISCONNECTED), 0x80010108u);
    EXPECT_EQ(FACILITY_ITF, 4u);
}

TEST(Hresult, FailureIsTheSignBitOnly) {
    EXPECT_TRUE(FAILED(HResult(0x80000000)));
    EXPECT_FALSE(FAILED(HResult(0x7FFFFFFF)));
    EXPECT_TRUE(SUCCEEDED(MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_ITF, 0x211)));
}

TEST(Hresult, FromWin32KeepsSuccessAndMapsErrorsToFacilityWin32) {
    EXPECT_EQ(HRESULT_FROM_WIN32(0), S_OK);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), E_ACCESSDENIED);
    EXPECT_EQ(HRESULT_FROM_WIN32(14), E_OUTOFMEMORY);
}

TEST(Hresult, MakeMasksOversizedParts) {
    EXPECT_EQ(MAKE_HRESULT(3, 0x2004, 0x10201), HResult(0x80040201));
}

}  // namespace
}  // namespace com
