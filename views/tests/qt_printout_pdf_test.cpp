// Both printouts through the Qt back end's print dialog and printer into a PDF file, read back
// with pdftotext: the lines in order, the page breaks, and the columns lined up.
#include <QApplication>
#include <QFile>
#include <QPrintDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "platform/fw/app.h"
#include "platform/qt/tests/qt_fixture.h"
#include "remap/tav_dlg.h"
#include "sysdef/sysdef_print.h"
#include "sysdef/tests/sysdef_records.h"
#include "views/remap_print.h"

namespace qttest {
namespace {

class QtPrintoutPdf : public QtTest {
  protected:
    QtPrintoutPdf() {
        UseProgramResources();
        fw::PrinterSettings pdf;
        pdf.outputFile = dir.filePath("printout.pdf").toStdString();
        app.SelectPrinter(pdf);
    }
    // Accepts the print dialog as soon as it is up, as an operator pressing Print would.
    void AcceptPrintDialog() {
        QTimer::singleShot(0, &m_guard, [this] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                AcceptPrintDialog();
                return;
            }
            dialog->accept();
        });
    }
    struct Word {
        double xMin, xMax, yMin;
        std::string text;
    };
    // The PDF's pages, each as its lines of words with their places on the page.
    std::vector<std::vector<std::vector<Word>>> ReadPages() {
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        EXPECT_FALSE(tool.isEmpty()) << "pdftotext (poppler-utils) is not installed";
        QProcess process;
        process.start(tool,
                      {QStringLiteral("-bbox"), dir.filePath("printout.pdf"), QStringLiteral("-")});
        EXPECT_TRUE(process.waitForFinished(30000));
        const QString html = QString::fromUtf8(process.readAllStandardOutput());
        static const QRegularExpression tag(QStringLiteral(
            R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"));
        // The tool lists words in its own reading order; lines are rebuilt from their places.
        std::vector<std::vector<Word>> words;
        for (auto it = tag.globalMatch(html); it.hasNext();) {
            const auto match = it.next();
            if (match.captured(0).startsWith(QStringLiteral("<page"))) {
                words.emplace_back();
            } else if (!words.empty()) {
                words.back().push_back(
                    Word{match.captured(1).toDouble(), match.captured(3).toDouble(),
                         match.captured(2).toDouble(),
                         match.captured(4)
                             .replace(QStringLiteral("&amp;"), QStringLiteral("&"))
                             .toStdString()});
            }
        }
        std::vector<std::vector<std::vector<Word>>> pages;
        for (auto& page : words) {
            std::sort(page.begin(), page.end(), [](const Word& a, const Word& b) {
                return std::abs(a.yMin - b.yMin) > 0.5 ? a.yMin < b.yMin : a.xMin < b.xMin;
            });
            pages.emplace_back();
            for (const Word& word : page) {
                if (pages.back().empty() ||
                    std::abs(pages.back().back().back().yMin - word.yMin) > 0.5) {
                    pages.back().emplace_back();
                }
                pages.back().back().push_back(word);
            }
        }
        return pages;
    }
    // Compares a page with the lines it should hold: the same words in the same order, each
    // word starting at its character column times one character width from the left edge of
    // the text, so the columns line up as they do in the printed text.
    static void ExpectPage(const std::vector<std::vector<Word>>& page,
                           const std::vector<std::string>& want) {
        ASSERT_EQ(page.size(), want.size());
        // The character width from the longest word, the left edge from the first.
        const Word* longest = &page[0][0];
        for (const auto& line : page) {
            for (const auto& word : line) {
                longest = word.text.size() > longest->text.size() ? &word : longest;
            }
        }
        const double width = (longest->xMax - longest->xMin) / longest->text.size();
        const double left = page[0][0].xMin - want[0].find_first_not_of(' ') * width;
        for (std::size_t n = 0; n < want.size(); ++n) {
            SCOPED_TRACE(want[n]);
            std::vector<std::pair<std::size_t, std::string>> words;  // column, text
            for (std::size_t at = want[n].find_first_not_of(' '); at != std::string::npos;) {
                const std::size_t end = std::min(want[n].find(' ', at), want[n].size());
                words.emplace_back(at, want[n].substr(at, end - at));
                at = want[n].find_first_not_of(' ', end);
            }
            ASSERT_EQ(page[n].size(), words.size());
            for (std::size_t w = 0; w < words.size(); ++w) {
                EXPECT_EQ(page[n][w].text, words[w].second);
                EXPECT_NEAR(page[n][w].xMin, left + words[w].first * width, width / 4)
                    << words[w].second;
            }
        }
    }
    // The width of each page in points.
    std::vector<double> PageWidths() {
        QProcess process;
        process.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
                      {QStringLiteral("-bbox"), dir.filePath("printout.pdf"), QStringLiteral("-")});
        EXPECT_TRUE(process.waitForFinished(30000));
        static const QRegularExpression page(QStringLiteral(R"re(<page width="([\d.]+)")re"));
        std::vector<double> widths;
        for (auto it = page.globalMatch(QString::fromUtf8(process.readAllStandardOutput()));
             it.hasNext();) {
            widths.push_back(it.next().captured(1).toDouble());
        }
        return widths;
    }
    // Reads the printout back and checks it against the lines printed: every word within the
    // margins of 10 mm, each page under its header, each line whole once its continuations
    // (lines starting at `column`) are joined to it, all in one font of `points`.
    void ExpectPrintedWhole(const std::vector<std::string>& lines, const std::string& header,
                            std::size_t column, double points) {
        constexpr double kMargin = 10 / 25.4 * 72;
        constexpr double kDejaVuMonoAdvance = 1233.0 / 2048;  // of the em
        const auto pages = ReadPages();
        const auto widths = PageWidths();
        ASSERT_EQ(pages.size(), widths.size());
        const auto wordsOf = [](const std::string& line) {
            std::vector<std::string> words;
            for (std::size_t at = line.find_first_not_of(' '); at != std::string::npos;) {
                const std::size_t end = std::min(line.find(' ', at), line.size());
                words.push_back(line.substr(at, end - at));
                at = line.find_first_not_of(' ', end);
            }
            return words;
        };
        std::vector<std::vector<std::string>> printed;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            const auto& page = pages[p];
            ASSERT_FALSE(page.empty());
            std::vector<std::string> head;
            for (const Word& word : page[0]) {
                head.push_back(word.text);
            }
            EXPECT_EQ(head, wordsOf(header)) << "page " << p + 1;
            const Word& first = page[0][0];
            const double width = (first.xMax - first.xMin) / first.text.size();
            EXPECT_NEAR(width, points * kDejaVuMonoAdvance, 0.05) << "page " << p + 1;
            const double left =
                first.xMin - static_cast<double>(header.find_first_not_of(' ')) * width;
            for (std::size_t n = 0; n < page.size(); ++n) {
                for (const Word& word : page[n]) {
                    EXPECT_GE(word.xMin, kMargin - 0.5) << word.text;
                    EXPECT_LE(word.xMax, widths[p] - kMargin + 0.5) << word.text;
                }
                if (n == 0) {
                    continue;
                }
                const double at = (page[n][0].xMin - left) / width;
                const bool continues = std::abs(at - static_cast<double>(column)) < 0.25;
                if (!continues) {
                    printed.emplace_back();
                } else {
                    ASSERT_FALSE(printed.empty());
                    EXPECT_GT(n, 1u) << "a line is parted from its continuation";
                }
                for (const Word& word : page[n]) {
                    printed.back().push_back(word.text);
                }
            }
        }
        ASSERT_EQ(printed.size(), lines.size());
        for (std::size_t n = 0; n < lines.size(); ++n) {
            EXPECT_EQ(printed[n], wordsOf(lines[n]));
        }
    }
    static std::string Trimmed(std::string line) {
        while (!line.empty() && line.back() == ' ') {
            line.pop_back();
        }
        return line;
    }

    QTemporaryDir dir;
    fw::CWinApp app{"tavora"};

  private:
    QObject m_guard;
};

TEST_F(QtPrintoutPdf, RemapTable) {
    CTavDlg dlg;
    dlg.Table(IoType::Input) = std::make_unique<RemapTable>();
    auto wide = std::make_unique<CRemapEntry>();
    *wide = CRemapEntry{"14:05:09", "March 03 2002", "MAIN", "VIDEO", 0, 16, 19, 120,
                        123,        "spare card"};
    dlg.Table(IoType::Input)->push_back(std::move(wide));
    for (int n = 0; n < 60; ++n) {
        auto entry = std::make_unique<CRemapEntry>();
        *entry =
            CRemapEntry{"09:00:00", "July 11 2002", "STUDIO", "TC", 0, n, n, 200 + n, 200 + n, " "};
        dlg.Table(IoType::Input)->push_back(std::move(entry));
    }
    AcceptPrintDialog();
    dlg.PrintRemapTable(IoType::Input);
    ASSERT_TRUE(QFile::exists(dir.filePath("printout.pdf")));

    // 64 port lines: 61 on the first page, 3 on the second, each under the header.
    std::vector<std::string> lines;
    for (int entry = 0; entry < 61; ++entry) {
        for (int k = 0; k < (entry == 0 ? 4 : 1); ++k) {
            lines.push_back(Trimmed(dlg.FormatRemapPrintLine(IoType::Input, entry, k)));
        }
    }
    const std::string header = FormatRemapPrintHeader();
    std::vector<std::string> first = {header};
    first.insert(first.end(), lines.begin(), lines.begin() + 61);
    std::vector<std::string> second = {header};
    second.insert(second.end(), lines.begin() + 61, lines.end());
    EXPECT_EQ(lines[0], "14:05:09     March 03 2002     MAIN    VIDEO   16  120 spare card");
    const auto pages = ReadPages();
    ASSERT_EQ(pages.size(), 2u);
    ExpectPage(pages[0], first);
    ExpectPage(pages[1], second);
}

TEST_F(QtPrintoutPdf, SystemDefinitionTable) {
    SysDefTable table;
    for (int i = 0; i < 61; ++i) {
        table.push_back(std::make_unique<SysDefRecord>(sysdeftest::Record(
            i % 2 == 0 ? "MAIN" : "STUDIO", "L" + std::to_string(i), 128, 64, 16, 8,
            i == 0 ? sysdeftest::Ranges{{120, 4}, {124, 4}} : sysdeftest::Ranges{})));
    }
    AcceptPrintDialog();
    PrintSysDefTable(table, 61);

    std::vector<std::string> first = {Trimmed(FormatSysDefPrintHeader())};
    for (int i = 0; i < 59; ++i) {
        first.push_back(Trimmed(FormatPrintLine(*table[static_cast<std::size_t>(i)], i)));
    }
    const std::vector<std::string> second = {
        Trimmed(FormatSysDefPrintHeader()),
        Trimmed(FormatPrintLine(*table[59], 59)),
        Trimmed(FormatPrintLine(*table[60], 60)),
    };
    EXPECT_EQ(first[1], "    MAIN       L0 128  64    0     16       8 In(120,4) (124,4)");
    const auto pages = ReadPages();
    ASSERT_EQ(pages.size(), 2u);
    ExpectPage(pages[0], first);
    ExpectPage(pages[1], second);
}

struct PaperCase {
    const char* paper;
    bool landscape;
    int points;  // the font that takes 62 lines and a 40-character comment
};

// A4 and Letter with margins of 10 mm; the longest lines continue at the smallest font.
constexpr PaperCase kPapers[] = {
    {"A4", false, 9}, {"A4", true, 7}, {"Letter", false, 9}, {"Letter", true, 7}};

fw::PrinterSettings PdfOn(const QString& file, const PaperCase& c) {
    const bool a4 = std::string(c.paper) == "A4";
    fw::PrinterSettings settings;
    settings.outputFile = file.toStdString();
    settings.layout = {true, c.paper, a4 ? 210 : 215.9, a4 ? 297 : 279.4, c.landscape, 10, 10,
                       10,   10};
    return settings;
}

std::string Words(int count) {
    std::string words;
    for (int n = 1; n <= count; ++n) {
        const std::string number = std::to_string(n);
        words += (n > 1 ? " remark" : "remark") + std::string(3 - number.size(), '0') + number;
    }
    return words;
}

std::unique_ptr<CRemapEntry> Entry(int orig, int ports, std::string comment) {
    auto entry = std::make_unique<CRemapEntry>();
    *entry = CRemapEntry{"14:05:09",
                         "March 03 2002",
                         "MAIN",
                         "VIDEO",
                         0,
                         orig,
                         orig + ports - 1,
                         200 + orig,
                         200 + orig + ports - 1,
                         std::move(comment)};
    return entry;
}

TEST_F(QtPrintoutPdf, AFortyCharacterCommentPrintsWholeOnEveryPaper) {
    CTavDlg dlg;
    dlg.Table(IoType::Input) = std::make_unique<RemapTable>();
    dlg.Table(IoType::Input)->push_back(Entry(16, 2, "Camera 3 via spare card in slot 12, left"));
    const std::vector<std::string> lines = {dlg.FormatRemapPrintLine(IoType::Input, 0, 0),
                                            dlg.FormatRemapPrintLine(IoType::Input, 0, 1)};
    for (const PaperCase& c : kPapers) {
        SCOPED_TRACE(std::string(c.paper) + (c.landscape ? " landscape" : " portrait"));
        app.SelectPrinter(PdfOn(dir.filePath("printout.pdf"), c));
        AcceptPrintDialog();
        dlg.PrintRemapTable(IoType::Input);
        ExpectPrintedWhole(lines, FormatRemapPrintHeader(), 55, c.points);
    }
}

TEST_F(QtPrintoutPdf, LongCommentsContinueUnderTheCommentOnEveryPaper) {
    CTavDlg dlg;
    dlg.Table(IoType::Input) = std::make_unique<RemapTable>();
    for (int n = 0; n < 58; ++n) {
        dlg.Table(IoType::Input)->push_back(Entry(n, 1, " "));
    }
    dlg.Table(IoType::Input)->push_back(Entry(100, 3, Words(40)));
    dlg.Table(IoType::Input)->push_back(Entry(110, 1, Words(25)));
    std::vector<std::string> lines;
    for (int e = 0; e < 60; ++e) {
        for (int k = 0; k < (e == 58 ? 3 : 1); ++k) {
            lines.push_back(dlg.FormatRemapPrintLine(IoType::Input, e, k));
        }
    }
    for (const PaperCase& c : kPapers) {
        SCOPED_TRACE(std::string(c.paper) + (c.landscape ? " landscape" : " portrait"));
        app.SelectPrinter(PdfOn(dir.filePath("printout.pdf"), c));
        AcceptPrintDialog();
        dlg.PrintRemapTable(IoType::Input);
        ExpectPrintedWhole(lines, FormatRemapPrintHeader(), 55, 7);
    }
}

TEST_F(QtPrintoutPdf, TheLongestSystemDefinitionLineContinuesOnEveryPaper) {
    const sysdeftest::Ranges ranges(99, {999, 999});
    SysDefTable table;
    table.push_back(std::make_unique<SysDefRecord>(
        sysdeftest::Record("MAIN", "VIDEO", 128, 64, 16, 8, {{120, 4}})));
    for (int i = 0; i < 2; ++i) {
        table.push_back(std::make_unique<SysDefRecord>(
            sysdeftest::Record("SWITCHER", "LEVELNAM", 9999, 9999, 99, 99, ranges, ranges)));
    }
    std::vector<std::string> lines;
    for (int i = 0; i < 3; ++i) {
        lines.push_back(FormatPrintLine(*table[static_cast<std::size_t>(i)], i));
    }
    for (const PaperCase& c : kPapers) {
        SCOPED_TRACE(std::string(c.paper) + (c.landscape ? " landscape" : " portrait"));
        app.SelectPrinter(PdfOn(dir.filePath("printout.pdf"), c));
        AcceptPrintDialog();
        PrintSysDefTable(table, 3);
        ExpectPrintedWhole(lines, FormatSysDefPrintHeader(), 46, 7);
    }
}

}  // namespace
}  // namespace qttest
