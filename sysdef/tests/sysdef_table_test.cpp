// The System Definition Table held by the main dialog: "TAV.SDF" read and written through File
// Access, the check against the configured levels, and what a failed save leaves behind.
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include "app/tests/app_fixture.h"
#include "platform/control/file_access_codes.h"
#include "platform/control/simulation.h"
#include "platform/fw/resources.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"

namespace apptest {
namespace {

using headless::Item;
using Ranges = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

constexpr const char* kExampleLine = "     SW1   VIDEO 128  64 01616 2 0120  4124  4";
constexpr const char* kSaveCaption = "Save System Definition File";

std::unique_ptr<SysDefRecord> Record(std::string switcher, std::string level, int inputs,
                                     int outputs, int inRange = 0, int outRange = 0,
                                     const Ranges& idleIn = {}, const Ranges& idleOut = {}) {
    auto r = std::make_unique<SysDefRecord>();
    r->m_strSwitcher = std::move(switcher);
    r->m_strLevel = std::move(level);
    r->m_nInputs = inputs;
    r->m_nOutputs = outputs;
    r->m_nInRange = inRange;
    r->m_nOutRange = outRange;
    auto set = [](const Ranges& ranges, std::int32_t& count,
                  std::optional<std::vector<std::uint32_t>>& starts,
                  std::optional<std::vector<std::uint32_t>>& lengths) {
        count = static_cast<std::int32_t>(ranges.size());
        if (!ranges.empty()) {
            starts.emplace();
            lengths.emplace();
            for (const auto& [start, length] : ranges) {
                starts->push_back(start);
                lengths->push_back(length);
            }
        }
    };
    set(idleIn, r->m_nIdleInRanges, r->m_pIdleInStart, r->m_pIdleInCount);
    set(idleOut, r->m_nIdleOutRanges, r->m_pIdleOutStart, r->m_pIdleOutCount);
    return r;
}

// The default configuration's levels as a table whose rows all have board and idle ranges.
std::unique_ptr<SysDefTable> DefaultTable() {
    auto table = std::make_unique<SysDefTable>();
    table->push_back(Record("MAIN", "VIDEO", 128, 64, 16, 16, {{120, 4}, {124, 4}}));
    table->push_back(Record("MAIN", "AUDIO1", 64, 64, 8, 8, {}, {{56, 8}}));
    table->push_back(Record("MAIN", "AUDIO2", 64, 32, 0, 0));
    table->push_back(Record("STUDIO", "VIDEO", 32, 32, 4, 4, {{28, 4}}, {{0, 4}, {28, 4}}));
    table->push_back(Record("STUDIO", "TC", 16, 16));
    return table;
}

std::string DefaultFileText() {
    return "    MAIN   VIDEO 128  64 01616 2 0120  4124  4\n"
           "    MAIN  AUDIO1  64  64 1 8 8 0 1 56  8\n"
           "    MAIN  AUDIO2  64  32 2 0 0 0 0\n"
           "  STUDIO   VIDEO  32  32 3 4 4 1 2 28  4  0  4 28  4\n"
           "  STUDIO      TC  16  16 4 0 0 0 0\n";
}

control::Config ConfigWithLevels(std::vector<control::LevelConfig> levels) {
    control::Config config = control::DefaultConfig();
    config.levels = std::move(levels);
    return config;
}

void ExpectSameRecord(const SysDefRecord& a, const SysDefRecord& b) {
    EXPECT_EQ(a.m_strSwitcher, b.m_strSwitcher);
    EXPECT_EQ(a.m_strLevel, b.m_strLevel);
    EXPECT_EQ(a.m_nInputs, b.m_nInputs);
    EXPECT_EQ(a.m_nOutputs, b.m_nOutputs);
    EXPECT_EQ(a.m_nInRange, b.m_nInRange);
    EXPECT_EQ(a.m_nOutRange, b.m_nOutRange);
    EXPECT_EQ(a.m_nIdleInRanges, b.m_nIdleInRanges);
    EXPECT_EQ(a.m_nIdleOutRanges, b.m_nIdleOutRanges);
    EXPECT_EQ(a.m_pIdleInStart, b.m_pIdleInStart);
    EXPECT_EQ(a.m_pIdleInCount, b.m_pIdleInCount);
    EXPECT_EQ(a.m_pIdleOutStart, b.m_pIdleOutStart);
    EXPECT_EQ(a.m_pIdleOutCount, b.m_pIdleOutCount);
}

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
    void WriteFile(const std::string& text, const std::string& name = "TAV.SDF") {
        std::ofstream out(DataFile(name), std::ios::binary);
        out << text;
    }
    std::optional<std::string> ReadFile(const std::string& name = "TAV.SDF") {
        std::ifstream in(DataFile(name), std::ios::binary);
        if (!in) {
            return std::nullopt;
        }
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Every entry of the data folder, so a test can see that nothing was left beside the file.
    std::vector<std::string> DataFolderEntries() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir / "data")) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    // Closes the error dialog the next failed component call opens, keeping what it said.
    void CloseNextErrorDialog(std::string* message) {
        driver.Then([message](fw::CWnd& w) {
            *message = Item(w, IDC_ERROR_MESSAGE).GetWindowText();
            Item(w, fw::IDOK).UserClick();
        });
    }

    std::unique_ptr<CTavDlg> dlg;
};

TEST_F(SysDefTableTest, SavesTheDocumentedExampleLineToTheByte) {
    Begin();
    auto table = std::make_unique<SysDefTable>();
    table->push_back(Record("SW1", "VIDEO", 128, 64, 16, 16, {{120, 4}, {124, 4}}));
    dlg->SetSysDefTable(std::move(table));
    dlg->SaveSysDefTable();
    const auto text = ReadFile();
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, std::string(kExampleLine) + "\n");
    EXPECT_EQ(text->size(), 47u);
    EXPECT_TRUE(driver.MessageBoxes().empty());
}

TEST_F(SysDefTableTest, RecordWithoutIdleRangesIs34CharactersAndALineFeed) {
    Begin();
    auto table = std::make_unique<SysDefTable>();
    table->push_back(Record("MAIN", "AUDIO2", 64, 32));
    dlg->SetSysDefTable(std::move(table));
    dlg->SaveSysDefTable();
    EXPECT_EQ(ReadFile(), "    MAIN  AUDIO2  64  32 0 0 0 0 0\n");
    EXPECT_EQ(ReadFile()->size(), 35u);
}

TEST_F(SysDefTableTest, SavesEveryRowWithItsPositionAndReadsItBack) {
    Begin();
    dlg->SetSysDefTable(DefaultTable());
    dlg->SaveSysDefTable();
    EXPECT_EQ(ReadFile(), DefaultFileText());
    EXPECT_EQ(control::OpenFileCount(), 0u);

    CTavDlg other;
    ASSERT_EQ(other.LoadSysDefTable(), 1);
    const auto expected = DefaultTable();
    ASSERT_NE(other.GetSysDefTable(), nullptr);
    ASSERT_EQ(other.GetSysDefTable()->size(), expected->size());
    for (std::size_t i = 0; i < expected->size(); ++i) {
        SCOPED_TRACE(i);
        ExpectSameRecord(*(*other.GetSysDefTable())[i], *(*expected)[i]);
    }
    EXPECT_EQ(other.IsSysDefTableCurrent(), 1);
    EXPECT_EQ(control::OpenFileCount(), 0u);
    EXPECT_EQ(DataFolderEntries(), std::vector<std::string>{"TAV.SDF"});
}

TEST_F(SysDefTableTest, RoundTripOfTheWidestTableCrossesTheReadBuffer) {
    Begin();
    // 100 rows, the last carrying 99 idle ranges each way: a 1222-character line, longer than
    // the read buffer, and a file of several buffers.
    auto table = std::make_unique<SysDefTable>();
    for (int i = 0; i < 99; ++i) {
        table->push_back(Record("SW" + std::to_string(i), "LEVEL" + std::to_string(i), i * 101,
                                9999 - i, i, 99 - i, {{static_cast<std::uint32_t>(i * 10), 4}}));
    }
    Ranges many;
    for (std::uint32_t k = 0; k < 99; ++k) {
        many.push_back({999 - k, k});
    }
    table->push_back(Record("ABCDEFGH", "12345678", 9999, 9999, 99, 99, many, many));
    dlg->SetSysDefTable(std::move(table));
    dlg->SaveSysDefTable();
    EXPECT_TRUE(driver.MessageBoxes().empty());

    CTavDlg other;
    ASSERT_EQ(other.LoadSysDefTable(), 1);
    ASSERT_EQ(other.GetSysDefTable()->size(), 100u);
    for (std::size_t i = 0; i < 100; ++i) {
        SCOPED_TRACE(i);
        ExpectSameRecord(*(*other.GetSysDefTable())[i], *(*dlg->GetSysDefTable())[i]);
    }
    const auto text = ReadFile();
    EXPECT_EQ(text->substr(text->rfind('\n', text->size() - 2) + 1).size(), 1223u);
}

TEST_F(SysDefTableTest, LoadsWhatTheFileHoldsWithoutValidating) {
    Begin();
    WriteFile(
        // out of order positions, a carriage return, a blank then 8 in the input range
        "     sw1   video 128  64 9 8 0 0 0\r\n"
        // short lines
        "     SW2\n"
        "\n"
        // overlapping and repeated idle ranges, an idle count with missing ranges
        "     SW3       L  32  32 0 8 8 3 2 24  8 24  8 26  4  0  8\n");
    ASSERT_EQ(dlg->LoadSysDefTable(), 1);
    const SysDefTable& t = *dlg->GetSysDefTable();
    ASSERT_EQ(t.size(), 4u);
    ExpectSameRecord(*t[0], *Record("sw1", "video", 128, 64, 8, 0));
    ExpectSameRecord(*t[1], *Record("SW2", "", 0, 0));
    ExpectSameRecord(*t[2], *Record("", "", 0, 0));
    ExpectSameRecord(
        *t[3], *Record("SW3", "L", 32, 32, 8, 8, {{24, 8}, {24, 8}, {26, 4}}, {{0, 8}, {0, 0}}));
    EXPECT_EQ(control::OpenFileCount(), 0u);
}

TEST_F(SysDefTableTest, EmptyFileIsAnEmptyTable) {
    Begin();
    WriteFile("");
    EXPECT_EQ(dlg->LoadSysDefTable(), 1);
    ASSERT_NE(dlg->GetSysDefTable(), nullptr);
    EXPECT_TRUE(dlg->GetSysDefTable()->empty());
    // The configuration has levels, so an empty table does not describe it.
    EXPECT_EQ(dlg->IsSysDefTableCurrent(), 0);
}

TEST_F(SysDefTableTest, MissingFileLoadsNoTableAndDropsTheOneHeld) {
    Begin();
    EXPECT_EQ(dlg->LoadSysDefTable(), 0);
    EXPECT_EQ(dlg->GetSysDefTable(), nullptr);

    dlg->SetSysDefTable(DefaultTable());
    EXPECT_EQ(dlg->LoadSysDefTable(), 0);
    EXPECT_EQ(dlg->GetSysDefTable(), nullptr);
    EXPECT_EQ(dlg->IsSysDefTableCurrent(), 0);
    EXPECT_EQ(control::OpenFileCount(), 0u);
    EXPECT_TRUE(driver.MessageBoxes().empty());
    EXPECT_FALSE(ReadFile().has_value());
}

TEST_F(SysDefTableTest, LoadMatchesTheNameWithoutRegardToCase) {
    Begin();
    WriteFile(DefaultFileText(), "tav.sdf");
    EXPECT_EQ(dlg->LoadSysDefTable(), 1);
    EXPECT_EQ(dlg->GetSysDefTable()->size(), 5u);
}

TEST_F(SysDefTableTest, LoadReplacesTheTableHeld) {
    Begin();
    dlg->SetSysDefTable(DefaultTable());
    WriteFile(kExampleLine + std::string("\n"));
    EXPECT_EQ(dlg->LoadSysDefTable(), 1);
    ASSERT_EQ(dlg->GetSysDefTable()->size(), 1u);
    EXPECT_EQ((*dlg->GetSysDefTable())[0]->m_strSwitcher, "SW1");
}

TEST_F(SysDefTableTest, CurrentWhenNamesAndPortCountsMatchInOrder) {
    Begin();
    struct Case {
        const char* name;
        void (*change)(SysDefTable&);
        int current;
    };
    const Case cases[] = {
        {"as configured", [](SysDefTable&) {}, 1},
        {"names in other case",
         [](SysDefTable& t) {
             t[0]->m_strSwitcher = "main";
             t[3]->m_strLevel = "Video";
         },
         1},
        {"board ranges differ", [](SysDefTable& t) { t[0]->m_nInRange = 8; }, 1},
        {"idle ranges differ",
         [](SysDefTable& t) {
             t[1]->m_nIdleOutRanges = 0;
             t[1]->m_pIdleOutStart.reset();
             t[1]->m_pIdleOutCount.reset();
         },
         1},
        {"switcher differs", [](SysDefTable& t) { t[4]->m_strSwitcher = "STUDIO2"; }, 0},
        {"level differs", [](SysDefTable& t) { t[2]->m_strLevel = "AUDIO3"; }, 0},
        {"a name with a trailing blank", [](SysDefTable& t) { t[2]->m_strLevel = "AUDIO2 "; }, 0},
        {"inputs differ", [](SysDefTable& t) { t[0]->m_nInputs = 127; }, 0},
        {"outputs differ", [](SysDefTable& t) { t[3]->m_nOutputs = 33; }, 0},
        {"rows swapped", [](SysDefTable& t) { std::swap(t[1], t[2]); }, 0},
        {"a row missing", [](SysDefTable& t) { t.pop_back(); }, 0},
        {"a row too many", [](SysDefTable& t) { t.push_back(Record("X", "Y", 1, 1)); }, 0},
        {"no rows", [](SysDefTable& t) { t.clear(); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto table = DefaultTable();
        c.change(*table);
        dlg->SetSysDefTable(std::move(table));
        EXPECT_EQ(dlg->IsSysDefTableCurrent(), c.current);
    }
    dlg->SetSysDefTable(nullptr);
    EXPECT_EQ(dlg->IsSysDefTableCurrent(), 0);
}

TEST_F(SysDefTableTest, CurrentThroughTheFileWithOtherCase) {
    Begin(ConfigWithLevels({{"SW1", "VIDEO", 128, 64, 0}}));
    WriteFile("     sw1   Video 128  64 0 0 0 0 0\n");
    ASSERT_EQ(dlg->LoadSysDefTable(), 1);
    EXPECT_EQ(dlg->IsSysDefTableCurrent(), 1);
}

TEST_F(SysDefTableTest, NoLevelsAndAnEmptyTableIsCurrent) {
    Begin(ConfigWithLevels({}));
    ASSERT_EQ(app->GetLevelCount(), 0);
    WriteFile("");
    ASSERT_EQ(dlg->LoadSysDefTable(), 1);
    EXPECT_EQ(dlg->IsSysDefTableCurrent(), 1);

    WriteFile("    MAIN   VIDEO 128  64 0 0 0 0 0\n");
    ASSERT_EQ(dlg->LoadSysDefTable(), 1);
    EXPECT_EQ(dlg->IsSysDefTableCurrent(), 0);
}

TEST_F(SysDefTableTest, RowCountIsComparedWithTheConfiguredLevelCount) {
    // The level list stops after two of five levels: the count read and the list disagree.
    control::Config config = control::DefaultConfig();
    config.faults.push_back(
        control::Fault(control::ComponentId::SwitcherDescTable, "GetLevelName", com::E_FAIL, 2, 1));
    Connect(config);
    std::string message;
    CloseNextErrorDialog(&message);
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

TEST_F(SysDefTableTest, EmptyTableIsNeverWritten) {
    Begin();
    WriteFile("previous content\n");
    dlg->SaveSysDefTable();  // no table held
    dlg->SetSysDefTable(std::make_unique<SysDefTable>());
    dlg->SaveSysDefTable();
    EXPECT_EQ(ReadFile(), "previous content\n");
    EXPECT_NE(dlg->GetSysDefTable(), nullptr);
    EXPECT_TRUE(driver.MessageBoxes().empty());

    std::filesystem::remove(DataFile());
    dlg->SaveSysDefTable();
    EXPECT_FALSE(ReadFile().has_value());
}

TEST_F(SysDefTableTest, ValuesThatDoNotFitAreRefusedAndNothingIsWritten) {
    Begin();
    struct Case {
        const char* name;
        void (*change)(SysDefTable&);
        std::string text;
    };
    const std::string head = "The System Definition Table was not saved.\n";
    const Case cases[] = {
        {"long switcher", [](SysDefTable& t) { t[2]->m_strSwitcher = "MAINFRAME"; },
         head + "Row 3 (Switcher MAINFRAME, Level AUDIO2): Switcher name \"MAINFRAME\" has 9 "
                "characters; the file holds at most 8."},
        {"long level", [](SysDefTable& t) { t[0]->m_strLevel = "VIDEOMAIN"; },
         head + "Row 1 (Switcher MAIN, Level VIDEOMAIN): Level name \"VIDEOMAIN\" has 9 "
                "characters; the file holds at most 8."},
        {"inputs", [](SysDefTable& t) { t[4]->m_nInputs = 10000; },
         head + "Row 5 (Switcher STUDIO, Level TC): #In 10000 does not fit the file (0 to 9999)."},
        {"negative outputs", [](SysDefTable& t) { t[4]->m_nOutputs = -1; },
         head + "Row 5 (Switcher STUDIO, Level TC): #Out -1 does not fit the file (0 to 9999)."},
        {"input range", [](SysDefTable& t) { t[0]->m_nInRange = 120; },
         head + "Row 1 (Switcher MAIN, Level VIDEO): In. Range 120 does not fit the file (0 to "
                "99)."},
        {"output range", [](SysDefTable& t) { t[3]->m_nOutRange = -4; },
         head + "Row 4 (Switcher STUDIO, Level VIDEO): Out. Range -4 does not fit the file (0 to "
                "99)."},
        {"idle input ranges",
         [](SysDefTable& t) {
             t[0]->m_nIdleInRanges = 100;
             t[0]->m_pIdleInStart->resize(100);
             t[0]->m_pIdleInCount->resize(100);
         },
         head + "Row 1 (Switcher MAIN, Level VIDEO): Idle Inputs: 100 ranges do not fit the file "
                "(0 to 99)."},
        {"idle output start", [](SysDefTable& t) { (*t[3]->m_pIdleOutStart)[1] = 1000; },
         head + "Row 4 (Switcher STUDIO, Level VIDEO): Idle Outputs range 2: start 1000 does not "
                "fit the file (0 to 999)."},
        {"idle input length", [](SysDefTable& t) { (*t[0]->m_pIdleInCount)[0] = 1024; },
         head + "Row 1 (Switcher MAIN, Level VIDEO): Idle Inputs range 1: length 1024 does not "
                "fit the file (0 to 999)."},
        {"101 rows",
         [](SysDefTable& t) {
             while (t.size() < 101) {
                 t.push_back(Record("X", "Y", 1, 1));
             }
         },
         head + "The table has 101 rows; the file holds at most 100."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile("previous content\n");
        auto table = DefaultTable();
        c.change(*table);
        const SysDefTable* held = table.get();
        const std::size_t rows = table->size();
        const std::size_t boxes = driver.MessageBoxes().size();
        dlg->SetSysDefTable(std::move(table));
        dlg->SaveSysDefTable();
        ASSERT_EQ(driver.MessageBoxes().size(), boxes + 1);
        const fw::MessageBoxRequest& box = driver.MessageBoxes().back();
        EXPECT_EQ(box.caption, kSaveCaption);
        EXPECT_EQ(box.type, fw::MB_OK | fw::MB_ICONSTOP);
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(ReadFile(), "previous content\n");
        EXPECT_EQ(DataFolderEntries(), std::vector<std::string>{"TAV.SDF"});
        EXPECT_EQ(dlg->GetSysDefTable(), held);
        EXPECT_EQ(dlg->GetSysDefTable()->size(), rows);
    }
    EXPECT_EQ(Transcript().back(),
              "msgbox caption=\"Save System Definition File\" icon=stop buttons=ok "
              "text=\"The System Definition Table was not saved.\\nThe table has 101 rows; the "
              "file holds at most 100.\" -> ok");
    EXPECT_EQ(control::OpenFileCount(), 0u);

    // A refused table that is not there yet creates no file either.
    std::filesystem::remove(DataFile());
    dlg->SaveSysDefTable();
    EXPECT_FALSE(ReadFile().has_value());
}

TEST_F(SysDefTableTest, OpenFailureOnSaveDiscardsTheTable) {
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path& data)> arrange;
    };
    const Case cases[] = {
        {"the name is a folder",
         [](const std::filesystem::path& data) {
             std::filesystem::create_directory(data / "tav.sdf");
         }},
        {"File Access refuses the open",
         [](const std::filesystem::path&) {
             control::InjectFault(control::Fault(control::ComponentId::FileAccess, "Open",
                                                 control::kFileShareViolation, 0, 1));
         }},
        {"a failure of another facility",
         [](const std::filesystem::path&) {
             control::InjectFault(
                 control::Fault(control::ComponentId::FileAccess, "Open", com::E_FAIL, 0, 1));
         }},
    };
    Begin();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(DataFile("tav.sdf"));
        c.arrange(dir / "data");
        dlg->SetSysDefTable(DefaultTable());
        const std::size_t boxes = driver.MessageBoxes().size();
        dlg->SaveSysDefTable();
        ASSERT_EQ(driver.MessageBoxes().size(), boxes + 1);
        const fw::MessageBoxRequest& box = driver.MessageBoxes().back();
        EXPECT_EQ(box.text, "Open file failure");
        EXPECT_EQ(box.caption, kSaveCaption);
        EXPECT_EQ(box.type, fw::MB_OK);
        EXPECT_EQ(Transcript().back(),
                  "msgbox caption=\"Save System Definition File\" icon=none buttons=ok "
                  "text=\"Open file failure\" -> ok");
        EXPECT_EQ(dlg->GetSysDefTable(), nullptr);
        EXPECT_FALSE(ReadFile().has_value());
        EXPECT_EQ(control::OpenFileCount(), 0u);
    }
}

TEST_F(SysDefTableTest, WriteFailureKeepsTheTableAndThePreviousFile) {
    Begin();
    WriteFile(DefaultFileText());
    // The second line's write fails.
    control::InjectFault(control::Fault(control::ComponentId::FileAccess, "Write",
                                        com::HRESULT_FROM_WIN32(com::ERROR_DISK_FULL), 1, 1));
    auto table = DefaultTable();
    (*table)[0]->m_nInRange = 8;
    const SysDefTable* held = table.get();
    dlg->SetSysDefTable(std::move(table));
    std::string message;
    CloseNextErrorDialog(&message);
    dlg->SaveSysDefTable();  // the failure does not escape
    EXPECT_TRUE(driver.Exhausted());
    EXPECT_EQ(message, fw::LoadString(IDS_ERR_FILE_ACCESS));
    EXPECT_TRUE(driver.MessageBoxes().empty());
    EXPECT_EQ(dlg->GetSysDefTable(), held);
    EXPECT_EQ(dlg->GetSysDefTable()->size(), 5u);
    EXPECT_EQ(control::OpenFileCount(), 0u);
    // The replacement broke off, so File Access keeps the previous file whole, not cut short.
    EXPECT_EQ(ReadFile(), DefaultFileText());
    EXPECT_EQ(DataFolderEntries(), std::vector<std::string>{"TAV.SDF"});

    // The table kept in memory is saved whole once writing works again.
    dlg->SaveSysDefTable();
    auto expected = DefaultFileText();
    expected.replace(expected.find("01616"), 5, "0 816");
    EXPECT_EQ(ReadFile(), expected);
}

TEST_F(SysDefTableTest, FreeAndSetTakeCareOfTheTableHeld) {
    Begin();
    auto table = DefaultTable();
    SysDefTable* first = table.get();
    dlg->SetSysDefTable(std::move(table));
    EXPECT_EQ(dlg->GetSysDefTable(), first);

    // Handing back the table already held (edited in place) keeps it, owned once.
    dlg->SetSysDefTable(std::unique_ptr<SysDefTable>(first));
    EXPECT_EQ(dlg->GetSysDefTable(), first);
    EXPECT_EQ((*first)[0]->m_strLevel, "VIDEO");

    // Freeing another table leaves the held one alone.
    auto other = DefaultTable();
    dlg->FreeSysDefTable(other);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(dlg->GetSysDefTable(), first);

    // A new table replaces the held one.
    auto second = DefaultTable();
    SysDefTable* secondRaw = second.get();
    dlg->SetSysDefTable(std::move(second));
    EXPECT_EQ(dlg->GetSysDefTable(), secondRaw);

    std::unique_ptr<SysDefTable> none;
    dlg->FreeSysDefTable(none);
    EXPECT_EQ(dlg->GetSysDefTable(), secondRaw);

    // Tear-down frees it.
    dlg->SetSysDefTable(nullptr);
    EXPECT_EQ(dlg->GetSysDefTable(), nullptr);
    dlg->SaveSysDefTable();
    EXPECT_FALSE(ReadFile().has_value());
}

}  // namespace
}  // namespace apptest
