// The clock's formatting and the printer device context over the headless printer.
#include <cstdlib>

#include "platform/fw/tests/fw_fixture.h"

namespace fwtest {
namespace {

class ClockTest : public FwTest {
  protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        m_oldTz = tz != nullptr ? tz : "";
        m_hadTz = tz != nullptr;
        setenv("TZ", "UTC0", 1);
        tzset();
    }
    void TearDown() override {
        if (m_hadTz) {
            setenv("TZ", m_oldTz.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

  private:
    std::string m_oldTz;
    bool m_hadTz = false;
};

TEST_F(ClockTest, FormatsWithEnglishMonthsAndTwoDigitFields) {
    struct Case {
        std::int64_t t;
        const char* format;
        const char* expected;
    };
    const Case cases[] = {
        {1026396187, "%H:%M:%S", "14:03:07"},  // 2002-07-11 14:03:07 UTC
        {1026396187, "%B %d %Y", "July 11 2002"},
        {1015113600, "%B %d %Y", "March 03 2002"},
        {1609459199, "%B %d %Y %H:%M:%S", "December 31 2020 23:59:59"},
        {0, "100%% %Q", "100% %Q"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fw::FormatLocalTime(c.t, c.format), c.expected) << c.format;
    }
}

TEST_F(ClockTest, ManualClockAdvancesOnlyWhenSlept) {
    const auto start = fw::GetClock().Now();
    for (int i = 0; i < 99; ++i) {
        fw::GetClock().Sleep(10);
    }
    EXPECT_EQ(fw::GetClock().Now(), start);  // 990 ms
    fw::GetClock().Sleep(10);
    EXPECT_EQ(fw::GetClock().Now(), start + 1);
}

class PrintTest : public FwTest {};

fw::PrinterSettings Printer(const char* name) {
    fw::PrinterSettings settings;
    settings.printerName = name;
    return settings;
}

TEST_F(PrintTest, PrintDialogAnswersAndDeviceContextRecordsPages) {
    fw::CWinApp app("tavora");
    fw::CPrintDialog dlg(fw::FALSE, fw::PD_NOSELECTION | fw::PD_NOPAGENUMS);
    app.GetPrinterDeviceDefaults(&dlg.m_pd);
    dlg.m_pd.nMinPage = 0;
    dlg.m_pd.nMaxPage = 2;
    driver.AnswerPrint(fw::IDOK, Printer("Lab"));
    ASSERT_EQ(dlg.DoModal(), fw::IDOK);
    app.SelectPrinter(dlg.m_pd.settings);
    EXPECT_EQ(app.Printer().printerName, "Lab");

    fw::CDC dc;
    ASSERT_TRUE(dlg.CreatePrinterDC(dc));
    fw::DOCINFO info;
    info.lpszDocName = "TAV.IXT";
    dc.StartDoc(&info);
    fw::TEXTMETRIC tm;
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    dc.StartPage();
    dc.TextOut(0, 0, "head", 4);
    dc.TextOut(0, tm.tmHeight, "line one", 4);  // the length counts, not the terminator
    dc.EndPage();
    dc.EndDoc();
    ASSERT_EQ(backend.Documents().size(), 1u);
    const auto& doc = backend.Documents()[0];
    EXPECT_EQ(doc.name, "TAV.IXT");
    EXPECT_TRUE(doc.ended);
    ASSERT_EQ(doc.pages.size(), 1u);
    ASSERT_EQ(doc.pages[0].size(), 2u);
    EXPECT_EQ(doc.pages[0][1].text, "line");
    EXPECT_EQ(doc.pages[0][1].y, tm.tmHeight);
    EXPECT_EQ(backend.GetTranscript().Lines().back(), R"(printed doc="TAV.IXT" pages=1)");
}

// The headless printer's page: the printable area of the paper set up, and a fixed-pitch font of
// the size chosen, measured as it draws.
TEST_F(PrintTest, DeviceContextTellsThePrintableAreaAndMeasuresTheChosenFont) {
    fw::PrinterSettings settings = Printer("Lab");
    const std::pair<fw::PageLayout, fw::Size> cases[] = {
        {{}, {2396, 3424}},  // not set up: A4 portrait, margins of 10 points
        {{true, "A4", 210, 297, false, 10, 10, 10, 10}, {2244, 3271}},
        {{true, "A4", 210, 297, true, 10, 10, 10, 10}, {3271, 2244}},
        {{true, "A5", 148, 210, true, 20, 15, 10, 25}, {2125, 1275}},
    };
    for (const auto& [layout, area] : cases) {
        settings.layout = layout;
        fw::CDC dc;
        ASSERT_TRUE(dc.CreatePrinterDC(settings));
        EXPECT_EQ(dc.GetDeviceCaps(fw::HORZRES), area.cx);
        EXPECT_EQ(dc.GetDeviceCaps(fw::VERTRES), area.cy);
    }
    fw::CDC dc;
    ASSERT_TRUE(dc.CreatePrinterDC(settings));
    fw::TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    EXPECT_EQ(tm.tmHeight, 50);
    EXPECT_EQ(dc.GetTextExtent("0123", 4), (fw::Size{100, 50}));
    EXPECT_TRUE(dc.SelectFixedPitchFont(7));
    dc.GetTextMetrics(&tm);
    EXPECT_EQ(tm.tmHeight, 35);
    EXPECT_EQ(dc.GetTextExtent("S\xC3\xBC"
                               "d",
                               4),
              (fw::Size{53, 35}));  // three characters
    EXPECT_FALSE(dc.SelectFixedPitchFont(0));
    dc.DeleteDC();
    EXPECT_EQ(dc.GetDeviceCaps(fw::HORZRES), 0);
}

// An accepted Page Setup chooses printer and paper; a cancelled one keeps them.
TEST_F(PrintTest, PageSetupKeepsThePaperForTheNextPageSetupAndPrint) {
    fw::CWinApp app("tavora");
    fw::PrinterSettings chosen = Printer("Lab");
    chosen.layout = {true, "A5", 148, 210, true, 20, 15, 10, 25};
    driver.AnswerPrint(fw::IDOK, chosen);
    app.OnFilePrintSetup();
    EXPECT_EQ(app.Printer(), chosen);

    driver.AnswerPrint(fw::IDCANCEL);
    app.OnFilePrintSetup();
    EXPECT_EQ(app.Printer(), chosen);
    fw::CPrintDialog print(fw::FALSE, 0);
    app.GetPrinterDeviceDefaults(&print.m_pd);
    driver.AnswerPrint(fw::IDCANCEL);
    print.DoModal();
    ASSERT_EQ(driver.PrintPresets().size(), 3u);
    EXPECT_TRUE(driver.PrintPresets()[1].hasSettings);
    EXPECT_EQ(driver.PrintPresets()[1].settings, chosen);  // the next Page Setup
    EXPECT_EQ(driver.PrintPresets()[2].settings, chosen);  // the next print
}

}  // namespace
}  // namespace fwtest
