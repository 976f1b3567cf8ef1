#include <algorithm>
#include <string>

#include "platform/control/component.h"
#include "platform/control/components.h"

namespace control {

namespace {

class BoardStatusServer final : public Component<IBoardStatus, IBoardStatusEx> {
  public:
    static constexpr ComponentId kId = ComponentId::BoardStatusServer;
    BoardStatusServer() : Component(kId) {}

    HRESULT Advise(com::IUnknown* sink, std::int32_t board, std::int32_t types,
                   std::uint32_t* cookie) override {
        std::shared_ptr<BoardStatusHub> hub;
        if (const HRESULT hr = Enter("Advise", hub); FAILED(hr)) {
            return hr;
        }
        if (sink == nullptr || cookie == nullptr) {
            return m_core.Fail(com::E_POINTER, "Advise: a sink and a cookie place are needed");
        }
        if (board != kAllBoards &&
            (board < 0 || static_cast<std::size_t>(board) >= hub->BoardCount())) {
            return m_core.Fail(com::E_INVALIDARG, BoardOutOfRange("Advise", board, *hub));
        }
        if (types == 0 || (types & ~kKnownNotifyTypes) != 0) {
            return m_core.Fail(com::E_INVALIDARG,
                               "Advise: unknown notification types " + std::to_string(types));
        }
        const HRESULT hr = hub->Advise(sink, board, types, *cookie);
        if (FAILED(hr)) {
            return m_core.Fail(hr, "Advise: the sink does not offer the board notify interface");
        }
        return hr;
    }

    HRESULT Unadvise(std::uint16_t board, std::uint32_t cookie) override {
        std::shared_ptr<BoardStatusHub> hub;
        if (const HRESULT hr = Enter("Unadvise", hub); FAILED(hr)) {
            return hr;
        }
        const HRESULT hr = hub->Unadvise(board, cookie);
        if (FAILED(hr)) {
            return m_core.Fail(hr, "Unadvise: no connection has cookie " + std::to_string(cookie) +
                                       " for board " + std::to_string(board));
        }
        return hr;
    }

    HRESULT GetBoardRemapInfo(std::uint16_t board, std::uint8_t* record, std::uint8_t* reported,
                              std::uint32_t* reportCount) override {
        std::shared_ptr<BoardStatusHub> hub;
        if (const HRESULT hr = Enter("GetBoardRemapInfo", hub); FAILED(hr)) {
            return hr;
        }
        if (record == nullptr) {
            return m_core.Fail(com::E_POINTER, "GetBoardRemapInfo: no place for the record");
        }
        BoardStatusHub::Status status;
        if (!hub->Get(board, status)) {
            return m_core.Fail(com::E_INVALIDARG,
                               BoardOutOfRange("GetBoardRemapInfo", board, *hub));
        }
        std::copy(status.record.begin(), status.record.end(), record);
        if (reported != nullptr) {
            *reported = status.reported ? 1 : 0;
        }
        if (reportCount != nullptr) {
            *reportCount = status.reportCount;
        }
        return com::S_OK;
    }

    HRESULT RetrieveBoardRemapInfo(std::int32_t board) override {
        std::shared_ptr<BoardStatusHub> hub;
        if (const HRESULT hr = Enter("RetrieveBoardRemapInfo", hub); FAILED(hr)) {
            return hr;
        }
        if (board != kAllBoards &&
            (board < 0 || static_cast<std::size_t>(board) >= hub->BoardCount())) {
            return m_core.Fail(com::E_INVALIDARG,
                               BoardOutOfRange("RetrieveBoardRemapInfo", board, *hub));
        }
        hub->Retrieve(board);
        return com::S_OK;
    }

    HRESULT GetRefusedReportCount(std::uint32_t* count) override {
        std::shared_ptr<BoardStatusHub> hub;
        if (const HRESULT hr = Enter("GetRefusedReportCount", hub); FAILED(hr)) {
            return hr;
        }
        if (count == nullptr) {
            return m_core.Fail(com::E_POINTER, "GetRefusedReportCount: no place for the count");
        }
        *count = static_cast<std::uint32_t>(hub->RefusedReportCount());
        return com::S_OK;
    }

  private:
    HRESULT Enter(const char* operation, std::shared_ptr<BoardStatusHub>& hub) {
        if (const HRESULT hr = m_core.Enter(operation); FAILED(hr)) {
            return hr;
        }
        hub = System::Instance().BoardStatus();
        return hub ? com::S_OK : m_core.Fail(com::RPC_E_DISCONNECTED, "the server has shut down");
    }

    static std::string BoardOutOfRange(const char* operation, std::int32_t board,
                                       const BoardStatusHub& hub) {
        return std::string(operation) + ": board " + std::to_string(board) + " out of range (" +
               std::to_string(hub.BoardCount()) + " boards)";
    }
};

}  // namespace

com::HRESULT CreateBoardStatusServer(const com::IID& iid, void** object) {
    return CreateComponent<BoardStatusServer>(iid, object);
}

}  // namespace control
