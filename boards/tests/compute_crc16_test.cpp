#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

#include "boards/compute_crc16.h"

namespace {

std::uint16_t CrcOf(const std::vector<std::uint8_t>& bytes) {
    return ComputeCrc16(bytes.data(), static_cast<unsigned int>(bytes.size()));
}

struct CrcCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::uint16_t crc;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const CrcCase& c, std::ostream* os) {
    *os << c.name;
}

class ComputeCrc16Cases : public ::testing::TestWithParam<CrcCase> {};

TEST_P(ComputeCrc16Cases, GivesTheModbusCrc) {
    EXPECT_EQ(CrcOf(GetParam().bytes), GetParam().crc);
}

std::vector<std::uint8_t> Text(std::string_view text) {
    return {text.begin(), text.end()};
}

INSTANTIATE_TEST_SUITE_P(
    Known, ComputeCrc16Cases,
    ::testing::Values(CrcCase{"check_value", Text("123456789"), 0x4B37},
                      CrcCase{"worked_example_data", {0x03, 0x01, 0x00, 0x05, 0x00, 0x78}, 0xCB2D},
                      CrcCase{"empty", {}, 0xFFFF},
                      // One byte exercises a single table lookup: T[0xFF ^ 0x00] ^ 0x00FF.
                      CrcCase{"single_zero", {0x00}, 0x40BF}, CrcCase{"single_ff", {0xFF}, 0x00FF},
                      // Appending the CRC low byte first makes the MODBUS residue 0.
                      CrcCase{"residue", {0x03, 0x01, 0x00, 0x05, 0x00, 0x78, 0x2D, 0xCB}, 0x0000}),
    [](const ::testing::TestParamInfo<CrcCase>& param) { return param.param.name; });

TEST(ComputeCrc16, NullDataWithNoBytesIsTheInitialValue) {
    EXPECT_EQ(ComputeCrc16(nullptr, 0), 0xFFFF);
}

TEST(ComputeCrc16, ReadsExactlyTheBytesAskedFor) {
    const std::vector<std::uint8_t> bytes = {0x03, 0x01, 0x00, 0x05, 0x00, 0x78, 0xAA, 0xBB};
    EXPECT_EQ(ComputeCrc16(bytes.data(), 6), 0xCB2D);
}

}  // namespace
