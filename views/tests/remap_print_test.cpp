// The remap table printout: its lines, pages, print dialog and printer.
#include "views/remap_print.h"
#include "app/tests/app_fixture.h"
#include "print/tests/printed_pages.h"
#include "remap/tav_dlg.h"
#include "remap/tests/remap_entries.h"

namespace apptest {
namespace {

using remaptest::Entry;

constexpr char kHeader[] = "Time          Date           Router    Level Orig Rmap Comment";

fw::PrinterSettings Pdf(const std::string& file) {
    fw::PrinterSettings settings;
    settings.outputFile = file;
    return settings;
}

class RemapPrintTest : public AppTest {
  protected:
    void SetUp() override { Start(); }
    // A table of io holding single-port entries, ports in all.
    void FillSingles(IoType io, int ports) {
        dlg.Table(io) = std::make_unique<RemapTable>();
        for (int n = 0; n < ports; ++n) {
            dlg.Table(io)->push_back(Entry(0, n, n, 200 + n));
        }
    }
    Pages PrintAndRead(IoType io) {
        driver.AnswerPrint(fw::IDOK, Pdf("out.pdf"));
        dlg.PrintRemapTable(io);
        EXPECT_TRUE(driver.Exhausted());
        EXPECT_EQ(backend.Documents().size(), 1u);
        return backend.Documents().empty() ? Pages{} : PagesOf(backend.Documents().back());
    }
    CTavDlg dlg;
};

TEST_F(RemapPrintTest, OneLinePerPortTheCommentOnTheFirstOnly) {
    dlg.Table(IoType::Input) = std::make_unique<RemapTable>();
    dlg.Table(IoType::Input)->push_back(Entry(0, 16, 19, 120, "spare card"));
    dlg.Table(IoType::Input)->push_back(Entry(0, 5, 5, 7));  // stored without a comment
    const Pages pages = PrintAndRead(IoType::Input);
    const Pages want = {{
        kHeader,
        "14:05:09     March 03 2002     MAIN    VIDEO   16  120 spare card",
        "14:05:09     March 03 2002     MAIN    VIDEO   17  121 ",
        "14:05:09     March 03 2002     MAIN    VIDEO   18  122 ",
        "14:05:09     March 03 2002     MAIN    VIDEO   19  123 ",
        "14:05:09     March 03 2002     MAIN    VIDEO    5    7  ",
    }};
    EXPECT_EQ(pages, want);
    EXPECT_TRUE(backend.Documents()[0].ended);
}

TEST_F(RemapPrintTest, NamesWiderThanTheirColumnsWidenThatLineOnly) {
    dlg.Table(IoType::Output) = std::make_unique<RemapTable>();
    dlg.Table(IoType::Output)->push_back(Entry(0, 5, 5, 120, "x", "NINECHARSX", "LEVELNAME10"));
    dlg.Table(IoType::Output)->push_back(Entry(0, 6, 6, 121, "y"));
    const Pages pages = PrintAndRead(IoType::Output);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0][1], "14:05:09     March 03 2002NINECHARSXLEVELNAME10    5  120 x");
    EXPECT_EQ(pages[0][2], "14:05:09     March 03 2002     MAIN    VIDEO    6  121 y");
}

TEST_F(RemapPrintTest, PagesBreakAfterSixtyOnePortLines) {
    // ports, then the number of port lines on each page
    const std::pair<int, std::vector<std::size_t>> cases[] = {
        {0, {}}, {1, {1}}, {61, {61}}, {62, {61, 1}}, {122, {61, 61}}, {123, {61, 61, 1}},
    };
    for (const auto& [ports, perPage] : cases) {
        SCOPED_TRACE(ports);
        FillSingles(IoType::Input, ports);
        const std::size_t before = backend.Documents().size();
        driver.AnswerPrint(fw::IDOK, Pdf("out.pdf"));
        dlg.PrintRemapTable(IoType::Input);
        ASSERT_EQ(backend.Documents().size(), before + 1);
        const auto& doc = backend.Documents().back();
        EXPECT_TRUE(doc.ended);  // an empty table still starts and ends a document
        const Pages pages = PagesOf(doc);
        ASSERT_EQ(pages.size(), perPage.size());
        int port = 0;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            ASSERT_EQ(pages[p].size(), perPage[p] + 1);
            EXPECT_EQ(pages[p][0], kHeader);
            for (std::size_t n = 1; n < pages[p].size(); ++n, ++port) {
                EXPECT_EQ(pages[p][n], dlg.FormatRemapPrintLine(IoType::Input, port, 0));
            }
        }
    }
}

// `count` words of nine characters, each followed by a blank but the last.
std::string Words(int count) {
    std::string words;
    for (int n = 1; n <= count; ++n) {
        const std::string number = std::to_string(n);
        words += (n > 1 ? " remark" : "remark") + std::string(3 - number.size(), '0') + number;
    }
    return words;
}

constexpr std::size_t kCommentColumn = 55;

struct PaperCase {
    const char* paper;
    bool landscape;
    int points;  // the font that takes 62 lines and a 40-character comment on that paper
};

// A4 and Letter with margins of 10 mm: portrait fits the lines at 9 points, landscape needs the
// smallest font for 62 lines of height.
constexpr PaperCase kPapers[] = {
    {"A4", false, 9}, {"A4", true, 7}, {"Letter", false, 9}, {"Letter", true, 7}};

class RemapPrintPaperTest : public RemapPrintTest {
  protected:
    const headless::PrintedDocument& PrintOn(IoType io, const fw::PageLayout& layout) {
        fw::PrinterSettings settings = Pdf("out.pdf");
        settings.layout = layout;
        driver.AnswerPrint(fw::IDOK, settings);
        dlg.PrintRemapTable(io);
        EXPECT_TRUE(driver.Exhausted());
        return backend.Documents().back();
    }
    std::vector<std::string> LinesOf(IoType io) {
        std::vector<std::string> lines;
        for (std::size_t e = 0; e < dlg.Table(io)->size(); ++e) {
            for (int k = 0; k < RemapPrintLineCount(*(*dlg.Table(io))[e]); ++k) {
                lines.push_back(dlg.FormatRemapPrintLine(io, static_cast<int>(e), k));
            }
        }
        return lines;
    }
};

TEST_F(RemapPrintPaperTest, AFortyCharacterCommentFitsWholeOnEveryPaper) {
    const std::string comment = "Camera 3 via spare card in slot 12, left";
    ASSERT_EQ(comment.size(), 40u);
    dlg.Table(IoType::Input) = std::make_unique<RemapTable>();
    dlg.Table(IoType::Input)->push_back(Entry(0, 16, 17, 120, comment));
    for (const PaperCase& c : kPapers) {
        SCOPED_TRACE(std::string(c.paper) + (c.landscape ? " landscape" : " portrait"));
        const auto& doc = PrintOn(IoType::Input, Paper(c.paper, c.landscape));
        ExpectWithinTheArea(doc, c.points);
        const Pages want = {{kHeader,
                             "14:05:09     March 03 2002     MAIN    VIDEO   16  120 " + comment,
                             "14:05:09     March 03 2002     MAIN    VIDEO   17  121 "}};
        EXPECT_EQ(PagesOf(doc), want);
    }
}

TEST_F(RemapPrintPaperTest, LongCommentsContinueUnderTheCommentOnEveryPaper) {
    FillSingles(IoType::Input, 58);
    dlg.Table(IoType::Input)->push_back(Entry(0, 100, 102, 300, Words(40)));
    dlg.Table(IoType::Input)->push_back(Entry(0, 110, 110, 310, Words(25)));
    for (const PaperCase& c : kPapers) {
        SCOPED_TRACE(std::string(c.paper) + (c.landscape ? " landscape" : " portrait"));
        const auto& doc = PrintOn(IoType::Input, Paper(c.paper, c.landscape));
        ExpectWithinTheArea(doc, 7);
        const Pages pages = PagesOf(doc);
        for (const auto& page : pages) {
            EXPECT_LE(page.size(), 62u);
            EXPECT_EQ(page[0], kHeader);
        }
        EXPECT_EQ(Rejoined(pages, kCommentColumn), LinesOf(IoType::Input));
    }
}

// On A4 portrait at 7 points a line holds 128 characters, so 73 of a comment: seven words.
TEST_F(RemapPrintPaperTest, ALineAndItsContinuationShareAPage) {
    FillSingles(IoType::Input, 60);
    dlg.Table(IoType::Input)->push_back(Entry(0, 100, 100, 300, Words(12)));
    const Pages pages = PagesOf(PrintOn(IoType::Input, Paper("A4", false)));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), 61u);  // room for one more line, not for two
    const std::vector<std::string> second = {
        kHeader,
        "14:05:09     March 03 2002     MAIN    VIDEO  100  300 remark001 remark002 remark003 "
        "remark004 remark005 remark006 remark007 ",
        std::string(kCommentColumn, ' ') + "remark008 remark009 remark010 remark011 remark012",
    };
    EXPECT_EQ(pages[1], second);
}

// Nothing limits a comment's length (the edit takes any, the table file any line): one longer
// than a page starts on a page of its own and goes on over the next.
TEST_F(RemapPrintPaperTest, ACommentLongerThanAPageGoesOnOverTheNext) {
    FillSingles(IoType::Input, 1);
    dlg.Table(IoType::Input)->push_back(Entry(0, 100, 100, 300, Words(600)));
    const auto& doc = PrintOn(IoType::Input, Paper("A4", false));
    ExpectWithinTheArea(doc, 7);
    const Pages pages = PagesOf(doc);
    // Seven words on the line and on each of its 85 continuations (the last holds five).
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].size(), 2u);
    EXPECT_EQ(pages[1].size(), 62u);
    EXPECT_EQ(pages[2].size(), 26u);
    EXPECT_EQ(Rejoined(pages, kCommentColumn), LinesOf(IoType::Input));
}

// A5 landscape with margins of 10 mm is 128 mm high: 43 lines at the smallest font.
TEST_F(RemapPrintPaperTest, APageTooShortForItsLinesTakesAsManyAsFit) {
    FillSingles(IoType::Input, 50);
    const auto& doc = PrintOn(IoType::Input, {true, "A5", 148, 210, true, 10, 10, 10, 10});
    ExpectWithinTheArea(doc, 7);
    const Pages pages = PagesOf(doc);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), 43u);
    EXPECT_EQ(pages[1].size(), 9u);
    EXPECT_EQ(Rejoined(pages, kCommentColumn), LinesOf(IoType::Input));
}

// The message for an absent table is views/tests/scenarios/print_remap_table_from_menu.scn's.
TEST_F(RemapPrintTest, LinesOfAnAbsentOrEmptyTableAreBlank) {
    EXPECT_EQ(dlg.FormatRemapPrintLine(IoType::Output, 0, 0), " ");
    EXPECT_EQ(dlg.FormatRemapPrintLine(IoType::Input, 0, 0), " ");
}

TEST_F(RemapPrintTest, CancelPrintsNothingAndKeepsThePrinter) {
    FillSingles(IoType::Input, 3);
    app->SelectPrinter(Pdf("first.pdf"));
    driver.AnswerPrint(fw::IDCANCEL);
    dlg.PrintRemapTable(IoType::Input);
    EXPECT_TRUE(backend.Documents().empty());
    EXPECT_EQ(app->Printer(), Pdf("first.pdf"));
}

TEST_F(RemapPrintTest, DialogPresetWithTheApplicationsPrinterWhichTakesTheChoice) {
    FillSingles(IoType::Output, 70);
    fw::PrinterSettings chosen = Pdf("chosen.pdf");
    chosen.layout = {true, "A5", 148, 210, true, 20, 15, 10, 25};
    app->SelectPrinter(Pdf("first.pdf"));
    driver.AnswerPrint(fw::IDOK, chosen);
    dlg.PrintRemapTable(IoType::Output);
    ASSERT_EQ(driver.PrintPresets().size(), 1u);
    const fw::PRINTDLG& pd = driver.PrintPresets()[0];
    EXPECT_EQ(pd.Flags, 0x14000Cu);
    EXPECT_TRUE(pd.hasSettings);
    EXPECT_EQ(pd.settings, Pdf("first.pdf"));
    EXPECT_EQ(pd.nMinPage, 0);
    EXPECT_EQ(pd.nFromPage, 0);
    EXPECT_EQ(pd.nMaxPage, pd.nToPage);
    EXPECT_EQ(app->Printer(), chosen);
    ASSERT_EQ(backend.Documents().size(), 1u);
    EXPECT_EQ(backend.Documents()[0].printer, chosen);
}

class RemapPrintFilesTest : public AppTest {
  protected:
    void SetUp() override {
        control::Config config = control::DefaultConfig();
        config.activeSetCrc = 65535;
        Connect(config);
        ASSERT_TRUE(app->LoadLevelList());
    }
    CTavDlg dlg;
};

TEST_F(RemapPrintFilesTest, DocumentNamedAfterTheFileOfThePrintedTable) {
    Put("SPARE.OXT",
        "CONFIGCRC(65535)\r\n14:05:09,March 03 2002,MAIN,VIDEO,0,5,5,120,120,spare card\r\n");
    ASSERT_TRUE(dlg.OpenRemapTableFile(IoType::Input, fw::TRUE, fw::TRUE, {}));
    dlg.CloseRemapTableFile();
    dlg.SelectRemapTable(IoType::Output, "SPARE.OXT");
    ASSERT_TRUE(dlg.Table(IoType::Output));
    driver.AnswerPrint(fw::IDOK, Pdf("out.pdf"));
    dlg.PrintRemapTable(IoType::Output);
    ASSERT_EQ(backend.Documents().size(), 1u);
    EXPECT_EQ(backend.Documents()[0].name, "SPARE.OXT");
    EXPECT_EQ(dlg.TableFile(IoType::Input), "TAV.IXT");
}

}  // namespace
}  // namespace apptest
