// The main remap dialog: the program's main window and the owner of the data the program works
// on.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "files/tav_file.h"
#include "platform/fw/dialog.h"
#include "remap/remap_entry.h"
#include "sysdef/sysdef_record.h"

class CTavDlg : public fw::CDialog {
  public:
    CTavDlg();
    ~CTavDlg() override;

    // Frees what the dialog holds once it has ended.
    void ReleaseData();
    void EnableCloseButton(fw::BOOL on);

    void FillSwitcherList();
    void FillLevelList();

    bool IsConfigChanging() const { return m_bConfigChanging; }
    std::int32_t GetBoardStatusCookie() const { return m_nBoardStatusCookie; }
    void UpdateTitle();

    // The System Definition Table and its file "TAV.SDF".
    int LoadSysDefTable();
    int IsSysDefTableCurrent();
    void FreeSysDefTable(std::unique_ptr<SysDefTable>& table);
    void SaveSysDefTable();
    void SetSysDefTable(std::unique_ptr<SysDefTable> table);
    SysDefTable* GetSysDefTable() const { return m_pSysDefTable.get(); }

    // The remap tables and their files.
    fw::BOOL OpenRemapTableFile(int io, fw::BOOL rewrite, fw::BOOL useDefaultName,
                                const std::string& name);
    void CloseRemapTableFile();
    fw::BOOL LoadRemapTable(int io);
    fw::BOOL ReadRemapTableFile(int io);
    fw::BOOL VerifyRemapTable(int io);
    void ClearRemapTable(int io);
    void AppendRemapLine();
    void WriteRemapTableFile(int io);
    fw::BOOL SaveRemapTableAs(int io, std::uint32_t file);
    fw::BOOL SelectRemapTable(int io, const std::string& name);
    // A default table file that could not be used at start: copied aside, replaced by an empty
    // table, the operator told.
    void SetAsideUnusableTable(int io);
    int CountRemappedPorts(int io) const;
    std::unique_ptr<CRemapEntry> CopyRemapEntry(const CRemapEntry& entry, int origFirst,
                                                int origLast, int newFirst, int newLast) const;
    // The field reader of the table file lines: the next comma-separated field from position.
    static bool GetNextField(const std::string& line, std::size_t& position, std::string& field);

    std::unique_ptr<RemapTable>& Table(int io) {
        return io == 1 ? m_pOutputRemapTable : m_pInputRemapTable;
    }
    const std::string& TableFile(int io) const {
        return io == 1 ? m_strOutputTableFile : m_strInputTableFile;
    }
    CTavFile* GetRemapFile() const { return m_pRemapFile.get(); }
    // The remap being set up in the dialog: original first and last, new first and last.
    void GetRemapNumbers(int& origFirst, int& origLast, int& newFirst, int& newLast);
    int GetOriginalNumber() const;
    int GetNewNumber() const;
    void GetOriginalRange(int& first, int& last) const;
    void GetNewRange(int& first, int& last) const;

  protected:
    int OnCreate() override;
    fw::BOOL OnInitDialog() override;
    void OnSysCommand(fw::UINT id, fw::LPARAM lParam) override;

  private:
    void OnSelchangeSwitcher();
    void OnCloseButton();
    fw::LRESULT OnConfigSetChanging(fw::WPARAM wParam, fw::LPARAM lParam);
    fw::LRESULT OnIgnoredAppMessage(fw::WPARAM wParam, fw::LPARAM lParam);
    void RegisterForBoardNotifications();

    void LoadSystemDefinitionAtStart();
    void LoadTablesAtStart();
    bool RemapTableFileExists(const std::string& name);
    std::string GetComment() const;

    fw::CStatusBar m_wndStatusBar;
    int m_nIOType = 2;
    int m_nRangeMode = 2;

    std::unique_ptr<SysDefTable> m_pSysDefTable;
    int m_nSysDefCount = 0;
    int m_nSysDefRow = -1;
    SysDefRecord* m_pSysDefRecord = nullptr;

    std::unique_ptr<RemapTable> m_pInputRemapTable;
    std::unique_ptr<RemapTable> m_pOutputRemapTable;
    std::string m_strInputTableFile;
    std::string m_strOutputTableFile;
    std::unique_ptr<CTavFile> m_pRemapFile;
    bool m_bConfigChanging = false;
    std::int32_t m_nBoardStatusCookie = -1;
};
