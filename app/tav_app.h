// The application object: start-up, the connection to the control system's components, the
// configuration it reads, error reporting, the menu commands, and shutdown.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/sinks.h"
#include "app/wait_dlg.h"
#include "platform/com/com_ptr.h"
#include "platform/control/interfaces.h"
#include "platform/control/socket_thread.h"
#include "platform/fw/app.h"
#include "platform/fw/named_mutex.h"
#include "records/io_type.h"
#include "records/switcher_level.h"

class CTavDlg;

// Posted to the main window when the configuration set starts changing.
inline constexpr fw::UINT WM_CONFIGSET_CHANGING = fw::WM_APP + 1;

class CTavApp : public fw::CWinApp {
  public:
    explicit CTavApp(std::string appTitle = "tavora");
    ~CTavApp() override;

    fw::BOOL InitInstance() override;
    int ExitInstance() override;

    // The process's start-up created the single-instance marker itself, before the control
    // system started, and holds it until everything has stopped: CheckSingleInstance then judges
    // that creation instead of making its own (which the process's own marker would refuse).
    void MarkerCreatedAtStart(bool created, fw::DWORD lastError);

    // Start-up steps.
    int CheckSingleInstance();
    fw::BOOL SetupSocket();
    void CloseWaitDialog();
    void FreeConfiguration();
    fw::BOOL ConnectComponents();
    fw::BOOL LoadLevelList();
    void ReleaseComponents();

    // Shows the error dialog for a failed component call; the component named is the one of the
    // current error context.
    void ReportError(com::HRESULT hr, const char* sourceFile, int line);

    // Configuration.
    short GetLevelCount() const { return m_nLevelCount; }
    std::uint16_t GetActiveSetCrc() const { return m_wActiveSetCrc; }
    std::uint16_t GetBoardCount() const { return m_wBoardCount; }
    BoardInfo* GetBoardInfo(std::uint16_t board);
    const std::vector<std::unique_ptr<CSwitcherLevel>>& GetLevels() const { return m_arrLevels; }

    // Component accessors: each names its component as the context of the next error report.
    control::ISwitcherDescTable* GetSwitcherDescTable();
    control::INetworkDescTable* GetNetworkDescTable();
    control::ICorvaneRegistry* GetRegistry();
    control::IFileAccess* GetFileAccess();
    control::IVexelDevicesTable* GetDevicesTable();
    control::IBoardStatus* GetBoardStatus();
    control::IBoardStatusEx* GetBoardStatusEx();
    com::IUnknown* GetBoardNotifySink();
    control::SocketThread* GetSocketThread() const { return m_pSocketThread.get(); }
    CTavDlg* GetMainDlg() const;

    // View > System Definition, also the Yes to the start-up question: the System Definition
    // dialog, and the table saved when it was accepted.
    void OnSystemDefinition();
    // Help > About, also the main window's system menu.
    void OnAppAbout();

    int m_nErrorContext = 0;
    com::HRESULT m_hrLast = com::S_OK;
    std::uint16_t m_wRebootPort = 0;

  private:
    // Menu commands.
    void OnSelectRemapTable();
    void OnSaveRemapTableAs();
    void OnPrintRemapTable();
    void OnViewInputRemapTable();
    void OnViewOutputRemapTable();
    // The remap table view of io, the main dialog's Close button off while it is open.
    void RunRemapTableView(IoType io);
    void OnFilePrintSetupCommand();
    void OnHelpCommand();

    fw::BOOL FailConnect();
    // The two halves of ConnectComponents: the active set and the tables, then the board status,
    // the notification sinks, File Access and the registration with the Control Center.
    fw::BOOL ConnectTables();
    fw::BOOL ConnectStatusAndFiles();

    std::unique_ptr<fw::NamedMutex> m_hMutex;
    struct MarkerCreation {
        bool created = false;
        fw::DWORD lastError = 0;
    };
    std::optional<MarkerCreation> m_markerAtStart;
    std::unique_ptr<CWaitDlg> m_pWaitDlg;
    std::unique_ptr<control::SocketThread> m_pSocketThread;

    std::vector<std::unique_ptr<CSwitcherLevel>> m_arrLevels;
    short m_nLevelCount = 0;
    std::uint16_t m_wActiveSetCrc = 0;
    std::uint16_t m_wBoardCount = 0;
    std::vector<BoardInfo> m_pBoardInfo;

    com::ComPtr<control::IControlCenter> m_pControlCenter;
    com::ComPtr<control::IVexelDevicesTable> m_pDevicesTable;
    com::ComPtr<control::ISwitcherInputTable> m_pInputTable;
    com::ComPtr<control::ISwitcherOutputTable> m_pOutputTable;
    com::ComPtr<control::ICorvaneRegistry> m_pRegistry;
    com::ComPtr<control::INetworkDescTable> m_pNetworkDescTable;
    com::ComPtr<control::ISwitcherDescTable> m_pSwitcherDescTable;
    com::ComPtr<control::IPathFinding> m_pPathFinding;
    com::ComPtr<control::IBoardStatus> m_pBoardStatus;
    com::ComPtr<control::IBoardStatusEx> m_pBoardStatusEx;
    com::ComPtr<CBoardNotifySink> m_pBoardNotifySink;
    com::ComPtr<CRouterNotifySink> m_pRouterNotifySink;
    com::ComPtr<control::IFileAccess> m_pFileAccess;
    com::ComPtr<CControlCenterSink> m_pControlCenterSink;
    std::uint32_t m_dwControlCenterCookie = 0;

    // Which interface an error context names, for the component's own description.
    com::IUnknown* ComponentOfContext(int context) const;
};

// The one application object, through the framework's global application pointer.
CTavApp* GetTavApp();

// Turns a File Access open failure code into its message box.
void ShowFileOpenError(std::uint16_t code);
