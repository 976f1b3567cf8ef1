// The System Definition Table held by the main dialog: "TAV.SDF" read and written through File
// Access, the check against the configured levels, and what a failed save leaves behind.
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>

#include "app/tests/app_fixture.h"
#include "platform/control/file_access_codes.h"
#include "platform/control/simulation.h"
#include "platform/fw/resources.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"
#include "sysdef/tests/sysdef_records.h"

namespace apptest {
namespace {

using headless::Item;
using sysdeftest::ExpectSameTable;
using sysdeftest::Ranges;
using sysdeftest::Record;
using sysdeftest::Table;

// The default configuration's levels as a table whose rows all have board and idle ranges.
std::unique_ptr<SysDefTable> DefaultTable() {
    return Table({Record("MAIN", "VIDEO", 128, 64, 16, 16, {{120, 4}, {124, 4}}),
                  Record("MAIN", "AUDIO1", 64, 64, 8, 8, {}, {{56, 8}}),
                  Record("MAIN", "AUDIO2", 64, 32, 0, 0),
                  Record("STUDIO", "VIDEO", 32, 32, 4, 4, {{28, 4}}, {{0, 4}, {28, 4}}),
                  Record("STUDIO", "TC", 16, 16)});
}

constexpr const char* kDefaultFileText =
    "    MAIN   VIDEO 128  64 01616 2 0120  4124  4\n"
    "    MAIN  AUDIO1  64  64 1 8 8 0 1 56  8\n"
    "    MAIN  AUDIO2  64  32 2 0 0 0 0\n"
    "  STUDIO   VIDEO  32  32 3 4 4 1 2 28  4  0  4 28  4\n"
    "  STUDIO      TC  16  16 4 0 0 0 0\n";

class SysDefTableTest : public AppTest {
  protected:
    // Connects on config and reads the configured levels, as the main dialog does first.
    void Begin(control::Config config = control::DefaultConfig()) {
        Connect(std::move(config));
        ASSERT_TRUE(app->LoadLevelList());
        dlg = std::make_unique<CTavDlg>();
    }
    std::filesystem::path DataFile(const std::string& name = "TAV.SDF") {
        return dir / "data" / name;
    }
    std::optional<std::string> ReadFile() {
        std::ifstream in(DataFile(), std::ios::binary);
        return in ? std::optional(std::string(std::istreambuf_iterator<char>(in), {}))
                  : std::nullopt;
    }
    // Every entry of the data folder, so a test can see that nothing was left beside the file;
    // the lock file that workstations sharing the folder meet at stays, and is not counted.
    std::vector<std::string> DataFolderEntries() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir / "data")) {
            if (entry.path().filename() != ".tavora.lock") {
                names.push_back(entry.path().filename().string());
            }
        }
        return names;
    }
    // Saves table and expects that many more message boxes.
    void SaveExpectingABox(std::unique_ptr<SysDefTable> table, std::size_t more = 1) {
        dlg->SetSysDefTable(std::move(table));
        const std::size_t boxes = driver.MessageBoxes().size();
        dlg->SaveSysDefTable();
        EXPECT_EQ(driver.MessageBoxes().size(), boxes + more);
    }

    // The table read from the file, edited here (MAIN VIDEO's input range 8), while another
    // workstation saved the file with MAIN AUDIO1's input range 4; the operator answers the save's
    // question.
    void SaveOverAChangeMadeElsewhere(int answer) {
        Begin();
        Put("TAV.SDF", kDefaultFileText);
        dlg->KnownFiles().RememberNow({"TAV.SDF"});
        ASSERT_EQ(dlg->LoadSysDefTable(), 1);
        (*dlg->GetSysDefTable())[0]->m_nInRange = 8;
        std::string theirs = kDefaultFileText;
        theirs.replace(theirs.find("1 8 8"), 5, "1 4 8");
        Put("TAV.SDF", theirs);
        driver.Answer(answer);
        dlg->SaveSysDefTable();
        EXPECT_EQ(Transcript().back(),
                  std::string("msgbox caption=\"Save System Definition File\" icon=question "
                              "buttons=yesno text=\"TAV.SDF was changed at another workstation "
                              "since Tavora read it.\\nReplace it with the table edited here? No "
                              "keeps it and reads it again.\" -> ") +
                      (answer == fw::IDYES ? "yes" : "no"));
        std::string ours = kDefaultFileText;
        ours.replace(ours.find("01616"), 5, "0 816");
        EXPECT_EQ(ReadFile(), answer == fw::IDYES ? ours : theirs);
        ASSERT_NE(dlg->GetSysDefTable(), nullptr);
        EXPECT_EQ((*dlg->GetSysDefTable())[0]->m_nInRange, answer == fw::IDYES ? 8 : 16);
        EXPECT_EQ((*dlg->GetSysDefTable())[1]->m_nInRange, answer == fw::IDYES ? 8 : 4);
        EXPECT_EQ(control::OpenFileCount(), 0u);
    }

    std::unique_ptr<CTavDlg> dlg;
};

TEST_F(SysDefTableTest, SavesEveryRowWithItsPositionAndReadsItBackEvenPastTheReadBuffer) {
    Begin();
    dlg->SetSysDefTable(DefaultTable());
    dlg->SaveSysDefTable();
    EXPECT_EQ(ReadFile(), kDefaultFileText);
    CTavDlg other;
    ASSERT_EQ(other.LoadSysDefTable(), 1);
    ASSERT_NE(other.GetSysDefTable(), nullptr);
    ExpectSameTable(*other.GetSysDefTable(), *DefaultTable());
    EXPECT_EQ(other.IsSysDefTableCurrent(), 1);
    EXPECT_EQ(control::OpenFileCount(), 0u);
    EXPECT_EQ(DataFolderEntries(), std::vector<std::string>{"TAV.SDF"});

    // 100 rows, the last carrying 99 idle ranges each way: a 1222-character line, longer than
    // the read buffer, and a file of several buffers.
    auto table = std::make_unique<SysDefTable>();
    for (int i = 0; i < 99; ++i) {
        table->push_back(std::make_unique<SysDefRecord>(
            Record("SW" + std::to_string(i), "LEVEL" + std::to_string(i), i * 101, 9999 - i, i,
                   99 - i, {{static_cast<std::uint32_t>(i * 10), 4}})));
    }
    Ranges many;
    for (std::uint32_t k = 0; k < 99; ++k) {
        many.push_back({999 - k, k});
    }
    table->push_back(std::make_unique<SysDefRecord>(
        Record("ABCDEFGH", "12345678", 9999, 9999, 99, 99, many, many)));
    dlg->SetSysDefTable(std::move(table));
    dlg->SaveSysDefTable();
    EXPECT_TRUE(driver.MessageBoxes().empty());
    ASSERT_EQ(other.LoadSysDefTable(), 1);
    ExpectSameTable(*other.GetSysDefTable(), *dlg->GetSysDefTable());
    const auto text = ReadFile();
    EXPECT_EQ(text->substr(text->rfind('\n', text->size() - 2) + 1).size(), 1223u);
}

TEST_F(SysDefTableTest, LoadReplacesOrDropsTheTableHeldWithWhatTheFileHoldsUnvalidated) {
    Begin();
    const struct {
        const char* name;
        const char* file;  // nullptr: no file
        const char* fileName;
        int loaded;
        std::unique_ptr<SysDefTable> expected;  // nullptr: no table
    } cases[] = {
        {"missing file", nullptr, "TAV.SDF", 0, nullptr},
        {"empty file: an empty table, not current", "", "TAV.SDF", 1, Table({})},
        {"the name without regard to case", kDefaultFileText, "tav.sdf", 1, DefaultTable()},
        {"out of order positions, a carriage return, a blank then 8 in the input range, short "
         "lines, an idle count with missing ranges",
         "     sw1   video 128  64 9 8 0 0 0\r\n"
         "     SW2\n"
         "\n"
         "     SW3       L  32  32 0 8 8 2 0 24  8\n",
         "TAV.SDF", 1,
         Table({Record("sw1", "video", 128, 64, 8, 0), Record("SW2", "", 0, 0),
                Record("", "", 0, 0), Record("SW3", "L", 32, 32, 8, 8, {{24, 8}, {0, 0}})})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : std::filesystem::directory_iterator(dir / "data")) {
            std::filesystem::remove(entry.path());
        }
        if (c.file != nullptr) {
            Put(c.fileName, c.file);
        }
        dlg->SetSysDefTable(DefaultTable());
        EXPECT_EQ(dlg->LoadSysDefTable(), c.loaded);
        ASSERT_EQ(dlg->GetSysDefTable() != nullptr, c.expected != nullptr);
        if (c.expected != nullptr) {
            ExpectSameTable(*dlg->GetSysDefTable(), *c.expected);
        }
        EXPECT_EQ(dlg->IsSysDefTableCurrent(), c.file == kDefaultFileText ? 1 : 0);
        EXPECT_EQ(DataFolderEntries().size(), c.file != nullptr ? 1u : 0u);
    }
    EXPECT_EQ(control::OpenFileCount(), 0u);
    EXPECT_TRUE(driver.MessageBoxes().empty());
}

TEST_F(SysDefTableTest, CurrentWhenNamesAndPortCountsMatchInOrder) {
    Begin();
    const struct {
        const char* name;
        void (*change)(SysDefTable&);
        int current;
    } cases[] = {
        {"as configured", [](SysDefTable&) {}, 1},
        {"switcher in other case", [](SysDefTable& t) { t[0]->m_strSwitcher = "main"; }, 1},
        {"level in other case", [](SysDefTable& t) { t[3]->m_strLevel = "Video"; }, 1},
        {"board ranges differ", [](SysDefTable& t) { t[0]->m_nInRange = 8; }, 1},
        {"idle ranges differ", [](SysDefTable& t) { *t[1] = Record("MAIN", "AUDIO1", 64, 64); }, 1},
        {"switcher differs", [](SysDefTable& t) { t[4]->m_strSwitcher = "STUDIO2"; }, 0},
        {"level differs", [](SysDefTable& t) { t[2]->m_strLevel = "AUDIO3"; }, 0},
        {"a name with a trailing blank", [](SysDefTable& t) { t[2]->m_strLevel = "AUDIO2 "; }, 0},
        {"inputs differ", [](SysDefTable& t) { t[0]->m_nInputs = 127; }, 0},
        {"outputs differ", [](SysDefTable& t) { t[3]->m_nOutputs = 33; }, 0},
        {"rows swapped", [](SysDefTable& t) { std::swap(t[1], t[2]); }, 0},
        {"a row missing", [](SysDefTable& t) { t.pop_back(); }, 0},
        {"a row too many", [](SysDefTable& t) { t.push_back(std::move(DefaultTable()->at(0))); },
         0},
        {"no rows", [](SysDefTable& t) { t.clear(); }, 0},
    };
    for (const auto& c : cases) {
        auto table = DefaultTable();
        c.change(*table);
        dlg->SetSysDefTable(std::move(table));
        EXPECT_EQ(dlg->IsSysDefTableCurrent(), c.current) << c.name;
    }
    dlg->SetSysDefTable(nullptr);
    EXPECT_EQ(dlg->IsSysDefTableCurrent(), 0);
}

TEST_F(SysDefTableTest, NoLevelsAndAnEmptyTableIsCurrent) {
    control::Config config = control::DefaultConfig();
    config.levels.clear();
    Begin(config);
    ASSERT_EQ(app->GetLevelCount(), 0);
    dlg->SetSysDefTable(std::make_unique<SysDefTable>());
    EXPECT_EQ(dlg->IsSysDefTableCurrent(), 1);
    dlg->SetSysDefTable(Table({Record("MAIN", "VIDEO", 128, 64)}));
    EXPECT_EQ(dlg->IsSysDefTableCurrent(), 0);
}

TEST_F(SysDefTableTest, RowCountIsComparedWithTheConfiguredLevelCount) {
    // The level list stops after two of five levels: the count read and the list disagree.
    control::Config config = control::DefaultConfig();
    config.faults.push_back(
        control::Fault(control::ComponentId::SwitcherDescTable, "GetLevelName", com::E_FAIL, 2, 1));
    Connect(config);
    driver.Then([](fw::CWnd& w) { Item(w, fw::IDOK).UserClick(); });  // the error dialog
    ASSERT_FALSE(app->LoadLevelList());
    ASSERT_EQ(app->GetLevels().size(), 2u);
    ASSERT_EQ(app->GetLevelCount(), 5);
    dlg = std::make_unique<CTavDlg>();
    // As many rows as the list has entries, but not as many as there are levels.
    auto two = DefaultTable();
    two->resize(2);
    dlg->SetSysDefTable(std::move(two));
    EXPECT_EQ(dlg->IsSysDefTableCurrent(), 0);
    // As many rows as levels: the entries there are decide.
    dlg->SetSysDefTable(DefaultTable());
    EXPECT_EQ(dlg->IsSysDefTableCurrent(), 1);
    auto changed = DefaultTable();
    (*changed)[1]->m_nInputs = 1;
    dlg->SetSysDefTable(std::move(changed));
    EXPECT_EQ(dlg->IsSysDefTableCurrent(), 0);
}

// Which column is named is FindUnfitValue's; here: the table is kept, the file left untouched.
TEST_F(SysDefTableTest, ValuesThatDoNotFitAreRefusedAndNothingIsWritten) {
    Begin();
    Put("TAV.SDF", "previous content\n");
    auto table = DefaultTable();
    (*table)[2]->m_strSwitcher = "MAINFRAME";
    const SysDefTable* held = table.get();
    SaveExpectingABox(std::move(table));
    EXPECT_EQ(Transcript().back(),
              "msgbox caption=\"Save System Definition File\" icon=stop buttons=ok "
              "text=\"The System Definition Table was not saved.\\nRow 3 (Switcher MAINFRAME, "
              "Level AUDIO2): Switcher name \\\"MAINFRAME\\\" has 9 characters; the file holds at "
              "most 8.\" -> ok");
    EXPECT_EQ(ReadFile(), "previous content\n");
    EXPECT_EQ(DataFolderEntries(), std::vector<std::string>{"TAV.SDF"});
    EXPECT_EQ(dlg->GetSysDefTable(), held);
    EXPECT_EQ(dlg->GetSysDefTable()->size(), 5u);
    EXPECT_EQ(control::OpenFileCount(), 0u);
    // A refused table that is not there yet creates no file either.
    std::filesystem::remove(DataFile());
    dlg->SaveSysDefTable();
    EXPECT_FALSE(ReadFile().has_value());
}

constexpr const char* kNotWrittenBox =
    "msgbox caption=\"Save System Definition File\" icon=stop buttons=ok text=\"TAV.SDF was not "
    "written. The table just entered stays in force until Tavora ends; to save it, choose View > "
    "System Definition and OK.\" -> ok";

// The table just entered stays in force whatever keeps the file from being written.
TEST_F(SysDefTableTest, OpenFailureOnSaveKeepsTheTable) {
    Begin();
    // File Access refuses the save's open, with its own code or with another facility's. (The
    // call before it reads what the file holds now, to see whether another workstation changed
    // it.)
    for (const com::HRESULT hr : {control::kFileShareViolation, com::E_FAIL}) {
        std::filesystem::remove_all(DataFile("tav.sdf"));
        control::InjectFault(control::Fault(control::ComponentId::FileAccess, "Open", hr, 1, 1));
        auto table = DefaultTable();
        const SysDefTable* held = table.get();
        SaveExpectingABox(std::move(table), 2);
        ASSERT_GE(Transcript().size(), 2u);
        EXPECT_EQ(Transcript()[Transcript().size() - 2],
                  "msgbox caption=\"Save System Definition File\" icon=none buttons=ok "
                  "text=\"Open file failure\" -> ok");
        EXPECT_EQ(Transcript().back(), kNotWrittenBox);
        EXPECT_EQ(dlg->GetSysDefTable(), held);
        EXPECT_FALSE(ReadFile().has_value());
        EXPECT_EQ(control::OpenFileCount(), 0u);
    }
}

// A folder in the file's place cannot be read, so nobody can tell whether another workstation
// changed the file: the failure is reported, nothing is written, and the table edited here is
// kept for the operator.
TEST_F(SysDefTableTest, AFileThatCannotBeReadIsNeitherCheckedNorOverwritten) {
    Begin();
    std::filesystem::create_directory(DataFile("tav.sdf"));
    auto table = DefaultTable();
    const SysDefTable* held = table.get();
    dlg->SetSysDefTable(std::move(table));
    std::string message;
    driver.Then([&message](fw::CWnd& w) {
        message = Item(w, IDC_ERROR_MESSAGE).GetWindowText();
        Item(w, fw::IDOK).UserClick();
    });
    dlg->SaveSysDefTable();
    EXPECT_TRUE(driver.Exhausted());
    EXPECT_EQ(message, fw::LoadString(IDS_ERR_FILE_ACCESS));
    // The table stays in force, and the operator is told so.
    EXPECT_EQ(Transcript().back(), kNotWrittenBox);
    EXPECT_EQ(dlg->GetSysDefTable(), held);
    EXPECT_TRUE(std::filesystem::is_directory(DataFile("tav.sdf")));
    EXPECT_EQ(control::OpenFileCount(), 0u);
}

// TAV.SDF changed at another workstation since it was read here is never overwritten unasked: Yes
// replaces it with the table edited here, No keeps it and the table is read from it again.
TEST_F(SysDefTableTest, ASaveOverAChangeMadeElsewhereAsksFirstAndReplacesOnYes) {
    SaveOverAChangeMadeElsewhere(fw::IDYES);
}

TEST_F(SysDefTableTest, ASaveOverAChangeMadeElsewhereKeepsItOnNo) {
    SaveOverAChangeMadeElsewhere(fw::IDNO);
}

TEST_F(SysDefTableTest, WriteFailureKeepsTheTableAndThePreviousFile) {
    Begin();
    Put("TAV.SDF", kDefaultFileText);
    dlg->KnownFiles().RememberNow({"TAV.SDF"});  // the table held was read from it
    // The second line's write fails.
    control::InjectFault(control::Fault(control::ComponentId::FileAccess, "Write",
                                        com::HRESULT_FROM_WIN32(com::ERROR_DISK_FULL), 1, 1));
    auto table = DefaultTable();
    (*table)[0]->m_nInRange = 8;
    const SysDefTable* held = table.get();
    dlg->SetSysDefTable(std::move(table));
    std::string message;
    driver.Then([&message](fw::CWnd& w) {
        message = Item(w, IDC_ERROR_MESSAGE).GetWindowText();
        Item(w, fw::IDOK).UserClick();
    });
    dlg->SaveSysDefTable();  // the failure does not escape
    EXPECT_TRUE(driver.Exhausted());
    EXPECT_EQ(message, fw::LoadString(IDS_ERR_FILE_ACCESS));
    EXPECT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(Transcript().back(), kNotWrittenBox);
    EXPECT_EQ(dlg->GetSysDefTable(), held);
    EXPECT_EQ(dlg->GetSysDefTable()->size(), 5u);
    EXPECT_EQ(control::OpenFileCount(), 0u);
    // The replacement broke off, so File Access keeps the previous file whole, not cut short.
    EXPECT_EQ(ReadFile(), kDefaultFileText);
    EXPECT_EQ(DataFolderEntries(), std::vector<std::string>{"TAV.SDF"});
    // The table kept in memory is saved whole once writing works again.
    dlg->SaveSysDefTable();
    std::string expected = kDefaultFileText;
    expected.replace(expected.find("01616"), 5, "0 816");
    EXPECT_EQ(ReadFile(), expected);
}

TEST_F(SysDefTableTest, FreeAndSetTakeCareOfTheTableHeldAndNoTableIsWritten) {
    Begin();
    auto table = DefaultTable();
    SysDefTable* first = table.get();
    dlg->SetSysDefTable(std::move(table));
    // Freeing another table, or none, leaves the held one alone.
    auto other = DefaultTable();
    dlg->FreeSysDefTable(other);
    EXPECT_EQ(other, nullptr);
    std::unique_ptr<SysDefTable> none;
    dlg->FreeSysDefTable(none);
    EXPECT_EQ(dlg->GetSysDefTable(), first);

    // No table, or an empty one, is never written.
    dlg->SetSysDefTable(nullptr);
    Put("TAV.SDF", "previous content\n");
    dlg->SaveSysDefTable();
    dlg->SetSysDefTable(std::make_unique<SysDefTable>());
    dlg->SaveSysDefTable();
    EXPECT_EQ(ReadFile(), "previous content\n");
    EXPECT_NE(dlg->GetSysDefTable(), nullptr);
    std::filesystem::remove(DataFile());
    dlg->SaveSysDefTable();
    EXPECT_FALSE(ReadFile().has_value());
    EXPECT_TRUE(driver.MessageBoxes().empty());
}

}  // namespace
}  // namespace apptest
