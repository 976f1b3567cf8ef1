// The boards' reading of the RE-MAP message: the worked example, and everything that must be
// refused without reading past the datagram.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/control/boards/remap_message.h"
#include "platform/control/crc16.h"
#include "platform/control/tests/example_remap_message.h"

namespace control {
namespace {

using Bytes = std::vector<std::uint8_t>;

using testing::kExampleEntryCountAt;
using testing::kExampleRemapMessage;

Bytes Replaced(Bytes bytes, std::size_t at, std::uint8_t value) {
    bytes.at(at) = value;
    return bytes;
}

Bytes Cut(const Bytes& bytes, std::size_t length) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

Bytes Appended(Bytes bytes, const Bytes& tail) {
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

TEST(RemapMessage, TheWorkedExampleIsTakenAsSentAndBuiltByteForByte) {
    ASSERT_EQ(kExampleRemapMessage.size(), 28u);
    const RemapParseResult parsed = ParseRemapMessage(kExampleRemapMessage);
    ASSERT_TRUE(parsed.message) << parsed.error;
    EXPECT_TRUE(parsed.error.empty());
    const RemapMessage& m = *parsed.message;
    ASSERT_EQ(m.addresses.size(), 1u);
    EXPECT_EQ(m.addresses[0], (BoardAddress{0x02, 0, 0, 0, 0, 0x01}));
    EXPECT_EQ(m.ioLetter, 'I');
    EXPECT_EQ(m.IoIndex(), 0);
    EXPECT_EQ(m.crc, 0xCB2D);
    EXPECT_EQ(m.Count(), 1u);
    const Bytes data = {0x03, 0x01, 0x00, 0x05, 0x00, 0x78};
    EXPECT_EQ(m.data, data);
    EXPECT_EQ(BuildRemapMessage({{0x02, 0, 0, 0, 0, 0x01}}, 'I', data), kExampleRemapMessage);
}

TEST(RemapMessage, SeveralBoardsAndEntriesForOutput) {
    const Bytes data = {0x00, 0x02, 0x00, 0x01, 0x00, 0x10, 0x00, 0x00, 0x00,
                        0x02, 0x00, 0x11, 0x04, 0x01, 0x01, 0x00, 0x00, 0x3F};
    const std::vector<BoardAddress> addresses = {
        {2, 0, 0, 0, 0, 1}, {2, 0, 0, 0, 0, 3}, {0, 0, 0, 0, 0, 9}};
    const Bytes message = BuildRemapMessage(addresses, 'O', data);
    ASSERT_EQ(message.size(), 6u * (3 + 1) + 10 + 6 * 3);
    const RemapParseResult parsed = ParseRemapMessage(message);
    ASSERT_TRUE(parsed.message) << parsed.error;
    EXPECT_EQ(parsed.message->addresses, addresses);
    EXPECT_EQ(parsed.message->IoIndex(), 1);
    EXPECT_EQ(parsed.message->crc, Crc16(data));
    EXPECT_EQ(parsed.message->data, data);
}

TEST(RemapMessage, AnEmptyTableIsCountZeroAndCrcZero) {
    const Bytes message = BuildRemapMessage({{2, 0, 0, 0, 0, 4}}, 'O', {});
    EXPECT_EQ(message, (Bytes{'R', 'E', '-', 'M', 'A', 'P', 2, 0, 0,   0, 0,
                              4,   0,   0,   0,   0,   0,   0, 0, 'O', 0, 0}));
    const RemapParseResult parsed = ParseRemapMessage(message);
    ASSERT_TRUE(parsed.message) << parsed.error;
    EXPECT_EQ(parsed.message->Count(), 0u);
    EXPECT_EQ(parsed.message->crc, 0);
}

TEST(RemapMessage, MalformedMessagesAreRefusedWithAReason) {
    const Bytes noBoard = {'R', 'E', '-', 'M', 'A', 'P', 0, 0, 0, 0, 0, 0, 0, 'I', 0, 0};
    const std::pair<Bytes, const char*> cases[] = {
        // the bytes and a part of the error text
        {{}, "RE-MAP"},
        {{'R', 'E', '-', 'M', 'A'}, "RE-MAP"},
        {Replaced(kExampleRemapMessage, 5, 'Q'), "RE-MAP"},
        {Replaced(kExampleRemapMessage, 0, 'r'), "RE-MAP"},
        {Cut(kExampleRemapMessage, 12), "address list"},
        {Cut(kExampleRemapMessage, 17), "address list"},
        {noBoard, "names no board"},
        {Cut(kExampleRemapMessage, 20), "header bytes"},
        {Replaced(kExampleRemapMessage, 19, 'X'), "neither 'I' nor 'O'"},
        {Replaced(kExampleRemapMessage, 19, 'i'), "neither 'I' nor 'O'"},
        {Replaced(kExampleRemapMessage, kExampleEntryCountAt, 2), "truncated"},
        {Replaced(kExampleRemapMessage, kExampleEntryCountAt, 0), "over-long"},
        {Appended(kExampleRemapMessage, {3, 0, 0, 6, 0, 0x79}), "over-long"},
        {Replaced(kExampleRemapMessage, 21, 0x2E), "CRC mismatch"},
        {Replaced(Replaced(kExampleRemapMessage, 20, 0x2D), 21, 0xCB),
         "CRC mismatch"},  // low first
        {Replaced(kExampleRemapMessage, 27, 0x77), "CRC mismatch"},
        {Replaced(BuildRemapMessage({{2, 0, 0, 0, 0, 4}}, 'I', {}), 21, 1), "CRC mismatch"},
    };
    for (const auto& [bytes, reason] : cases) {
        const RemapParseResult parsed = ParseRemapMessage(bytes);
        EXPECT_FALSE(parsed.message) << HexBytes(bytes);
        EXPECT_NE(parsed.error.find(reason), std::string::npos) << parsed.error;
    }
    for (std::size_t length = 0; length < kExampleRemapMessage.size(); ++length) {
        EXPECT_FALSE(ParseRemapMessage(Cut(kExampleRemapMessage, length)).message)
            << "accepted the first " << length << " bytes";
    }
    for (std::size_t extra = 1; extra <= 12; ++extra) {
        const RemapParseResult parsed =
            ParseRemapMessage(Appended(kExampleRemapMessage, Bytes(extra, 0x5A)));
        EXPECT_FALSE(parsed.message) << "accepted " << extra << " extra bytes";
        EXPECT_NE(parsed.error.find("over-long"), std::string::npos) << parsed.error;
    }
}

// The addresses are not covered by the CRC; everything after them is, or is checked by value.
TEST(RemapMessage, EverySingleBitFlipOutsideTheAddressesIsRefused) {
    for (std::size_t at = 0; at < kExampleRemapMessage.size(); ++at) {
        if (at >= 6 && at < 12) {
            continue;
        }
        for (int bit = 0; bit < 8; ++bit) {
            const Bytes flipped =
                Replaced(kExampleRemapMessage, at,
                         static_cast<std::uint8_t>(kExampleRemapMessage[at] ^ (1 << bit)));
            EXPECT_FALSE(ParseRemapMessage(flipped).message)
                << "accepted with bit " << bit << " of byte " << at << " flipped";
        }
    }
}

// Random datagrams, some dressed as RE-MAP messages: whatever is accepted must be exactly what a
// well-behaved sender builds from the parsed fields.
TEST(RemapMessage, RandomBytesAreRefusedOrRebuiltExactly) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 120);
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        Bytes bytes(static_cast<std::size_t>(length(random)));
        for (auto& b : bytes) {
            b = static_cast<std::uint8_t>(byte(random));
        }
        if (round % 2 == 0 && bytes.size() >= 6) {
            std::copy_n("RE-MAP", 6, bytes.begin());
        }
        if (round % 4 == 0 && bytes.size() >= 18) {
            std::fill(bytes.begin() + 12, bytes.begin() + 18, 0);  // one board, then the end
        }
        const RemapParseResult parsed = ParseRemapMessage(bytes);
        if (!parsed.message) {
            EXPECT_FALSE(parsed.error.empty());
            continue;
        }
        ++accepted;
        const RemapMessage& m = *parsed.message;
        EXPECT_EQ(BuildRemapMessage(m.addresses, m.ioLetter, m.data), bytes);
    }
    EXPECT_LT(accepted, 200) << "random data should almost never carry a matching CRC";
}

}  // namespace
}  // namespace control
