// Two workstations on one data folder: two scenario players run at once, each its own program
// with its own runtime folder and simulated boards, a witness of the player's own in front of the
// boards, one data folder between them, kept in step by signal and await lines. The scripts are
// written here from a model of the files: every change a workstation commits was decided while
// the other workstation changed the same file, and each RE-MAP message must carry the whole table
// in force (the witness's expect-sent lines); at the end the files must equal the model, which
// applies every confirmed change in order.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr char kSysDefHead[] =
    "    MAIN   VIDEO 128  64 01616 2 1112 16100  4 48 16\n"
    "    MAIN  AUDIO1  64  64 1 8 8 1 0 56  8\n"
    "    MAIN  AUDIO2  64  32 2 0 0 0 1 30  2\n"
    "  STUDIO   VIDEO  32  32 31212 2 1  0 12 20 12 24  8\n";
// The row the System Definition edits change: STUDIO TC, its input board range in columns 26-27.
std::string SysDef(int tcInputRange) {
    char range[3];
    std::snprintf(range, sizeof range, "%2d", tcInputRange);
    return std::string(kSysDefHead) + "  STUDIO      TC  16  16 4" + range + " 4 1 1 12  4 12  4\n";
}
constexpr int kFirstTcRange = 4;
// The idle inputs of MAIN VIDEO, in the order the main dialog offers them.
constexpr int kIdle[] = {112, 113, 114, 115, 116, 117, 118, 119, 120, 121,
                         122, 123, 124, 125, 126, 127, 100, 101, 102, 103};

constexpr char kTableChanged[] =
    "TAV.IXT was changed at another workstation; Tavora has read it again.";

struct Entry {
    int orig;
    int now;
    std::string comment;
    bool operator==(const Entry&) const = default;
};
using Table = std::vector<Entry>;

// The table as the witness describes a RE-MAP message: "row:original>new" per port.
std::string Data(const Table& table) {
    std::string text;
    for (const Entry& e : table) {
        text += (text.empty() ? "" : " ") + std::string("0:") + std::to_string(e.orig) + ">" +
                std::to_string(e.now);
    }
    return text.empty() ? "none" : text;
}

int RowOf(const Table& table, int orig) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].orig == orig) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

// The files as they are, and what each workstation last saw of them.
struct Model {
    Table table;
    int tcRange = kFirstTcRange;
};

class Workstation {
  public:
    explicit Workstation(std::string name) : m_name(std::move(name)) {}

    Workstation& operator<<(const std::string& line) {
        m_script << line << "\n";
        return *this;
    }
    // A set-up line, before everything the program is asked to do.
    void SetUp(const std::string& line) { m_setUp << line << "\n"; }
    std::string Script() const { return m_setUp.str() + m_script.str(); }
    const std::string& Name() const { return m_name; }

    Table known;
    int knownRange = kFirstTcRange;
    int heldRange = kFirstTcRange;
    // The operation prepared and not yet committed.
    char pending = 0;
    int target = 0;  // the port a Restore selected, 0 for none
    bool viewHadRows = false;
    // What happens, if anything, as the change is first pressed (Remap, or Proceed of Restore).
    std::vector<std::string> onPress;

    void Pressed() {
        for (const std::string& line : onPress) {
            *this << line;
        }
        onPress.clear();
    }

    // The refreshed table on a command's entry: told when it changed.
    void RefreshTable(const Model& model) {
        if (known != model.table) {
            *this << std::string("msgbox icon=exclamation text=\"") + kTableChanged + "\"";
            known = model.table;
        }
    }

  private:
    std::string m_name;
    std::ostringstream m_setUp;
    std::ostringstream m_script;
};

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// One step prepared on what the workstation sees now, committed later after the other
// workstation's step: R remap, S Restore of one port, A Restore All, D System Definition save.
class Scenario {
  public:
    Scenario() : m_a("A"), m_b("B") {
        for (Workstation* w : {&m_a, &m_b}) {
            w->SetUp("witness");
            w->SetUp("crc 4660");
            *w << "window 102";
        }
    }

    Workstation& A() { return m_a; }
    Workstation& B() { return m_b; }
    Model& Files() { return m_model; }

    void Prepare(Workstation& w, char op) {
        w.pending = op;
        switch (op) {
            case 'R': {
                const int orig = 10 + m_remaps;
                const int idle = kIdle[m_remaps % std::size(kIdle)];
                ++m_remaps;
                w.target = orig;
                m_idle = idle;
                w << "click 1002"
                  << "select 1005 \"MAIN\""
                  << "select 1007 \"VIDEO\""
                  << "click 1004"
                  << "type 1026 \"" + std::to_string(orig) + "\""
                  << "select 1009 \"" + std::to_string(idle) + "\""
                  << "type 1013 \"" + w.Name() + std::to_string(orig) + "\"";
                m_planned[&w] = {orig, idle, w.Name() + std::to_string(orig)};
                break;
            }
            case 'S':
            case 'A':
                w << "menu 32781";
                w.RefreshTable(m_model);
                w << "window 141";
                w.viewHadRows = !w.known.empty();
                w.target = 0;
                if (op == 'S' && !w.known.empty()) {
                    w.target = w.known.front().orig;
                    w << "click-cell 1022 " + std::to_string(RowOf(w.known, w.target)) + " 0";
                }
                break;
            case 'D':
                w << "menu 32783";
                if (w.knownRange != m_model.tcRange) {
                    w << "msgbox icon=exclamation text=\"TAV.SDF was changed at another "
                         "workstation; Tavora has read it again.\"";
                    w.knownRange = m_model.tcRange;
                }
                w.heldRange = 5 + (m_saves++ % 4);
                if (w.heldRange == w.knownRange) {
                    w.heldRange = 9;
                }
                w << "window 134"
                  << "type-cell 1022 5 4 \"" + std::to_string(w.heldRange) + "\"";
                break;
        }
    }

    void Commit(Workstation& w) {
        switch (w.pending) {
            case 'R': {
                w << "click 1000";
                w.Pressed();
                w.RefreshTable(m_model);
                w << "window 131"
                  << "click 1"
                  << "window 139"
                  << "click 1"
                  << "window 102";
                m_model.table.push_back(m_planned[&w]);
                Sent(w);
                break;
            }
            case 'S':
            case 'A':
                CommitRestore(w);
                w << "click 2"
                  << "window 102";
                break;
            case 'D': {
                w << "click 1";
                if (w.knownRange != m_model.tcRange) {
                    const bool replace = m_questions++ % 2 == 0;
                    w << std::string(
                             "msgbox caption=\"Save System Definition File\" "
                             "icon=question buttons=yesno text=\"TAV.SDF was changed at "
                             "another workstation since Tavora read it.\\nReplace it "
                             "with the table edited here? No keeps it and reads it "
                             "again.\" -> ") +
                             (replace ? "yes" : "no");
                    if (!replace) {
                        w.knownRange = m_model.tcRange;
                        w << "window 102";
                        break;
                    }
                }
                m_model.tcRange = w.heldRange;
                w.knownRange = w.heldRange;
                w << "window 102";
                break;
            }
        }
        w.pending = 0;
    }

    // Both end; the files must be what the model says.
    void End() {
        for (Workstation* w : {&m_a, &m_b}) {
            *w << "click 1019"
               << "exit 0";
        }
    }

  private:
    void Sent(Workstation& w) {
        w.known = m_model.table;
        w << "expect-sent input " + Quoted(Data(m_model.table));
    }

    void Restore(Workstation& w, const std::string& button) {
        w << "click " + button << "window 133"
          << "click 1";
        w.Pressed();
    }

    void CommitRestore(Workstation& w) {
        const bool all = w.pending == 'A';
        if (all ? !w.viewHadRows : w.target == 0) {
            return;  // nothing was there to restore when the view was opened
        }
        Restore(w, all ? "4" : "3");
        if (w.known != m_model.table) {
            // Chosen from a table that is no longer in force: nothing is done, the view shows the
            // table as it is now, and the operator chooses again.
            w << std::string("msgbox icon=exclamation text=\"") + kTableChanged +
                     "\\nNothing was restored: select the ports to restore again.\"";
            w.known = m_model.table;
            w << "window 141";
            if (all ? m_model.table.empty() : RowOf(m_model.table, w.target) == 0) {
                return;
            }
            if (!all) {
                w << "click-cell 1022 " + std::to_string(RowOf(m_model.table, w.target)) + " 0";
            }
            Restore(w, all ? "4" : "3");
        }
        w << "window 139"
          << "click 1"
          << "window 141";
        if (all) {
            m_model.table.clear();
        } else {
            m_model.table.erase(m_model.table.begin() + RowOf(m_model.table, w.target) - 1);
        }
        Sent(w);
    }

    Workstation m_a;
    Workstation m_b;
    Model m_model;
    int m_remaps = 0;
    int m_idle = 0;
    int m_saves = 0;
    int m_questions = 0;
    std::map<Workstation*, Entry> m_planned;
};

// The entries of a remap table file without their time stamps.
Table EntriesOf(const std::string& file) {
    Table table;
    std::istringstream in(file);
    std::string line;
    static const std::regex entry(R"(^[^,]*,[^,]*,MAIN,VIDEO,0,(\d+),\d+,(\d+),\d+,([^\r]*)\r?$)");
    while (std::getline(in, line)) {
        std::smatch m;
        if (std::regex_match(line, m, entry)) {
            table.push_back({std::stoi(m[1]), std::stoi(m[2]), m[3]});
        }
    }
    return table;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class SharedFolder : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        std::string name = "tavora-shared-" + std::to_string(::getpid()) + "-" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        m_dir = fs::temp_directory_path() / name;
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "data");
        fs::create_directories(m_dir / "sync");
        std::ofstream(m_dir / "data" / "TAV.SDF", std::ios::binary) << SysDef(kFirstTcRange);
    }
    // A failed case leaves its scripts and what the players printed; so does any case when
    // TAV_SHARED_KEEP is set.
    void TearDown() override {
        if (!HasFailure() && std::getenv("TAV_SHARED_KEEP") == nullptr) {
            fs::remove_all(m_dir);
        }
    }

    // Plays both scripts at once; both must pass.
    void Play(Scenario& scenario) {
        std::vector<pid_t> players;
        for (Workstation* w : {&scenario.A(), &scenario.B()}) {
            const fs::path script = m_dir / (w->Name() + ".scn");
            std::ofstream(script) << w->Script();
            players.push_back(Spawn(script, m_dir / (w->Name() + ".out")));
        }
        for (std::size_t i = 0; i < players.size(); ++i) {
            int status = 0;
            ::waitpid(players[i], &status, 0);
            const std::string name = i == 0 ? "A" : "B";
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                << "workstation " << name << " (" << (m_dir / (name + ".scn")).string() << "):\n"
                << ReadFile(m_dir / (name + ".out"));
        }
    }

    fs::path Data() const { return m_dir / "data"; }

  private:
    pid_t Spawn(const fs::path& script, const fs::path& out) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        std::vector<std::string> args = {TAV_SCENARIO_PLAYER};
        if (GetParam()) {
            args.push_back("--qt");
        }
        for (const std::string& a :
             {std::string("--data-dir"), Data().string(), std::string("--sync-dir"),
              (m_dir / "sync").string(), script.string()}) {
            args.push_back(a);
        }
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        pid_t pid = 0;
        const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(spawned, 0) << "cannot start " << argv[0];
        return pid;
    }

    fs::path m_dir;
};

// Every ordered pair of the four changes, each workstation committing a change it prepared while
// the other workstation changed the files: remap, Restore of one port, Restore All and System
// Definition save, one after the other in the order R R S R A R D S S A S D A A D D R (each pair
// of neighbours once), the two workstations taking turns.
TEST_P(SharedFolder, EveryOrderOfChangesLosesNothing) {
    const std::string order = "RRSRARDSSASDAADDR";
    Scenario scenario;
    auto station = [&](std::size_t k) -> Workstation& {
        return k % 2 == 0 ? scenario.A() : scenario.B();
    };
    auto signal = [](Workstation& w, const char* what, std::size_t k) {
        w << std::string("signal ") + what + "-" + std::to_string(k);
    };
    auto await = [](Workstation& w, const char* what, std::size_t k) {
        w << std::string("await ") + what + "-" + std::to_string(k);
    };
    for (std::size_t k = 0; k < 2 && k < order.size(); ++k) {
        scenario.Prepare(station(k), order[k]);
        signal(station(k), "prepared", k);
    }
    for (std::size_t k = 0; k < order.size(); ++k) {
        Workstation& w = station(k);
        if (k > 0) {
            await(w, "done", k - 1);
        }
        if (k + 1 < order.size()) {
            await(w, "prepared", k + 1);
        }
        scenario.Commit(w);
        signal(w, "done", k);
        if (k + 2 < order.size()) {
            scenario.Prepare(w, order[k + 2]);
            signal(w, "prepared", k + 2);
        }
    }
    scenario.End();
    Play(scenario);
    EXPECT_EQ(EntriesOf(ReadFile(Data() / "TAV.IXT")), scenario.Files().table);
    EXPECT_EQ(ReadFile(Data() / "TAV.SDF"), SysDef(scenario.Files().tcRange));
}

constexpr char kWaitText[] =
    "expect 1070 text \"Another workstation is changing TAV.IXT.\\nTavora goes on as soon as it "
    "has finished.\"";
constexpr char kOneEntry[] =
    "CONFIGCRC(4660)\r\n14:05:09,March 03 2002,MAIN,VIDEO,0,5,5,100,100,first\r\n";

// Once B has prepared its change (and said so), A remaps and holds the table's lock inside its wait
// for the boards, two seconds after the send, until B has tried.
void RemapHoldingTheLock(Scenario& scenario, const char* whileHeld) {
    Workstation& a = scenario.A();
    a << "await B-ready";
    a.SetUp("after-send 2 signal A-in-wait");
    a.SetUp(std::string("after-send 2 await ") + whileHeld);
    scenario.Prepare(a, 'R');
    scenario.Commit(a);
    a << "signal A-done";
}

// B presses Remap while A is inside its wait for the boards: B waits, told so, until A has
// written the table, reads it again, and its RE-MAP message carries A's remap with its own.
TEST_P(SharedFolder, ARemapWaitsWhileAnotherWorkstationWaitsForItsBoards) {
    Scenario scenario;
    Workstation& b = scenario.B();
    scenario.Prepare(b, 'R');
    b << "signal B-ready"
      << "await A-in-wait";
    b.onPress = {"window 150 \"Tavora\"", kWaitText, "signal B-waits", "await A-done"};
    RemapHoldingTheLock(scenario, "B-waits");
    scenario.Commit(b);
    scenario.End();
    Play(scenario);
    EXPECT_EQ(EntriesOf(ReadFile(Data() / "TAV.IXT")), scenario.Files().table);
    EXPECT_EQ(scenario.Files().table.size(), 2u);
}

// B's Restore is confirmed while A holds the lock: B waits, then finds the table changed, shows
// it as it is now and restores nothing until the port is chosen again.
TEST_P(SharedFolder, ARestoreWaitsAndIsChosenAgainOnTheTableInForce) {
    std::ofstream(Data() / "TAV.IXT", std::ios::binary) << kOneEntry;
    Scenario scenario;
    scenario.Files().table = {{5, 100, "first"}};
    scenario.A().known = scenario.B().known = scenario.Files().table;
    Workstation& b = scenario.B();
    scenario.Prepare(b, 'S');
    b << "signal B-ready"
      << "await A-in-wait";
    b.onPress = {"window 150", "signal B-waits", "await A-done"};
    RemapHoldingTheLock(scenario, "B-waits");
    scenario.Commit(b);
    scenario.End();
    Play(scenario);
    EXPECT_EQ(EntriesOf(ReadFile(Data() / "TAV.IXT")), scenario.Files().table);
    EXPECT_EQ(scenario.Files().table.size(), 1u) << "A's remap stays, B's port is restored";
}

// B gives up waiting: nothing is sent or written for it, its remap stays set up, and pressed
// again once A has finished it goes out with A's remap in it.
TEST_P(SharedFolder, GivingUpTheWaitChangesNothing) {
    Scenario scenario;
    Workstation& b = scenario.B();
    scenario.Prepare(b, 'R');
    b << "signal B-ready"
      << "await A-in-wait"
      << "click 1000"
      << "window 150"
      << "click 2"
      << "window 102"
      << "expect-sent-count 0"
      << "signal B-gave-up"
      << "await A-done";
    RemapHoldingTheLock(scenario, "B-gave-up");
    scenario.Commit(b);
    scenario.End();
    Play(scenario);
    EXPECT_EQ(EntriesOf(ReadFile(Data() / "TAV.IXT")), scenario.Files().table);
    EXPECT_EQ(scenario.Files().table.size(), 2u);
}

// Each file has its own lock: a System Definition save goes on while another workstation holds
// the input table's.
TEST_P(SharedFolder, ASystemDefinitionSaveDoesNotWaitForATable) {
    Scenario scenario;
    Workstation& b = scenario.B();
    scenario.Prepare(b, 'D');
    b << "signal B-ready"
      << "await A-in-wait";
    scenario.Commit(b);
    b << "signal B-saved";
    RemapHoldingTheLock(scenario, "B-saved");
    scenario.End();
    Play(scenario);
    EXPECT_EQ(EntriesOf(ReadFile(Data() / "TAV.IXT")), scenario.Files().table);
    EXPECT_EQ(ReadFile(Data() / "TAV.SDF"), SysDef(scenario.Files().tcRange));
}

#ifdef TAV_WITH_QT
INSTANTIATE_TEST_SUITE_P(Backends, SharedFolder, ::testing::Values(false, true),
                         [](const auto& param) { return param.param ? "Qt" : "Headless"; });
#else
INSTANTIATE_TEST_SUITE_P(Backends, SharedFolder, ::testing::Values(false),
                         [](const auto&) { return "Headless"; });
#endif

}  // namespace
