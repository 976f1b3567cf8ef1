// The program's own chooser for remap table files: save the current table under a name, or
// select a saved table as the working one.
#pragma once

#include <set>
#include <string>

#include "platform/fw/dialog.h"
#include "records/io_type.h"

class CFileDlg : public fw::CDialog {
  public:
    static constexpr int kSave = 0;
    static constexpr int kSelect = 1;

    explicit CFileDlg(int mode, fw::CWnd* parent = nullptr);

    IoType GetType() const { return m_nType; }

  protected:
    void DoDataExchange() override;
    fw::BOOL OnInitDialog() override;
    void OnOK() override;

  private:
    void OnInput();
    void OnOutput();
    void OnSelchangeFileType();
    void OnSelchangeFileList();
    void ChooseType(IoType type);
    void FillFileList();
    // The name to use: the typed one, with the type's extension added when its pattern is chosen.
    std::string NameToUse() const;

    int m_nMode;
    IoType m_nType = IoType::None;
    std::string m_strAllFiles;
    std::string m_strOutputPattern;
    std::string m_strInputPattern;
    // The names the latest listing that found files showed.
    std::set<std::string> m_mapListed;

    fw::Control* m_pFileType = nullptr;
    fw::Control* m_pFileTypeLabel = nullptr;
    fw::Control* m_pOK = nullptr;
    fw::Control* m_pFileNameLabel = nullptr;
    fw::Control* m_pFileList = nullptr;
    fw::Control* m_pFileName = nullptr;
};
