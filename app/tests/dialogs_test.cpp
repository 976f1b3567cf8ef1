// The application's own dialogs and message boxes: error dialog, print chooser, File Access open
// failures. About is app/tests/scenarios/about_and_menus.scn's.
#include <string>

#include "app/error_dlg.h"
#include "app/print_choice_dlg.h"
#include "app/tests/app_fixture.h"
#include "res/resource.h"

namespace apptest {
namespace {

using headless::Item;

class AppDialogs : public AppTest {
  protected:
    // The error dialog's detail text for an error reported now, the dialog closed with OK.
    std::string ReportedDetail(com::HRESULT hr, const char* file, int line) {
        std::string detail;
        driver.Then([&](fw::CWnd& w) {
            detail = Item(w, IDC_ERROR_DETAIL).GetWindowText();
            Item(w, fw::IDOK).UserClick();
        });
        app->ReportError(hr, file, line);
        return detail;
    }
};

TEST_F(AppDialogs, ErrorDialogOpensCentredAtHalfHeightAndDetailRevealsTheRest) {
    Start();
    CErrorDlg dlg(IDS_ERR_SWITCHER_DESC, "Error Code: (0x80004005)");
    const fw::DialogTemplate* tmpl = fw::InstalledResources()->FindDialog(IDD_ERROR);
    fw::Rect full;
    driver.Then([&](fw::CWnd& w) {
        fw::Rect r;
        w.GetWindowRect(&r);
        const fw::Rect client = dlg.MapDialogRect(tmpl->rect);
        EXPECT_EQ(r.Width(), client.Width());
        EXPECT_EQ(r.Height(), client.Height() / 2);
        EXPECT_EQ(r.left, (1024 - r.Width()) / 2);
        EXPECT_EQ(r.top, (768 - r.Height()) / 2);
        EXPECT_EQ(Item(w, IDC_ERROR_MESSAGE).GetWindowText(),
                  "Error occured when reading the Switcher Description Table.");
        EXPECT_EQ(Item(w, IDC_ERROR_DETAIL).GetWindowText(), "Error Code: (0x80004005)");
        Item(w, IDC_DETAIL).UserClick();
        w.GetWindowRect(&full);
        Item(w, IDC_DETAIL).UserClick();  // again: nothing changes
        w.GetWindowRect(&r);
        EXPECT_EQ(r, full);
        EXPECT_TRUE(Item(w, IDC_DETAIL).IsWindowEnabled());
    });
    driver.Then([](fw::CWnd& w) { Item(w, fw::IDOK).UserClick(); });
    EXPECT_EQ(dlg.DoModal(), fw::IDOK);
    EXPECT_EQ(full.Height(), dlg.MapDialogRect(tmpl->rect).Height());
    EXPECT_EQ(full.top, (768 - full.Height()) / 2);
}

TEST_F(AppDialogs, ErrorDialogWithoutMessageAsksForDetail) {
    Start();
    for (fw::UINT id : {0u, 4242u}) {
        CErrorDlg dlg(id, "detail");
        driver.Then([](fw::CWnd& w) {
            EXPECT_EQ(Item(w, IDC_ERROR_MESSAGE).GetWindowText(),
                      "Please click DETAIL button to see detail message.");
            Item(w, fw::IDOK).UserClick();
        });
        dlg.DoModal();
    }
}

TEST_F(AppDialogs, ReportErrorDetailNamesCodeSystemTextComponentFileAndLine) {
    control::Config config = control::DefaultConfig();
    config.faults.push_back(control::Fault(control::ComponentId::SwitcherDescTable, "GetCount",
                                           com::E_FAIL, 0, -1, "level table locked"));
    Connect(config);
    std::int16_t count = 0;
    const com::HRESULT hr = app->GetSwitcherDescTable()->GetCount(&count);
    std::string detail = ReportedDetail(hr, "TavDlg", 42);
    EXPECT_NE(detail.find("Error Code: (0x80004005)\r\nSystem Erro Msg: "), std::string::npos);
    EXPECT_NE(detail.find("level table locked"), std::string::npos);
    EXPECT_NE(detail.find("\r\nFile: TavDlg\r\nLine# 42"), std::string::npos);

    // A context with no component: the detail says there is no description.
    app->m_nErrorContext = IDS_ERR_CONTROL_CENTER;
    detail = ReportedDetail(com::E_FAIL, nullptr, 0);
    EXPECT_NE(detail.find("DCOM Error Msg: (none)\r\nFile: (none)\r\nLine# 0"), std::string::npos);
}

// A description of megabytes (a component gone wrong, or a configured fault) would keep the error
// dialog from opening while its text box lays it out: only its start is shown, cut between
// characters, with its length, and the file and line still follow it.
TEST_F(AppDialogs, AHugeComponentDescriptionIsShownByItsStartAndLength) {
    // The component names itself first; the two bytes of the accented letter straddle the cut.
    const std::string named = "Switcher Description Table: ";
    const std::string head = named + std::string(4095 - named.size(), 'd');
    const std::string description =
        head.substr(named.size()) + "\xc3\xa9" + std::string(3 << 20, 'e');
    control::Config config = control::DefaultConfig();
    config.faults.push_back(control::Fault(control::ComponentId::SwitcherDescTable, "GetCount",
                                           com::E_FAIL, 0, -1, description));
    Connect(config);
    std::int16_t count = 0;
    const com::HRESULT hr = app->GetSwitcherDescTable()->GetCount(&count);
    std::string detail = ReportedDetail(hr, "TavDlg", 42);
    const std::string shown = "DCOM Error Msg: " + head + "... (" +
                              std::to_string(named.size() + description.size()) +
                              " bytes in all)\r\nFile: TavDlg\r\nLine# 42";
    EXPECT_TRUE(detail.ends_with(shown)) << detail.substr(detail.size() - 100);
    EXPECT_LT(detail.size(), 4400u);
}

// 0x204, 0x206 and 0x207 are files/tests/scenarios/file_dialog_open_errors.scn's.
TEST_F(AppDialogs, FileOpenFailuresByCode) {
    Start();
    const std::pair<std::uint16_t, const char*> cases[] = {
        {0x201, "You can not create a file that already exists."},
        {0x202, "Share violation in opening the file."},
        {0x203, "File open failed for unknown reason."},
        {0x205, "File open failed for unknown reason."},
        {0x208, "The file server ran out of handles and could not open more files."},
        {0x999, "File open failed for unknown reason."},
    };
    for (const auto& [code, text] : cases) {
        ShowFileOpenError(code);
        EXPECT_EQ(Transcript().back(),
                  std::string(R"(msgbox caption="tavora" icon=exclamation buttons=ok text=")") +
                      text + "\" -> ok");
    }
}

TEST_F(AppDialogs, PrintChooserEnablesPrintOnlyAfterAChoice) {
    Start();
    for (int radio : {IDC_INPUT_TABLE, IDC_OUTPUT_TABLE}) {
        CPrintChoiceDlg dlg;
        driver.Then([&](fw::CWnd& w) {
            EXPECT_FALSE(Item(w, fw::IDOK).IsWindowEnabled());
            EXPECT_EQ(Item(w, IDC_INPUT_TABLE).GetCheck(), 0);
            EXPECT_EQ(Item(w, IDC_OUTPUT_TABLE).GetCheck(), 0);
            EXPECT_EQ(dlg.GetType(), IoType::None);
            dynamic_cast<fw::CDialog&>(w).UserPressEnter();  // Print is off: nothing happens
            Item(w, radio).UserClick();
            EXPECT_TRUE(Item(w, fw::IDOK).IsWindowEnabled());
        });
        driver.Then([](fw::CWnd& w) { Item(w, fw::IDOK).UserClick(); });
        EXPECT_EQ(dlg.DoModal(), fw::IDOK);
        EXPECT_EQ(dlg.GetType(), radio == IDC_INPUT_TABLE ? IoType::Input : IoType::Output);
    }
}

}  // namespace
}  // namespace apptest
