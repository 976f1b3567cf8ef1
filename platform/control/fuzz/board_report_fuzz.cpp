// libFuzzer entry: the Board Status Server's side of the board network. Whatever datagrams reach
// the status port (any sender on the machine may send there), each is taken as a report only when
// it is exactly one, for a board the server has; the server then holds that record, counts it and
// tells every advised sink once, with that board's record and nothing else. Refresh requests are
// read the same way: a datagram is taken as one only when it is exactly one.
//
// Input: one byte for the number of boards (0..63), then datagrams, each one length byte and that
// many bytes (the last one whatever is left).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/com/object.h"
#include "platform/control/boards/board_status_hub.h"
#include "platform/control/boards/board_wire.h"
#include "platform/fw/message_queue.h"

namespace {

constexpr std::string_view kReportTag = "BRD-INFO";
constexpr std::string_view kRefreshTag = "BRD-RFSH";
constexpr std::size_t kReportSize = 18;
constexpr std::size_t kRefreshSize = 10;

void Require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

bool Tagged(std::span<const std::uint8_t> bytes, std::string_view tag) {
    return bytes.size() >= tag.size() && std::equal(tag.begin(), tag.end(), bytes.begin());
}

struct Heard {
    std::uint32_t cookie;
    std::uint16_t board;
    std::int32_t type;
    std::vector<std::uint8_t> data;
};

class Sink final : public com::Object<control::IBoardNotifySink> {
  public:
    explicit Sink(std::vector<Heard>& heard) : m_heard(heard) {}
    control::HRESULT Notify(std::uint32_t cookie, std::uint16_t board, std::int32_t type,
                            std::int32_t dataLength, const std::uint8_t* data, std::int32_t,
                            std::int32_t, std::int32_t, std::int32_t) override {
        Require(dataLength >= 0 && (dataLength == 0 || data != nullptr));
        m_heard.push_back(
            {cookie, board, type, std::vector<std::uint8_t>(data, data + dataLength)});
        return com::S_OK;
    }

  private:
    std::vector<Heard>& m_heard;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t boards = data[0] % 64;
    std::span<const std::uint8_t> rest(data + 1, size - 1);

    fw::TheMessageQueue().Clear();
    auto hub = std::make_shared<control::BoardStatusHub>(std::vector<control::BoardRecord>(boards));
    std::vector<Heard> heard;
    const com::ComPtr<Sink> sink(new Sink(heard));
    std::uint32_t cookie = 0;
    Require(hub->Advise(sink.Get(), control::kAllBoards, control::kNotifyRemapInfo, cookie) ==
            com::S_OK);

    struct Expected {
        control::BoardRecord record{};
        std::uint32_t count = 0;
    };
    std::vector<Expected> expected(boards);
    while (!rest.empty()) {
        const std::size_t length = std::min<std::size_t>(rest[0], rest.size() - 1);
        const auto datagram = rest.subspan(1, length);
        rest = rest.subspan(1 + length);

        const bool isReport = datagram.size() == kReportSize && Tagged(datagram, kReportTag);
        const auto report = control::DecodeBoardReport(datagram);
        Require(report.has_value() == isReport);
        if (report) {
            Require(report->board == ((datagram[8] << 8) | datagram[9]));
            Require(std::equal(report->record.begin(), report->record.end(), datagram.begin() + 10,
                               datagram.end()));
            const auto encoded = control::EncodeBoardReport(*report);
            Require(std::equal(encoded.begin(), encoded.end(), datagram.begin(), datagram.end()));
            // What the board network hands the server for a report (System::ConnectBoardNetwork).
            hub->AcceptBoardReport(report->board, report->record);
            heard.clear();
            fw::PumpWaitingMessages();
            if (report->board < boards) {
                expected[report->board].record = report->record;
                ++expected[report->board].count;
                Require(heard.size() == 1 && heard[0].cookie == cookie &&
                        heard[0].board == report->board &&
                        heard[0].type == control::kNotifyRemapInfo &&
                        std::equal(heard[0].data.begin(), heard[0].data.end(),
                                   report->record.begin(), report->record.end()));
            } else {
                Require(heard.empty());  // a board the server does not have reports nothing
            }
        }

        const bool looksLikeRefresh = Tagged(datagram, kRefreshTag);
        Require(control::LooksLikeRefreshRequest(datagram) == looksLikeRefresh);
        const auto refresh = control::DecodeRefreshRequest(datagram);
        Require(refresh.has_value() == (looksLikeRefresh && datagram.size() == kRefreshSize));
        Require(!(refresh && report));
        if (refresh) {
            Require(*refresh == ((datagram[8] << 8) | datagram[9]));
            const auto encoded = control::EncodeRefreshRequest(
                *refresh == control::kRefreshAllBoards ? -1 : *refresh);
            Require(std::equal(encoded.begin(), encoded.end(), datagram.begin(), datagram.end()));
        }
    }

    for (std::size_t board = 0; board < boards + 2; ++board) {
        control::BoardStatusHub::Status status;
        const bool known = hub->Get(static_cast<std::uint16_t>(board), status);
        Require(known == (board < boards));
        if (known) {
            Require(status.record == expected[board].record &&
                    status.reportCount == expected[board].count &&
                    status.reported == (expected[board].count > 0));
        }
    }
    Require(hub->Unadvise(control::kAllBoards16, cookie) == com::S_OK);
    hub->ReleaseAll();
    return 0;
}
