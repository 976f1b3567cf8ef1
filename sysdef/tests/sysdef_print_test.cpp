// The System Definition Table's printout: its lines and pages.
#include "sysdef/sysdef_print.h"
#include "app/tests/app_fixture.h"
#include "print/tests/printed_pages.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"
#include "sysdef/sysdef_dlg.h"
#include "sysdef/tests/sysdef_records.h"

namespace apptest {
namespace {

using sysdeftest::Record;

constexpr char kHeader[] =
    "  Router    Level  In Out Lvl# In Rng Out Rng Idle Ranges (start, length)";

SysDefTable TableOf(std::vector<SysDefRecord> records) {
    SysDefTable table;
    for (auto& r : records) {
        table.push_back(std::make_unique<SysDefRecord>(std::move(r)));
    }
    return table;
}

class SysDefPrintTest : public AppTest {
  protected:
    void SetUp() override { Start(); }
    Pages Print(const SysDefTable& table, int rows) {
        driver.AnswerPrint(fw::IDOK, fw::PrinterSettings{});
        PrintSysDefTable(table, rows);
        EXPECT_TRUE(driver.Exhausted());
        return backend.Documents().empty() ? Pages{} : PagesOf(backend.Documents().back());
    }
};

TEST_F(SysDefPrintTest, RecordLines) {
    const std::pair<SysDefRecord, const char*> cases[] = {
        {Record("MAIN", "VIDEO", 128, 64, 16, 8, {{120, 4}, {124, 4}}, {{60, 4}}),
         "    MAIN    VIDEO 128  64    3     16       8 In(120,4) (124,4) Out(60,4) "},
        {Record("MAIN", "AUDIO", 32, 32, 0, 0),  // no idle ranges: the fixed part only
         "    MAIN    AUDIO  32  32    3      0       0 "},
        {Record("MAIN", "TC", 32, 16, 4, 4, {}, {{12, 4}}),  // "Out" straight after the fixed part
         "    MAIN       TC  32  16    3      4       4 Out(12,4) "},
        {Record("LONGNAME", "LEVELNAME", 1024, 8, 16, 8, {{1000, 16}}),  // widened this line only
         "LONGNAME LEVELNAME 1024   8    3     16       8 In(1000,16) "},
    };
    for (const auto& [record, line] : cases) {
        EXPECT_EQ(FormatPrintLine(record, 3), line);
    }
    EXPECT_EQ(FormatSysDefPrintHeader(), kHeader);
}

TEST_F(SysDefPrintTest, CountBeyondTheArraysPrintsWhatTheyHold) {
    SysDefRecord record = Record("MAIN", "VIDEO", 128, 64, 16, 8, {{120, 4}});
    record.m_nIdleInRanges = 5;
    record.m_nIdleOutRanges = 2;  // no arrays at all
    EXPECT_EQ(FormatPrintLine(record, 0),
              "    MAIN    VIDEO 128  64    0     16       8 In(120,4) Out");
}

TEST_F(SysDefPrintTest, PagesBreakAfterFiftyNineRecords) {
    // records, then the number of record lines on each page
    const std::pair<int, std::vector<std::size_t>> cases[] = {
        {0, {}}, {1, {1}}, {59, {59}}, {60, {59, 1}}, {118, {59, 59}}, {119, {59, 59, 1}},
    };
    for (const auto& [rows, perPage] : cases) {
        SCOPED_TRACE(rows);
        std::vector<SysDefRecord> records;
        for (int i = 0; i < rows; ++i) {
            records.push_back(Record("MAIN", "L" + std::to_string(i), 8, 8));
        }
        const SysDefTable table = TableOf(std::move(records));
        const std::size_t before = backend.Documents().size();
        const Pages pages = Print(table, rows);
        ASSERT_EQ(backend.Documents().size(), before + 1);
        EXPECT_TRUE(backend.Documents().back().ended);
        EXPECT_EQ(backend.Documents().back().name, "");  // the document has no name
        ASSERT_EQ(pages.size(), perPage.size());
        int i = 0;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            ASSERT_EQ(pages[p].size(), perPage[p] + 1);
            EXPECT_EQ(pages[p][0], kHeader);
            for (std::size_t n = 1; n < pages[p].size(); ++n, ++i) {
                EXPECT_EQ(pages[p][n], FormatPrintLine(*table[static_cast<std::size_t>(i)], i));
            }
        }
        const fw::PRINTDLG& pd = driver.PrintPresets().back();
        EXPECT_EQ(pd.Flags, 0x14000Cu);
        EXPECT_EQ(pd.nMaxPage, rows / 60 + 1);
        EXPECT_EQ(pd.nToPage, rows / 60 + 1);
    }
}

// The longest line a record can print: names of eight characters, four-digit port counts, the
// largest ranges, and 99 idle ranges each way with the largest numbers the file holds.
SysDefRecord LongestRecord() {
    const sysdeftest::Ranges ranges(99, {999, 999});
    return Record("SWITCHER", "LEVELNAM", 9999, 9999, 99, 99, ranges, ranges);
}

TEST_F(SysDefPrintTest, TheLongestLineContinuesUnderTheIdleRangesOnEveryPaper) {
    constexpr std::size_t kIdleColumn = 46;
    const SysDefTable table = TableOf(
        {Record("MAIN", "VIDEO", 128, 64, 16, 8, {{120, 4}}), LongestRecord(), LongestRecord()});
    std::vector<std::string> lines;
    for (int i = 0; i < 3; ++i) {
        lines.push_back(FormatPrintLine(*table[static_cast<std::size_t>(i)], i));
    }
    ASSERT_EQ(lines[1].size(), 2033u);
    for (const char* paper : {"A4", "Letter"}) {
        for (const bool landscape : {false, true}) {
            SCOPED_TRACE(std::string(paper) + (landscape ? " landscape" : " portrait"));
            fw::PrinterSettings settings;
            settings.layout = Paper(paper, landscape);
            driver.AnswerPrint(fw::IDOK, settings);
            PrintSysDefTable(table, 3);
            const auto& doc = backend.Documents().back();
            ExpectWithinTheArea(doc, 7);
            const Pages pages = PagesOf(doc);
            for (const auto& page : pages) {
                EXPECT_LE(page.size(), 60u);
                EXPECT_EQ(page[0], kHeader);
            }
            EXPECT_EQ(Rejoined(pages, kIdleColumn), lines);
        }
    }
}

// On A4 portrait at 7 points a line holds 128 characters: the longest record takes 25 lines, so
// two fit a page below the header and the third starts the next.
TEST_F(SysDefPrintTest, RecordsAndTheirContinuationsShareAPage) {
    const SysDefTable table = TableOf({LongestRecord(), LongestRecord(), LongestRecord()});
    fw::PrinterSettings settings;
    settings.layout = Paper("A4", false);
    driver.AnswerPrint(fw::IDOK, settings);
    PrintSysDefTable(table, 3);
    const Pages pages = PagesOf(backend.Documents().back());
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), 51u);
    EXPECT_EQ(pages[1].size(), 26u);
    EXPECT_EQ(pages[0][1].substr(0, 60),
              "SWITCHER LEVELNAM 9999 9999    0     99      99 In(999,999) ");
    EXPECT_EQ(pages[0][2], std::string(46, ' ') +
                               "(999,999) (999,999) (999,999) (999,999) "
                               "(999,999) (999,999) (999,999) (999,999) ");
}

TEST_F(SysDefPrintTest, CancelPrintsNothing) {
    const SysDefTable table = TableOf({Record("MAIN", "VIDEO", 8, 8)});
    driver.AnswerPrint(fw::IDCANCEL);
    PrintSysDefTable(table, 1);
    EXPECT_TRUE(backend.Documents().empty());
}

TEST_F(SysDefPrintTest, PrintButtonPrintsTheRecordsNotTheTypedCells) {
    CTavDlg main;
    app->m_pMainWnd = &main;
    auto table = std::make_unique<SysDefTable>();
    for (int i = 0; i < 61; ++i) {
        table->push_back(std::make_unique<SysDefRecord>(
            Record("MAIN", "L" + std::to_string(i), 64, 32, 8, 8, {{56, 8}})));
    }
    main.SetSysDefTable(std::move(table));
    {
        CSysDefDlg dlg;
        ASSERT_TRUE(dlg.Create(IDD_SYSDEF));
        dlg.GetGrid()->SetCellText(1, 4, "16");  // typed, not yet taken into the record
        driver.AnswerPrint(fw::IDOK, fw::PrinterSettings{});
        headless::Item(dlg, IDC_SYSDEF_PRINT).UserClick();
        ASSERT_EQ(backend.Documents().size(), 1u);
        const Pages pages = PagesOf(backend.Documents()[0]);
        ASSERT_EQ(pages.size(), 2u);
        EXPECT_EQ(pages[0].size(), 60u);
        EXPECT_EQ(pages[1].size(), 3u);
        EXPECT_EQ(pages[0][1], "    MAIN       L0  64  32    0      8       8 In(56,8) ");
        EXPECT_EQ(pages[1][2], "    MAIN      L60  64  32   60      8       8 In(56,8) ");
        EXPECT_EQ(pages[1][2], dlg.FormatPrintLine(60));
        EXPECT_EQ(driver.PrintPresets().back().nMaxPage, 2);
        dlg.DestroyWindow();
    }
    app->m_pMainWnd = nullptr;
    main.ReleaseData();
}

}  // namespace
}  // namespace apptest
