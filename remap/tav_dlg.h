// The main remap dialog: the program's main window and the owner of the data the program works
// on.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "audit_events/audit_events.h"
#include "boards/remap_data.h"
#include "records/notify_result.h"

#include "files/known_files.h"
#include "files/tav_file.h"
#include "platform/fw/dialog.h"
#include "records/io_type.h"
#include "records/remap_entry.h"
#include "records/sysdef_record.h"

class CTavDlg : public fw::CDialog {
  public:
    CTavDlg();
    ~CTavDlg() override;

    // Frees what the dialog holds once it has ended.
    void ReleaseData();
    void EnableCloseButton(fw::BOOL on);

    void FillSwitcherList();
    void FillLevelList();
    void FillNewNumberList();
    void FillNewRangeList();
    void FillOriginalRangeList();
    // The row of the selected switcher and level in the System Definition Table; -1 when none.
    int FindSysDefRow();
    // Refreshes the lists drawn from the System Definition Table after it has changed.
    void RefillIdleLists();
    // Enables and refills the controls for the chosen I/O type and range mode.
    void UpdateControls();
    // Empties the remap just made, so the next one starts from nothing.
    void ResetRemapFields();
    // Whether the numbers or ranges set up can be remapped; tells the operator why not only when
    // showMessages is set.
    bool CheckRemapInput(bool showMessages);

    bool IsConfigChanging() const { return m_bConfigChanging; }
    std::int32_t GetBoardStatusCookie() const { return m_nBoardStatusCookie; }
    void UpdateTitle();

    // The System Definition Table and its file "TAV.SDF".
    // 1 when the table was read, 0 when there is no file, -1 when the file could not be opened or
    // read (the operator has been told).
    int LoadSysDefTable();
    int IsSysDefTableCurrent();
    void FreeSysDefTable(std::unique_ptr<SysDefTable>& table);
    void SaveSysDefTable();
    void SetSysDefTable(std::unique_ptr<SysDefTable> table);
    SysDefTable* GetSysDefTable() const { return m_pSysDefTable.get(); }
    // After the System Definition dialog, whatever its end: the lists and the status bar follow
    // the table held, which the dialog may have changed in place even when it was cancelled.
    void FollowSysDefTable();

    // The remap tables and their files.
    fw::BOOL OpenRemapTableFile(IoType io, fw::BOOL rewrite, fw::BOOL useDefaultName,
                                const std::string& name);
    void CloseRemapTableFile();
    fw::BOOL LoadRemapTable(IoType io);
    fw::BOOL ReadRemapTableFile(IoType io);
    fw::BOOL VerifyRemapTable(IoType io);
    void ClearRemapTable(IoType io);
    void AppendRemapLine();
    void WriteRemapTableFile(IoType io);
    fw::BOOL SaveRemapTableAs(IoType io, std::uint32_t file);
    fw::BOOL SelectRemapTable(IoType io, const std::string& name);
    // A default table file that could not be used at start: copied aside, replaced by an empty
    // table, the operator told. One that cannot be copied aside is held as it is.
    void SetAsideUnusableTable(IoType io);
    void KeepUnreadableTable(IoType io);
    // Whether a change of I/O type io may rewrite its table file; a held file is copied aside
    // first, or the change refused with the operator told what to do.
    bool MayRewriteTable(IoType io);
    bool IsTableHeld(IoType io) const { return m_bTableHeld[IoSlot(io)]; }
    int CountRemappedPorts(IoType io) const;
    std::unique_ptr<CRemapEntry> CopyRemapEntry(const CRemapEntry& entry, int origFirst,
                                                int origLast, int newFirst, int newLast) const;
    // Printing a remap table (views/remap_print.cpp).
    void PrintRemapTable(IoType nIOType);
    std::string FormatRemapPrintLine(IoType nIOType, int nEntry, int k) const;

    // The field reader of the table file lines: the next comma-separated field from position.
    static bool GetNextField(const std::string& line, std::size_t& position, std::string& field);

    // The remap table of I/O type io (output, else input), null when none is loaded, and the
    // name of its file.
    std::unique_ptr<RemapTable>& Table(IoType io) {
        return io == IoType::Output ? m_pOutputRemapTable : m_pInputRemapTable;
    }
    const RemapTable* Table(IoType io) const {
        return (io == IoType::Output ? m_pOutputRemapTable : m_pInputRemapTable).get();
    }
    const std::string& TableFile(IoType io) const {
        return io == IoType::Output ? m_strOutputTableFile : m_strInputTableFile;
    }
    CTavFile* GetRemapFile() const { return m_pRemapFile.get(); }
    // What this workstation last saw of the files it shares with other workstations.
    CKnownFiles& KnownFiles() { return m_knownFiles; }
    // The remap being set up in the dialog: original first and last, new first and last.
    void GetRemapNumbers(int& origFirst, int& origLast, int& newFirst, int& newLast);
    int GetOriginalNumber() const;
    int GetNewNumber() const;
    void GetOriginalRange(int& first, int& last) const;
    void GetNewRange(int& first, int& last) const;

    // Checks of a remap before it is applied, and the walk over the remaps it clashes with.
    fw::BOOL CheckRemapLimit(IoType nIOType, int nLimit);
    fw::BOOL CheckRemapConflicts();

    // Board notification: the RE-MAP message to the router boards and their confirmations.
    fw::BOOL NotifyBoards(IoType nIOType, fw::BOOL bTableUpdated);
    fw::BOOL ReadRebootPort();
    // The Board Status Server's count of datagrams it refused at its status port; nothing (after
    // the error report) when it cannot be read.
    std::optional<std::uint32_t> RefusedReportCount();
    fw::BOOL SendRemapData(IoType nIOType, fw::BOOL bTableUpdated);
    fw::BOOL BuildNotifyRowList(IoType nIOType, fw::BOOL bTableUpdated);
    fw::BOOL BuildBoardList();
    // Writes exactly dest.size() bytes of remap data; fails when the data would not fill dest.
    fw::BOOL BuildRemapEntries(std::span<std::uint8_t> dest, IoType nIOType,
                               fw::BOOL bTableUpdated);
    fw::BOOL BuildRemapHeader(IoType nIOType, std::uint8_t* pDest, std::uint16_t wCrc);
    const std::vector<unsigned>& NotifyRows() const { return m_pNotifyRows; }
    // Rows of table io whose boards may still hold entries: the rows of the table loaded at start,
    // then the rows each message sent carried entries for (and, while not every board confirmed,
    // the rows in force before it). Every notification names them, so that a row which lost its
    // last entry has its board told so.
    const std::vector<unsigned>& RowsInForce(IoType io) const {
        return m_arrRowsInForce[IoSlot(io)];
    }
    const std::vector<boards::NotifyBoard>& NotifyBoardList() const { return m_arrNotifyBoards; }
    // Board by board, how the latest notification ended.
    const boards::NotifyResult& LastNotification() const { return m_lastNotification; }
    fw::BOOL BoardsResponded() const { return m_bBoardsResponded; }
    int RemapCount() const { return m_nRemapCount; }

    // The Remap button, and the entry it adds to the table of the current I/O type.
    void OnRemap();
    void AddRemapEntry();
    // The audit trail's account of the remap in the dialog, before it ends.
    AuditChange RemapAuditChange();
    // After the boards were told: the remap recorded in the table and its file, as far as it went
    // out; a failed write adds an audit event of its own.
    void RecordRemap(fw::BOOL notified, AuditChange& change);

    // After the remap table view changed table io: the boards, then the file. False when the
    // boards were not told (the table is then back as KeepTableBeforeChange kept it) or the file
    // was not written. change, when given, is recorded in the audit trail with how it ended.
    fw::BOOL CommitTableChange(IoType io, fw::BOOL confirm, AuditChange* change = nullptr);
    // Keeps a copy of table io as it is, before a change the boards have yet to be told of.
    void KeepTableBeforeChange(IoType io);

  protected:
    int OnCreate() override;
    fw::BOOL OnInitDialog() override;
    void OnSysCommand(fw::UINT id, fw::LPARAM lParam) override;

  private:
    void OnInput();
    void OnOutput();
    void ChooseIOType(IoType io);
    void OnSelchangeSwitcher();
    void OnSelchangeLevel();
    void OnSingle();
    void OnWholeBoard();
    void OnChangeOriginalNumber();
    void OnSelchangeNewNumber();
    void OnSelchangeOriginalRange();
    void OnSelchangeNewRange();
    // The Remap button follows the quiet input check.
    void EnableRemapFromCheck();
    // The physical port count and board size of the chosen I/O type in the selected row.
    int PortCount() const;
    int BoardSize() const;
    // Whether first..last reaches outside the ports of the selected level (or no level is
    // selected), and whether the typed original number does: past the level's last port, or
    // outside the int range either way.
    bool IsPastLevel(std::int64_t first, std::int64_t last) const;
    bool IsOriginalNumberOutOfRange() const;
    void OnCloseButton();
    fw::LRESULT OnConfigSetChanging(fw::WPARAM wParam, fw::LPARAM lParam);
    fw::LRESULT OnIgnoredAppMessage(fw::WPARAM wParam, fw::LPARAM lParam);
    void RegisterForBoardNotifications();

    // The boards could not be told of a change: table io goes back to the copy kept before it
    // (when one was), and with tell the operator hears so.
    void UndoTableChange(IoType io, bool tell);

    void LoadSystemDefinitionAtStart();
    // Without a System Definition Table INPUT and OUTPUT do nothing: the status bar says why.
    void ShowSysDefStatus();
    void LoadTablesAtStart();
    bool RemapTableFileExists(const std::string& name);
    std::string GetComment() const;
    void HoldTable(IoType io, bool namesTaken, const std::string& what);
    void SetTableFile(IoType io, std::string name) {
        (io == IoType::Output ? m_strOutputTableFile : m_strInputTableFile) = std::move(name);
    }

    fw::CStatusBar m_wndStatusBar;
    IoType m_nIOType = IoType::None;
    int m_nRangeMode = 2;

    std::unique_ptr<SysDefTable> m_pSysDefTable;
    int m_nSysDefCount = 0;
    int m_nSysDefRow = -1;
    SysDefRecord* m_pSysDefRecord = nullptr;
    bool m_bClearingOriginal = false;

    std::unique_ptr<RemapTable> m_pInputRemapTable;
    std::unique_ptr<RemapTable> m_pOutputRemapTable;
    std::string m_strInputTableFile;
    std::string m_strOutputTableFile;
    std::unique_ptr<CTavFile> m_pRemapFile;
    // A default table file of this I/O type could not be used at start nor copied aside: it is
    // kept as it is, and nothing may rewrite it.
    std::array<bool, 2> m_bTableHeld{};
    CKnownFiles m_knownFiles;
    bool m_bConfigChanging = false;
    // The whole configured level list was read when the dialog opened; without it nothing read
    // from a file can be checked against the configuration.
    bool m_bLevelListRead = false;
    std::int32_t m_nBoardStatusCookie = -1;

    // Remap checks and board notification.
    int m_nRemapCount = 0;
    bool m_bReplacedInPlace = false;
    fw::BOOL m_bBoardsResponded = fw::FALSE;
    std::uint16_t m_wRebootPort = 0;
    std::vector<unsigned> m_pNotifyRows;
    std::array<std::vector<unsigned>, 2> m_arrRowsInForce;
    // Per I/O type, the table before a change not yet told to the boards (null: it had none).
    std::array<std::optional<std::unique_ptr<RemapTable>>, 2> m_arrTableBefore;
    std::uint16_t m_wNotifyBoards = 0;
    std::vector<boards::NotifyBoard> m_arrNotifyBoards;
    boards::NotifyResult m_lastNotification;
};
