// The remap tables and their files.
#include "app/tests/app_fixture.h"
#include "common/format.h"
#include "platform/com/com.h"
#include "remap/remap_line.h"
#include "remap/tav_dlg.h"

namespace apptest {
namespace {

constexpr char kEntry[] = "14:05:09,March 03 2002,MAIN,VIDEO,0,5,5,120,120,spare card";

std::string Repeated(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) {
        all += text;
    }
    return all;
}

class RemapTablesTest : public AppTest {
  protected:
    void SetUp() override {
        control::Config config = control::DefaultConfig();
        config.activeSetCrc = 65535;
        Connect(config);
        ASSERT_TRUE(app->LoadLevelList());
    }
    bool Exists(const std::string& name) { return std::filesystem::exists(dir / "data" / name); }
    // Saves table io as name through the component, as the file dialog does.
    void SaveAs(IoType io, const char* name) {
        control::IFileAccess* files = app->GetFileAccess();
        std::uint32_t handle = 0;
        ASSERT_EQ(files->Open(10, name, 0x112, 0x12, &handle), com::S_OK);
        EXPECT_TRUE(dlg.SaveRemapTableAs(io, handle));
        ASSERT_EQ(files->Close(handle), com::S_OK);
    }
    // Loads the default input file as the start-up does; false when the table was dropped.
    bool LoadInput() {
        if (!dlg.OpenRemapTableFile(IoType::Input, fw::FALSE, fw::TRUE, {})) {
            return false;
        }
        const bool ok = dlg.LoadRemapTable(IoType::Input) && dlg.VerifyRemapTable(IoType::Input);
        if (!ok) {
            dlg.ClearRemapTable(IoType::Input);
        }
        dlg.CloseRemapTableFile();
        return ok;
    }
    CTavDlg dlg;
};

TEST_F(RemapTablesTest, ChecksumLineComparedOnSixteenBits) {
    const std::pair<const char*, bool> cases[] = {
        {"CONFIGCRC(-1)\r\n", false},
        {"CONFIGCRC(65535)\r\n", false},
        {"14:03:07,July 11 2002,CONFIGCRC(65535)\n", false},  // the time-stamped form
        {"CONFIGCRC(1234)\r\n", true},
    };
    for (const auto& [file, warned] : cases) {
        SCOPED_TRACE(file);
        driver = headless::QueuedDriver();
        backend.GetTranscript().Clear();
        Put("TAV.IXT", std::string(file) + kEntry + "\r\n");
        ASSERT_TRUE(LoadInput());
        ASSERT_TRUE(dlg.Table(IoType::Input));
        EXPECT_EQ(dlg.Table(IoType::Input)->size(), 1u);
        EXPECT_EQ(!Transcript().empty(), warned);
    }
    EXPECT_EQ(Transcript().back(),
              R"(msgbox caption="tavora" icon=exclamation buttons=ok text="This remap table was )"
              R"(created under a different configuration set.  This may cause unpredictable )"
              R"(behavior with this application unless the switcher tables are identical." -> ok)");
}

TEST_F(RemapTablesTest, ReadingCases) {
    struct Case {
        const char* name;
        std::string content;
        bool loads;
        std::size_t entries;  // 0 with loads: no table at all
        std::string comment;
    };
    const std::vector<Case> cases = {
        {"only the checksum line: no table", "CONFIGCRC(-1)\r\n", true, 0, ""},
        {"comment with a comma: read up to it",
         std::string("CONFIGCRC(-1)\r\n") +
             "14:05:09,March 03 2002,MAIN,VIDEO,0,5,5,120,120,a,b\r\n",
         true, 1, "a"},
        {"blank comment", "CONFIGCRC(-1)\r\n14:05:09,March 03 2002,MAIN,VIDEO,0,5,5,120,120, \r\n",
         true, 1, " "},
        {"appended line without CR keeps its whole comment",
         "CONFIGCRC(-1)\r\n14:05:09,March 03 2002,MAIN,VIDEO,0,5,5,120,120,spare card\n", true, 1,
         "spare card"},
        {"line of only a CR: empty entry, dropped by the check", "CONFIGCRC(-1)\r\n\r\n", false, 0,
         ""},
        {"empty line: load fails", "CONFIGCRC(-1)\r\n\n", false, 0, ""},
        {"names of another configuration: dropped",
         "CONFIGCRC(-1)\r\n14:05:09,March 03 2002,MAIN,AUDIO9,0,5,5,120,120,x\r\n", false, 0, ""},
        {"names of another configuration after twenty good lines: dropped",
         "CONFIGCRC(-1)\r\n" +
             Repeated("14:05:09,March 03 2002,MAIN,VIDEO,0,5,5,120,120,x\r\n", 20) +
             "14:05:09,March 03 2002,MAIN,AUDIO9,0,6,6,121,121,x\r\n",
         false, 0, ""},
        {"names compared without case",
         "CONFIGCRC(-1)\r\n14:05:09,March 03 2002,main,video,0,5,5,120,120,x\r\n", true, 1, "x"},
        {"first line without marker is an entry", std::string(kEntry) + "\r\n", true, 1,
         "spare card"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Put("TAV.IXT", c.content);
        EXPECT_EQ(LoadInput(), c.loads);
        if (c.loads && c.entries > 0) {
            ASSERT_TRUE(dlg.Table(IoType::Input));
            ASSERT_EQ(dlg.Table(IoType::Input)->size(), c.entries);
            EXPECT_EQ(dlg.Table(IoType::Input)->front()->m_strComment, c.comment);
        } else {
            EXPECT_FALSE(dlg.Table(IoType::Input));
        }
    }
}

TEST_F(RemapTablesTest, NamesWithAnXReadBackAsWritten) {
    control::Config config = control::DefaultConfig();
    config.levels[0].switcher = "mixsw";
    config.levels[0].level = "xvid";
    control::ResetSimulation();
    app.reset();
    Connect(config);
    ASSERT_TRUE(app->LoadLevelList());
    Put("TAV.IXT", "CONFIGCRC(0)\r\n14:05:09,March 03 2002,mixsw,xvid,0,0x5,5,120,120,box\r\n");
    driver.Answer(fw::IDOK);
    ASSERT_TRUE(LoadInput());
    const CRemapEntry& e = *dlg.Table(IoType::Input)->front();
    EXPECT_EQ(e.m_strSwitcher, "mixsw");
    EXPECT_EQ(e.m_strLevel, "xvid");
    EXPECT_EQ(e.m_nOrigFirst, 5);  // numbers still drop an "0x" prefix
    EXPECT_EQ(e.m_strComment, "box");
}

TEST_F(RemapTablesTest, RewriteWritesChecksumAndEntriesWithCrLf) {
    Put("TAV.IXT", std::string("CONFIGCRC(-1)\r\n") + kEntry + "\r\n");
    ASSERT_TRUE(LoadInput());
    ASSERT_TRUE(dlg.OpenRemapTableFile(IoType::Input, fw::TRUE, fw::TRUE, {}));
    dlg.WriteRemapTableFile(IoType::Input);
    dlg.CloseRemapTableFile();
    EXPECT_EQ(Get("TAV.IXT"), std::string("CONFIGCRC(65535)\r\n") + kEntry + "\r\n");
    dlg.ClearRemapTable(IoType::Input);
    ASSERT_TRUE(dlg.OpenRemapTableFile(IoType::Input, fw::TRUE, fw::TRUE, {}));
    dlg.WriteRemapTableFile(IoType::Input);
    dlg.CloseRemapTableFile();
    EXPECT_EQ(Get("TAV.IXT"), "CONFIGCRC(65535)\r\n");
}

TEST_F(RemapTablesTest, CommentsNeverBreakTheFormat) {
    EXPECT_EQ(TableComment(""), " ");
    EXPECT_EQ(TableComment("card 3, slot 2\r\nswap"), "card 3; slot 2 swap");
    EXPECT_EQ(TableComment("fine"), "fine");
}

// A damaged line is never read as an entry: a missing field would otherwise repeat the last one
// (an interrupted append turning 5 -> 60 into 5 -> 5), and a number beyond what the table can
// hold would wrap or overflow the port count.
TEST_F(RemapTablesTest, ALineWithMissingOrOutOfRangeFieldsIsNoEntry) {
    const std::string head = "14:05:09,March 03 2002,MAIN,VIDEO,";
    const struct {
        std::string line;
        bool entry;
    } cases[] = {
        {head + "0,5,5,60,60,spare", true},
        {head + "0,5,5,60,60,", false},  // cut after the last comma: the comment is missing
        {head + "0,5,5,60,60", false},   // cut before the comment
        {head + "0,5,5,60,6", false},
        {head + "0,5,5", false},
        {"14:05:09,Mar", false},
        {"", false},
        {"\r", false},
        {head + "99,9999,9999,9999,9999,x", true},
        {head + "100,5,5,60,60,x", false},
        {head + "0,10000,5,60,60,x", false},
        {head + "0,5,5,60,4294967356,x", false},  // 60 once wrapped to 32 bits
        {head + "0,5,5,-2147483648,2147483647,x", false},
        {head + "0,5,5,60,99999999999999999999999,x", false},
        {head + "-1,5,5,60,60,x", false},
        {head + "0,0x5,5, 60,+60,x", true},
        {head + std::string("0,5,5,60,60,\0\0\0\x02", 16), false},  // NUL bytes: found by fuzzing
        {std::string("14:05\0", 6) + ",March 03 2002,MAIN,VIDEO,0,5,5,60,60,x", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto entry = ParseRemapLine(c.line);
        ASSERT_EQ(entry != nullptr, c.entry);
        if (entry) {
            EXPECT_GE(entry->PortCount(), -9998);
            EXPECT_LE(entry->PortCount(), 10000);
        }
    }
    // Found by fuzzing: an empty comment before an eleventh field was written back as a line that
    // could not be read.
    const auto extra = ParseRemapLine(head + "0,5,5,60,60,,more");
    ASSERT_TRUE(extra);
    EXPECT_TRUE(ParseRemapLine(FormatRemapLine(*extra)));
    const auto whole = ParseRemapLine(head + "0,5,5,60,60,spare");
    EXPECT_EQ(whole->m_nNewFirst, 60);
    EXPECT_EQ(whole->m_strComment, "spare");

    // A file whose last line was cut short does not load at all.
    Put("TAV.IXT", "CONFIGCRC(-1)\r\n" + head + "0,1,1,20,20,a\r\n" + head + "0,5,5,60,6");
    EXPECT_FALSE(LoadInput());
    EXPECT_FALSE(dlg.Table(IoType::Input));
}

// A table file that cannot be used is copied aside byte for byte before anything rewrites it, the
// operator is told once, and an empty table takes its place.
TEST_F(RemapTablesTest, AnUnusableTableFileIsKeptAsideAndTheOperatorTold) {
    const std::string damaged = std::string("CONFIGCRC(-1)\r\n") + kEntry + "\r\n" +
                                "14:05:09,March 03 2002,MAIN,VIDEO,0,5,5,60,6";
    const std::string foreign =
        "CONFIGCRC(-1)\r\n14:05:09,March 03 2002,MAIN,AUDIO9,0,5,5,120,120,x\r\n";
    Put("TAV.IXT", damaged);
    ASSERT_FALSE(LoadInput());
    dlg.SetAsideUnusableTable(IoType::Input);
    EXPECT_EQ(Get("TAV.IXT.1.BAD"), damaged);
    EXPECT_EQ(Get("TAV.IXT"), "CONFIGCRC(65535)\r\n");
    ASSERT_FALSE(Transcript().empty());  // the whole text is damaged_table_kept_aside.scn's
    EXPECT_NE(Transcript().back().find("TAV.IXT is damaged"), std::string::npos);
    const std::size_t told = Transcript().size();
    EXPECT_TRUE(LoadInput()) << "the next start finds an empty table";
    EXPECT_EQ(Transcript().size(), told);

    // A second unusable file never overwrites the first copy.
    Put("TAV.IXT", foreign);
    ASSERT_FALSE(LoadInput());
    dlg.SetAsideUnusableTable(IoType::Input);
    EXPECT_EQ(Get("TAV.IXT.1.BAD"), damaged);
    EXPECT_EQ(Get("TAV.IXT.2.BAD"), foreign);
}

// A name a copy cannot take (a dangling link, a folder) is passed over for the next free one; the
// link is left as it was.
TEST_F(RemapTablesTest, ACopyAsideTakesTheNextNameNothingStandsUnder) {
    const std::string damaged = "CONFIGCRC(-1)\r\n14:05:09,March 03 2002,MAIN,VIDEO,0,5,5,60,6";
    const std::filesystem::path data = dir / "data";
    std::filesystem::create_symlink(dir / "nowhere", data / "TAV.IXT.1.BAD");
    std::filesystem::create_directory(data / "TAV.IXT.2.BAD");
    Put("TAV.IXT", damaged);
    ASSERT_FALSE(LoadInput());
    dlg.SetAsideUnusableTable(IoType::Input);
    EXPECT_EQ(Get("TAV.IXT.3.BAD"), damaged);
    EXPECT_EQ(Get("TAV.IXT"), "CONFIGCRC(65535)\r\n");
    EXPECT_TRUE(std::filesystem::is_symlink(data / "TAV.IXT.1.BAD"));
    EXPECT_FALSE(std::filesystem::exists(dir / "nowhere"));
    EXPECT_FALSE(dlg.IsTableHeld(IoType::Input));
}

// A table file that cannot be copied aside is held as it is, and the operator told why and what to
// do: with every name for a copy taken, or when the file cannot even be read.
TEST_F(RemapTablesTest, ATableThatCannotBeCopiedAsideIsHeldWithTheOperatorToldWhatToDo) {
    const std::string held =
        "The remap table file TAV.IXT %s\\nIt could not be copied aside, so "
        "it is kept as it is, and no input remap or restore can be made "
        "until it is dealt with.\\n%s";
    const struct {
        bool readable;
        std::string told;
    } cases[] = {
        {true, tav::Format(held,
                           "is damaged or was written for another configuration; its remaps are "
                           "not in force.",
                           "Move the copies TAV.IXT.1.BAD to TAV.IXT.99.BAD out of the data "
                           "folder, then try again.")},
        {false, tav::Format(held, "could not be read; its remaps are not shown.",
                            "Copy TAV.IXT elsewhere and move it out of the data folder, then try "
                            "again.")},
    };
    const std::string damaged = "CONFIGCRC(-1)\r\nx\r\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.readable);
        Put("TAV.IXT", damaged);
        for (int n = 1; n <= 99 && c.readable; ++n) {
            Put("TAV.IXT." + std::to_string(n) + ".BAD", "");
        }
        CTavDlg main;
        ASSERT_TRUE(main.OpenRemapTableFile(IoType::Input, fw::FALSE, fw::TRUE, {}));
        main.CloseRemapTableFile();
        if (c.readable) {
            main.SetAsideUnusableTable(IoType::Input);
        } else {
            control::InjectFault(
                control::Fault(control::ComponentId::FileAccess, "Read", com::E_FAIL));
            main.KeepUnreadableTable(IoType::Input);
            control::ClearInjectedFaults();
        }
        EXPECT_TRUE(main.IsTableHeld(IoType::Input));
        EXPECT_FALSE(main.IsTableHeld(IoType::Output));
        ASSERT_FALSE(Transcript().empty());
        EXPECT_EQ(Transcript().back(),
                  "msgbox caption=\"tavora\" icon=stop buttons=ok text=\"" + c.told + "\" -> ok");
        EXPECT_EQ(Get("TAV.IXT"), damaged);
        EXPECT_FALSE(Exists("TAV.IXT.100.BAD"));
        std::filesystem::remove_all(dir / "data");
        std::filesystem::create_directories(dir / "data");
    }
}

TEST_F(RemapTablesTest, FieldReaderRepeatsTheLastFieldAndFailsAtTheEnd) {
    std::string field;
    std::size_t position = 0;
    const std::string line = "a,b";
    ASSERT_TRUE(CTavDlg::GetNextField(line, position, field));
    EXPECT_EQ(field, "a");
    ASSERT_TRUE(CTavDlg::GetNextField(line, position, field));
    EXPECT_EQ(field, "b");
    ASSERT_TRUE(CTavDlg::GetNextField(line, position, field));
    EXPECT_EQ(field, "b");  // the same text again
    position = 3;
    EXPECT_FALSE(CTavDlg::GetNextField(line, position, field));
}

TEST_F(RemapTablesTest, SavedCopySelectedThenChangedWritesTheDefaultFile) {
    const std::string original = std::string("CONFIGCRC(65535)\r\n") + kEntry + "\r\n";
    Put("TAV.IXT", original);
    ASSERT_TRUE(LoadInput());
    SaveAs(IoType::Input, "COPY1.IXT");
    EXPECT_EQ(Get("COPY1.IXT"), original);

    dlg.ClearRemapTable(IoType::Input);
    EXPECT_TRUE(dlg.SelectRemapTable(IoType::Input, "COPY1.IXT"));
    ASSERT_TRUE(dlg.Table(IoType::Input));
    EXPECT_EQ(dlg.TableFile(IoType::Input), "COPY1.IXT");
    // A change rewrites the default file, as the Remap command does.
    dlg.Table(IoType::Input)
        ->push_back(dlg.CopyRemapEntry(*dlg.Table(IoType::Input)->front(), 6, 6, 121, 121));
    ASSERT_TRUE(dlg.OpenRemapTableFile(IoType::Input, fw::TRUE, fw::TRUE, {}));
    dlg.WriteRemapTableFile(IoType::Input);
    dlg.CloseRemapTableFile();
    EXPECT_EQ(dlg.TableFile(IoType::Input), "TAV.IXT");
    EXPECT_EQ(Get("COPY1.IXT"), original);
    EXPECT_NE(Get("TAV.IXT").find(",6,6,121,121,spare card\r\n"), std::string::npos);
    EXPECT_EQ(dlg.CountRemappedPorts(IoType::Input), 2);
}

TEST_F(RemapTablesTest, SavingAnAbsentTableOverAFileReplacesItWithAnEmptyTable) {
    Put("COPY1.IXT", std::string("CONFIGCRC(65535)\r\n") + kEntry + "\r\n");
    dlg.Table(IoType::Input).reset();
    SaveAs(IoType::Input, "COPY1.IXT");
    EXPECT_EQ(Get("COPY1.IXT"), "CONFIGCRC(65535)\r\n");
    // Selected later, it brings no stale entries back.
    EXPECT_TRUE(dlg.SelectRemapTable(IoType::Input, "COPY1.IXT"));
    EXPECT_EQ(dlg.CountRemappedPorts(IoType::Input), 0);
}

TEST_F(RemapTablesTest, RefusedSelectionKeepsTheWorkingTableAndSaysWhy) {
    Put("TAV.IXT", std::string("CONFIGCRC(65535)\r\n") + kEntry + "\r\n");
    ASSERT_TRUE(LoadInput());
    const struct {
        const char* name;
        const char* content;  // nullptr: no such file
        const char* says;
    } cases[] = {
        {"NOSUCH.IXT", nullptr,
         "icon=stop buttons=ok text=\"Error occured when trying to open a log file.\\nFilename:"
         "NOSUCH.IXT\\n"},
        {"OTHER.IXT", "CONFIGCRC(65535)\r\n\n", "could not be read and was not selected"},
        {"OTHER.IXT", "CONFIGCRC(65535)\r\n14:05:09,March 03 2002,NOWHERE,VIDEO,0,1,1,2,2,x\r\n",
         "does not match the configuration and was not selected"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        if (c.content != nullptr) {
            Put(c.name, c.content);
        }
        const std::size_t before = Transcript().size();
        EXPECT_TRUE(dlg.SelectRemapTable(IoType::Input, c.name));
        ASSERT_EQ(Transcript().size(), before + 1);
        EXPECT_NE(Transcript().back().find(c.says), std::string::npos) << Transcript().back();
        EXPECT_NE(Transcript().back().find("icon=stop"), std::string::npos);
        ASSERT_TRUE(dlg.Table(IoType::Input));
        EXPECT_EQ(dlg.Table(IoType::Input)->size(), 1u);
        EXPECT_EQ(dlg.Table(IoType::Input)->front()->m_strSwitcher, "MAIN");
        EXPECT_EQ(dlg.TableFile(IoType::Input), "TAV.IXT");
    }
    EXPECT_FALSE(Exists("NOSUCH.IXT"));
}

TEST_F(RemapTablesTest, OpenFailureShowsTheLogFileMessage) {
    EXPECT_FALSE(dlg.OpenRemapTableFile(IoType::Input, fw::FALSE, fw::FALSE, "bad/name.ixt"));
    EXPECT_FALSE(dlg.OpenRemapTableFile(IoType::Input, fw::FALSE, fw::FALSE, ""));  // no message
    ASSERT_EQ(Transcript().size(), 1u);
    EXPECT_EQ(Transcript()[0],
              R"(msgbox caption="tavora" icon=stop buttons=ok text="Error occured when trying to )"
              R"(open a log file.\nFilename:bad/name.ixt\n" -> ok)");
    EXPECT_EQ(dlg.GetRemapFile(), nullptr);
}

TEST_F(RemapTablesTest, WriteFailureShowsMessageAndClosesTheFile) {
    Put("TAV.IXT", std::string("CONFIGCRC(65535)\r\n") + kEntry + "\r\n");
    ASSERT_TRUE(LoadInput());
    ASSERT_TRUE(dlg.OpenRemapTableFile(IoType::Input, fw::TRUE, fw::TRUE, {}));
    control::InjectFault(
        control::Fault(control::ComponentId::FileAccess, "Write", com::HRESULT_FROM_WIN32(112), 1));
    driver.Then([](fw::CWnd& w) { headless::Item(w, fw::IDOK).UserClick(); });
    dlg.WriteRemapTableFile(IoType::Input);
    EXPECT_EQ(dlg.GetRemapFile(), nullptr);
    EXPECT_EQ(Transcript().back(),
              R"(msgbox caption="tavora" icon=stop buttons=ok text="Error occurred while trying )"
              R"(to write to the log file" -> ok)");
    // The replaced content only takes the file's place at a clean close: the old file stays.
    EXPECT_EQ(Get("TAV.IXT"), std::string("CONFIGCRC(65535)\r\n") + kEntry + "\r\n");
}

}  // namespace
}  // namespace apptest
