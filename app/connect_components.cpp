// The connection to the control system's components, the level list and the release.
#include <cstring>

#include "app/tav_app.h"
#include "platform/com/runtime.h"
#include "platform/com/task_memory.h"
#include "res/resource.h"

namespace {

constexpr char kClientName[] = "Tavora";

template <class I>
com::HRESULT Create(const com::CLSID& clsid, com::ComPtr<I>& into) {
    return com::CoCreateInstance(clsid, nullptr, com::CLSCTX_LOCAL_SERVER, I::kIid,
                                 into.ReleaseAndGetVoidAddressOf());
}

}  // namespace

fw::BOOL CTavApp::FailConnect() {
    ReleaseComponents();
    return fw::FALSE;
}

fw::BOOL CTavApp::ConnectComponents() {
    return ConnectTables() && ConnectStatusAndFiles() ? fw::TRUE : fw::FALSE;
}

fw::BOOL CTavApp::ConnectTables() {
    using namespace control;
    m_hrLast = com::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, com::RPC_C_AUTHN_LEVEL_NONE,
                                         com::RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, 0, nullptr);
    if (com::FAILED(m_hrLast)) {
        return fw::FALSE;
    }

    m_nErrorContext = IDS_ERR_CONTROL_CENTER;
    if (m_hrLast = Create(CLSID_ControlCenter, m_pControlCenter); com::FAILED(m_hrLast)) {
        return FailConnect();
    }
    std::uint8_t hasActiveSet = 0;
    if (m_hrLast = m_pControlCenter->HasActiveSet(&hasActiveSet); com::FAILED(m_hrLast)) {
        return FailConnect();
    }
    if (hasActiveSet == 0) {
        EndWaitCursor();
        ReleaseComponents();
        fw::AfxMessageBox("You can't run Tavora until you have an active set.");
        return fw::FALSE;
    }

    com::ComPtr<IActiveSetCrc> crc;
    if (m_hrLast = Create(CLSID_ActiveSetCrc, crc); com::FAILED(m_hrLast)) {
        EndWaitCursor();
        ReleaseComponents();
        fw::AfxMessageBox("Couldn't get the CRC of the active set.");
        return fw::FALSE;
    }
    m_wActiveSetCrc = 0xFFFF;
    if (m_hrLast = crc->GetCrc(&m_wActiveSetCrc); com::FAILED(m_hrLast)) {
        m_wActiveSetCrc = 0xFFFF;
        crc.Reset();
        EndWaitCursor();
        ReleaseComponents();
        fw::AfxMessageBox("Couldn't get the CRC of the active set.");
        return fw::FALSE;
    }

    m_nErrorContext = IDS_ERR_DEVICES;
    m_hrLast = Create(CLSID_VexelDevicesTable, m_pDevicesTable);
    crc.Reset();
    if (com::FAILED(m_hrLast)) {
        return FailConnect();
    }
    struct Step {
        int context;
        std::function<com::HRESULT()> create;
    };
    const Step steps[] = {
        {IDS_ERR_SWITCHER_INPUT, [&] { return Create(CLSID_SwitcherInputTable, m_pInputTable); }},
        {IDS_ERR_SWITCHER_OUTPUT,
         [&] { return Create(CLSID_SwitcherOutputTable, m_pOutputTable); }},
        {IDS_ERR_REGISTRY, [&] { return Create(CLSID_CorvaneRegistry, m_pRegistry); }},
        {IDS_ERR_NETWORK_DESC, [&] { return Create(CLSID_NetworkDescTable, m_pNetworkDescTable); }},
        {IDS_ERR_SWITCHER_DESC,
         [&] { return Create(CLSID_SwitcherDescTable, m_pSwitcherDescTable); }},
        {IDS_ERR_PATH_FINDING, [&] { return Create(CLSID_PathFinding, m_pPathFinding); }},
    };
    for (const auto& step : steps) {
        m_nErrorContext = step.context;
        if (m_hrLast = step.create(); com::FAILED(m_hrLast)) {
            return FailConnect();
        }
    }
    return fw::TRUE;
}

fw::BOOL CTavApp::ConnectStatusAndFiles() {
    using namespace control;
    m_nErrorContext = IDS_ERR_BOARD_STATUS;
    if (m_hrLast = Create(CLSID_BoardStatusServer, m_pBoardStatus); com::FAILED(m_hrLast)) {
        return FailConnect();
    }
    if (m_hrLast = m_pBoardStatus.As(m_pBoardStatusEx); com::FAILED(m_hrLast)) {
        return FailConnect();
    }

    m_nErrorContext = IDS_ERR_BOARD_NOTIFY;
    m_pBoardNotifySink = com::ComPtr<CBoardNotifySink>(new (std::nothrow) CBoardNotifySink(this));
    if (!m_pBoardNotifySink) {
        m_hrLast = com::E_OUTOFMEMORY;
        return FailConnect();
    }
    m_nErrorContext = IDS_ERR_ROUTER_NOTIFY;
    m_pRouterNotifySink =
        com::ComPtr<CRouterNotifySink>(new (std::nothrow) CRouterNotifySink(this));
    if (!m_pRouterNotifySink) {
        m_hrLast = com::E_OUTOFMEMORY;
        return FailConnect();
    }

    m_nErrorContext = IDS_ERR_FILE_ACCESS;
    if (m_hrLast = Create(CLSID_FileAccess, m_pFileAccess); com::FAILED(m_hrLast)) {
        return FailConnect();
    }

    m_nErrorContext = IDS_ERR_CONTROL_CENTER;
    m_pControlCenterSink = com::ComPtr<CControlCenterSink>(new (std::nothrow) CControlCenterSink());
    if (!m_pControlCenterSink) {
        m_hrLast = com::E_OUTOFMEMORY;
        return FailConnect();
    }
    m_hrLast = m_pControlCenter->Register(m_pControlCenterSink.Get(),
                                          static_cast<std::int32_t>(std::strlen(kClientName)),
                                          kClientName, &m_dwControlCenterCookie);
    if (com::FAILED(m_hrLast)) {
        return FailConnect();
    }

    m_nErrorContext = IDS_ERR_NETWORK_DESC;
    if (m_hrLast = m_pNetworkDescTable->GetNetworkBoardCount(&m_wBoardCount);
        com::FAILED(m_hrLast)) {
        m_wBoardCount = 0;
        return FailConnect();
    }
    if (m_wBoardCount != 0) {
        m_pBoardInfo.assign(m_wBoardCount, BoardInfo{});
    }
    return fw::TRUE;
}

fw::BOOL CTavApp::LoadLevelList() {
    auto fail = [this](int line) {
        ReportError(m_hrLast, "TAV", line);
        return fw::FALSE;
    };
    control::ISwitcherDescTable* table = GetSwitcherDescTable();
    if (table == nullptr) {
        return fw::FALSE;
    }
    if (m_hrLast = table->GetCount(&m_nLevelCount); com::FAILED(m_hrLast)) {
        return fail(__LINE__);
    }
    for (std::int32_t i = 0; i < m_nLevelCount; ++i) {
        const auto index = static_cast<std::uint16_t>(i);
        std::int32_t ignored = 0;
        char* switcher = nullptr;
        if (m_hrLast = GetSwitcherDescTable()->GetSwitcherName(index, &ignored, &switcher);
            com::FAILED(m_hrLast)) {
            return fail(__LINE__);
        }
        // Owned from here on, so that a failure further down frees the name it already has.
        const std::unique_ptr<char, void (*)(void*)> switcherName(switcher, com::CoTaskMemFree);
        char* level = nullptr;
        if (m_hrLast = GetSwitcherDescTable()->GetLevelName(index, &ignored, &level);
            com::FAILED(m_hrLast)) {
            return fail(__LINE__);
        }
        const std::unique_ptr<char, void (*)(void*)> levelName(level, com::CoTaskMemFree);
        std::int32_t inputs = 0;
        if (m_hrLast = GetSwitcherDescTable()->GetInputCount(index, &inputs);
            com::FAILED(m_hrLast)) {
            return fail(__LINE__);
        }
        std::int32_t outputs = 0;
        if (m_hrLast = GetSwitcherDescTable()->GetOutputCount(index, &outputs);
            com::FAILED(m_hrLast)) {
            return fail(__LINE__);
        }
        m_arrLevels.push_back(std::make_unique<CSwitcherLevel>(switcher != nullptr ? switcher : "",
                                                               level != nullptr ? level : "", i,
                                                               inputs, outputs));
    }
    return fw::TRUE;
}

void CTavApp::ReleaseComponents() {
    // The sinks may outlive this object inside a component; they must not call back into it.
    if (m_pBoardNotifySink) {
        m_pBoardNotifySink->SetOwner(nullptr);
    }
    if (m_pRouterNotifySink) {
        m_pRouterNotifySink->SetOwner(nullptr);
    }
    m_pDevicesTable.Reset();
    m_pInputTable.Reset();
    m_pOutputTable.Reset();
    m_pSwitcherDescTable.Reset();
    m_pRegistry.Reset();
    m_pNetworkDescTable.Reset();
    m_pPathFinding.Reset();
    m_pRouterNotifySink.Reset();
    m_pBoardStatus.Reset();
    m_pBoardStatusEx.Reset();
    m_pBoardNotifySink.Reset();
    m_pFileAccess.Reset();
    if (m_pControlCenter) {
        if (m_dwControlCenterCookie != 0) {
            m_pControlCenter->Unregister(m_dwControlCenterCookie);
            m_dwControlCenterCookie = 0;
        }
        m_pControlCenter.Reset();
    }
    m_pControlCenterSink.Reset();
}

control::ISwitcherDescTable* CTavApp::GetSwitcherDescTable() {
    m_nErrorContext = IDS_ERR_SWITCHER_DESC;
    return m_pSwitcherDescTable.Get();
}

control::IVexelDevicesTable* CTavApp::GetDevicesTable() {
    m_nErrorContext = IDS_ERR_DEVICES;
    return m_pDevicesTable.Get();
}

control::IFileAccess* CTavApp::GetFileAccess() {
    m_nErrorContext = IDS_ERR_FILE_ACCESS;
    return m_pFileAccess.Get();
}

control::ICorvaneRegistry* CTavApp::GetRegistry() {
    m_nErrorContext = IDS_ERR_REGISTRY;
    return m_pRegistry.Get();
}

control::INetworkDescTable* CTavApp::GetNetworkDescTable() {
    m_nErrorContext = IDS_ERR_NETWORK_DESC;
    return m_pNetworkDescTable.Get();
}

control::IBoardStatus* CTavApp::GetBoardStatus() {
    m_nErrorContext = IDS_ERR_BOARD_STATUS;
    return m_pBoardStatus.Get();
}

control::IBoardStatusEx* CTavApp::GetBoardStatusEx() {
    m_nErrorContext = IDS_ERR_BOARD_STATUS;
    return m_pBoardStatusEx.Get();
}

com::IUnknown* CTavApp::GetBoardNotifySink() {
    m_nErrorContext = IDS_ERR_BOARD_NOTIFY;
    return m_pBoardNotifySink.Get();
}

com::IUnknown* CTavApp::ComponentOfContext(int context) const {
    switch (context) {
        case IDS_ERR_SWITCHER_DESC:
            return m_pSwitcherDescTable.Get();
        case IDS_ERR_SWITCHER_INPUT:
            return m_pInputTable.Get();
        case IDS_ERR_SWITCHER_OUTPUT:
            return m_pOutputTable.Get();
        case IDS_ERR_DEVICES:
            return m_pDevicesTable.Get();
        case IDS_ERR_PATH_FINDING:
            return m_pPathFinding.Get();
        case IDS_ERR_ROUTER_NOTIFY:
            return m_pRouterNotifySink.Get();
        case IDS_ERR_FILE_ACCESS:
            return m_pFileAccess.Get();
        case IDS_ERR_REGISTRY:
            return m_pRegistry.Get();
        case IDS_ERR_NETWORK_DESC:
            return m_pNetworkDescTable.Get();
        case IDS_ERR_BOARD_STATUS:
            return m_pBoardStatus.Get();
        case IDS_ERR_BOARD_NOTIFY:
            return m_pBoardNotifySink.Get();
        default:
            return nullptr;
    }
}
