// The report and refresh datagrams between the Board Status Server and the boards.
#include <gtest/gtest.h>

#include <vector>

#include "platform/control/boards/board_wire.h"
#include "platform/control/boards/remap_message.h"

namespace control {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(BoardWire, AReportIsTagBoardHighFirstAndTheRecord) {
    const Bytes bytes = EncodeBoardReport({0x0102, {1, 0, 0x2D, 0xCB, 0, 0, 0, 0}});
    EXPECT_EQ(bytes, (Bytes{'B', 'R', 'D', '-', 'I', 'N', 'F', 'O', 0x01, 0x02, 1, 0, 0x2D, 0xCB, 0,
                            0, 0, 0}));
    const auto report = DecodeBoardReport(bytes);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->board, 0x0102);
    EXPECT_EQ(report->record, (BoardRecord{1, 0, 0x2D, 0xCB, 0, 0, 0, 0}));
}

TEST(BoardWire, ARefreshRequestNamesOneBoardOrAll) {
    EXPECT_EQ(EncodeRefreshRequest(-1),
              (Bytes{'B', 'R', 'D', '-', 'R', 'F', 'S', 'H', 0xFF, 0xFF}));
    EXPECT_EQ(EncodeRefreshRequest(3), (Bytes{'B', 'R', 'D', '-', 'R', 'F', 'S', 'H', 0, 3}));
    EXPECT_EQ(DecodeRefreshRequest(EncodeRefreshRequest(-1)), kRefreshAllBoards);
    EXPECT_EQ(DecodeRefreshRequest(EncodeRefreshRequest(258)), 258);
    EXPECT_TRUE(LooksLikeRefreshRequest(EncodeRefreshRequest(0)));
}

TEST(BoardWire, AnythingNotExactlyADatagramOfItsKindIsRefused) {
    const auto spoilt = [](const Bytes& bytes) {  // every cut, one byte more, another tag
        std::vector<Bytes> out;
        for (std::size_t n = 0; n < bytes.size(); ++n) {
            out.emplace_back(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        }
        out.push_back(bytes);
        out.back().push_back(0);
        out.push_back(bytes);
        out.back()[4] = 'X';
        return out;
    };
    const Bytes report = EncodeBoardReport({1, {}});
    const Bytes refresh = EncodeRefreshRequest(1);
    for (const Bytes& bad : spoilt(report)) {
        EXPECT_FALSE(DecodeBoardReport(bad)) << HexBytes(bad);
    }
    for (const Bytes& bad : spoilt(refresh)) {
        EXPECT_FALSE(DecodeRefreshRequest(bad)) << HexBytes(bad);
    }
    EXPECT_FALSE(DecodeBoardReport(refresh));
}

}  // namespace
}  // namespace control
