#include "app/sinks.h"

#include "app/tav_app.h"
#include "platform/fw/message_queue.h"

com::HRESULT CBoardNotifySink::Notify(std::uint32_t /*cookie*/, std::uint16_t board,
                                      std::int32_t type, std::int32_t /*dataLength*/,
                                      const std::uint8_t* data, std::int32_t, std::int32_t,
                                      std::int32_t, std::int32_t) {
    if (m_pOwner == nullptr) {
        return com::E_FAIL;
    }
    switch (type) {
        case 8:
            if (BoardInfo* info = m_pOwner->GetBoardInfo(board);
                info != nullptr && data != nullptr) {
                std::copy(data, data + info->size(), info->begin());
            }
            return com::S_OK;
        case 1:
        case 2:
        case 4:
        case 16:
        case 32:
            return com::S_OK;
        default:
            return com::E_FAIL;
    }
}

com::HRESULT CRouterNotifySink::Notify(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                       std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                       std::int32_t) {
    return m_pOwner == nullptr ? com::E_FAIL : com::S_OK;
}

com::HRESULT CControlCenterSink::ConfigSetChanging() {
    // With no main window yet (the announcement came during start-up) there is nobody to tell;
    // the start-up's own check of the changing flag covers that moment.
    if (fw::CWinApp* app = fw::AfxGetApp(); app != nullptr && app->m_pMainWnd != nullptr) {
        app->m_pMainWnd->PostMessage(WM_CONFIGSET_CHANGING, 0, 0);
    }
    return com::S_OK;
}
