// The RE-MAP message byte for byte: the row list, the remap data grouped by row and the header.
#include <gtest/gtest.h>

#include <vector>

#include "boards/compute_crc16.h"
#include "boards/remap_data.h"
#include "platform/control/tests/example_remap_message.h"
#include "remap/tests/remap_entries.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using remaptest::Entry;

boards::NotifyBoard Board(std::uint16_t number, Bytes address) {
    address.push_back(0);
    return {number, "B", std::move(address)};
}

// The whole message as the notification assembles it.
Bytes Message(const std::vector<boards::NotifyBoard>& chosen, IoType io, const Bytes& data) {
    Bytes message(boards::RemapMessageLength(chosen.size(), data.size() / 6), 0xEE);
    const std::size_t at = boards::RemapMessageLength(chosen.size(), 0);
    std::copy(data.begin(), data.end(), message.begin() + static_cast<std::ptrdiff_t>(at));
    const std::uint16_t crc =
        data.empty() ? 0 : ComputeCrc16(data.data(), static_cast<unsigned>(data.size()));
    boards::WriteRemapHeader(message.data(), chosen, static_cast<int>(data.size() / 6), io, crc);
    return message;
}

TEST(RemapData, WorkedExampleOneBoardOneInputRemap) {
    const RemapTable empty;
    const boards::PendingRemap pending{3, 5, 5, 120, 120};
    const auto data = boards::RemapDataOf(&empty, 5, &pending, 1);
    ASSERT_TRUE(data);
    EXPECT_EQ(*data, (Bytes{0x03, 0x01, 0x00, 0x05, 0x00, 0x78}));
    EXPECT_EQ(Message({Board(0, {0x02, 0, 0, 0, 0, 0x01})}, IoType::Input, *data),
              control::testing::kExampleRemapMessage);
}

TEST(RemapData, EmptiedTableCarriesNoDataCountZeroAndCrcZero) {
    const RemapTable empty;
    const auto data = boards::RemapDataOf(&empty, 5, nullptr, 0);
    ASSERT_TRUE(data);
    EXPECT_TRUE(data->empty());
    EXPECT_TRUE(boards::NotifyRowsOf(&empty, 5, -1).empty());
    EXPECT_EQ(Message({Board(0, {2, 0, 0, 0, 0, 1}), Board(3, {2, 0, 0, 0, 0, 4, 9, 9})},
                      IoType::Output, *data),
              (Bytes{0x52, 0x45, 0x2D, 0x4D, 0x41, 0x50, 0x02, 0x00, 0x00, 0x00,
                     0x00, 0x01, 0x02, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00,
                     0x00, 0x00, 0x00, 0x00, 0x00, 0x4F, 0x00, 0x00}));
}

TEST(RemapData, GroupsByAscendingRowWithCountInFirstEntryAndPendingLast) {
    RemapTable table;
    table.push_back(Entry(2, 16, 18, 240));  // a range: one entry per port
    table.push_back(Entry(0, 5, 5, 120));
    const boards::PendingRemap pending{0, 7, 7, 121, 121};
    EXPECT_EQ(boards::NotifyRowsOf(&table, 5, 0), (std::vector<unsigned>{0, 2}));
    EXPECT_EQ(boards::NotifyRowsOf(&table, 5, 4), (std::vector<unsigned>{0, 2, 4}));
    const auto data = boards::RemapDataOf(&table, 5, &pending, 5);
    ASSERT_TRUE(data);
    const Bytes expected{0x00, 0x02, 0x00, 0x05, 0x00, 0x78, 0x00, 0x00, 0x00, 0x07,
                         0x00, 0x79, 0x02, 0x03, 0x00, 0x10, 0x00, 0xF0, 0x02, 0x00,
                         0x00, 0x11, 0x00, 0xF1, 0x02, 0x00, 0x00, 0x12, 0x00, 0xF2};
    EXPECT_EQ(*data, expected);
    const Bytes message = Message({Board(1, {2, 0, 0, 0, 0, 2})}, IoType::Input, *data);
    const Bytes head{0x52, 0x45, 0x2D, 0x4D, 0x41, 0x50, 0x02, 0x00, 0x00, 0x00, 0x00,
                     0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x49, 0x4B, 0x76};
    ASSERT_EQ(message.size(), head.size() + expected.size());
    EXPECT_EQ(Bytes(message.begin(), message.begin() + 22), head);
}

TEST(RemapData, RowListNamesTheRowsInForceUnlessNoEntryIsLeft) {
    struct RowsCase {
        const char* name;
        std::vector<int> entryRows;
        int pendingRow;
        std::vector<unsigned> inForce;
        std::vector<unsigned> rows;
    };
    // clang-format off
    const std::vector<RowsCase> cases = {
        {"a row that lost its last entry is named", {0}, -1, {0, 3}, {0, 3}},
        {"rows in force that still hold entries once", {3, 0}, -1, {0, 3}, {0, 3}},
        {"a pending remap alone brings them too", {}, 2, {3}, {2, 3}},
        {"no entry left: nothing, so every board hears", {}, -1, {0, 3}, {}},
        {"rows the System Definition Table no longer has are dropped", {0}, -1, {7}, {0}},
        {"nothing in force", {4, 1}, 1, {}, {1, 4}},
    };
    // clang-format on
    for (const RowsCase& c : cases) {
        SCOPED_TRACE(c.name);
        RemapTable table;
        for (int row : c.entryRows) {
            table.push_back(Entry(row, 5, 5, 100));
        }
        EXPECT_EQ(boards::NotifyRowsOf(&table, 5, c.pendingRow, c.inForce), c.rows);
    }
}

TEST(RemapData, NumbersTakeTheirLowSixteenBitsAndRowsTheirLowEight) {
    RemapTable table;
    table.push_back(Entry(0, 0x1234, 0x1234, 0xABCD));
    const auto data = boards::RemapDataOf(&table, 1, nullptr, 1);
    ASSERT_TRUE(data);
    EXPECT_EQ(*data, (Bytes{0x00, 0x01, 0x12, 0x34, 0xAB, 0xCD}));
}

TEST(RemapData, RefusesDataLongerThanTheMessageWasSizedFor) {
    RemapTable table;
    table.push_back(Entry(1, 16, 31, 240));
    EXPECT_FALSE(boards::RemapDataOf(&table, 4, nullptr, 15));
    EXPECT_TRUE(boards::RemapDataOf(&table, 4, nullptr, 16));
    // Entries of rows the System Definition Table does not have are not sent.
    EXPECT_TRUE(boards::RemapDataOf(&table, 1, nullptr, 0));
}

}  // namespace
