// Every component call of each end-to-end flow, made to fail in turn. A clean run of the flow
// records the calls it makes (the control layer's call trace); then the flow runs again from the
// same start once per call, with exactly that call failing. Each run must end without a crash,
// an exception or a window left open, release every file handle, registration, connection and
// task-allocated block, tell the operator (a message naming the failing component, or its own
// description in the error dialog's detail), and leave every file in the data folder with its old
// content or the content of the clean run, byte for byte.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iostream>
#include <regex>
#include <set>

#include "app/tests/fault_sweep.h"
#include "platform/control/file_access_codes.h"
#include "platform/fw/grid.h"
#include "remap/tests/main_dialog_fixture.h"
#include "res/resource.h"

namespace apptest {
namespace {

using control::ComponentCall;
using control::ComponentId;

constexpr char kCrcLine[] = "CONFIGCRC(4660)\r\n";
const std::string kInputTable =
    std::string(kCrcLine) + "14:05:09,March 03 2002,MAIN,VIDEO,0,16,19,120,123,spare card\r\n";
const std::string kOutputTable =
    std::string(kCrcLine) + "14:05:09,March 03 2002,MAIN,AUDIO1,1,3,3,60,60,card 3\r\n";
const std::string kSpareTable =
    std::string(kCrcLine) + "14:05:09,March 03 2002,MAIN,VIDEO,0,5,5,100,100,spare\r\n";

// A table line's time stamp, which depends on how long the boards took.
std::string WithoutTimes(const std::string& text) {
    static const std::regex stamp(R"(\d\d:\d\d:\d\d,[A-Z][a-z]+ \d\d \d\d\d\d,)");
    return std::regex_replace(text, stamp, "<time>,");
}

// Why the file's content after the faulted run is neither its old nor its new content; "" when
// it is one of them.
std::string JudgeFile(const Flow& flow, const std::string& name, const Files& before,
                      const Files& clean, const Files& after) {
    const auto find = [&name](const Files& files) -> std::optional<std::string> {
        const auto it = files.find(name);
        return it == files.end() ? std::nullopt : std::optional(it->second);
    };
    const auto old = find(before);
    const auto fresh = find(clean);
    const auto now = find(after);
    if (now == old || now == fresh) {
        return {};
    }
    if (now && fresh && WithoutTimes(*now) == WithoutTimes(*fresh)) {
        return {};  // the new content, written at another second
    }
    // The remap command appends its journal line before it rewrites the table: when the rewrite
    // fails the appended line is the record of the remap the boards took.
    // A table file left empty (by the start-up, which creates it) is rewritten in full from the
    // table in memory whatever the notification's outcome: the same empty table.
    if (old == "" && now == std::string(kCrcLine)) {
        return {};
    }
    const std::string previous = old.value_or("");
    if (now && !flow.appendedRecord.empty() && now->rfind(previous, 0) == 0) {
        const std::string added = now->substr(previous.size());
        if (added.find(flow.appendedRecord) != std::string::npos &&
            std::count(added.begin(), added.end(), '\n') == 1 && added.back() == '\n') {
            return {};
        }
    }
    return name + (now ? " holds " + ::testing::PrintToString(*now) : " is missing") + "; old " +
           (old ? ::testing::PrintToString(*old) : "absent") + ", new " +
           (fresh ? ::testing::PrintToString(*fresh) : "absent");
}

// What the program may show for a failure of this component, when the error dialog does not
// carry the component's own description (its creation failed, or the box is the program's own).
std::vector<std::string> NamesOf(const std::string& component) {
    static const std::map<std::string, std::vector<std::string>> names = {
        {kComLibrary, {"Windows COM Library Initialization failed"}},
        {"ControlCenter", {"Control Center"}},
        {"ActiveSetCrc", {"Couldn't get the CRC of the active set."}},
        {"VexelDevicesTable", {"Vexel Devices Table"}},
        {"SwitcherInputTable", {"Switcher Input Table"}},
        {"SwitcherOutputTable", {"Switcher Output Table"}},
        {"CorvaneRegistry", {"Corvane Registry"}},
        {"NetworkDescTable", {"Network Description Table"}},
        {"SwitcherDescTable", {"Switcher Description Table"}},
        {"PathFinding", {"Path Finding"}},
        {"BoardStatusServer", {"Board Status Server"}},
        {"FileAccess",
         {"File Access", "log file", "File open failed", "Filename:", "could not be read",
          "could not be copied aside", "file open failure", "open a file", "Share violation",
          "ran out of handles", "read-only file", "Open file failure"}},
    };
    const auto it = names.find(component);
    return it == names.end() ? std::vector<std::string>{} : it->second;
}

// Failures the program passes over in silence by design.
bool SilentByDesign(const Flow& flow, const Point& point, bool changedNothing) {
    // A handle that only read is closed in silence when File Access refuses with a code of its
    // own; nothing is lost by it.
    if (point.operation == "Close" && com::HRESULT_FACILITY(point.hr) == com::FACILITY_ITF &&
        changedNothing) {
        return true;
    }
    static const std::set<std::pair<std::string, std::string>> startUp = {
        // A failed query of whether the configuration set is changing ends the program quietly.
        {"ControlCenter", "IsConfigSetChanging"},
        // The main dialog's registration for board reports and its first reads of the boards'
        // records go on without a message.
        {"BoardStatusServer", "Advise"},
        {"BoardStatusServer", "GetBoardRemapInfo"},
        {"BoardStatusServer", "RetrieveBoardRemapInfo"},
        // Releasing at the end: there is nothing left to tell.
        {"BoardStatusServer", "Unadvise"},
        {"ControlCenter", "Unregister"},
    };
    // The file dialog's listing shows what it found; only File Access's own codes are reported.
    static const std::set<std::pair<std::string, std::string>> listing = {
        {"FileAccess", "FindFirst"},
        {"FileAccess", "FindNext"},
    };
    const std::pair<std::string, std::string> pair{point.component, point.operation};
    return (!flow.action && startUp.count(pair) != 0) || listing.count(pair) != 0;
}

// Everything wrong with the faulted run; empty when it passed.
std::vector<std::string> Judge(const Flow& flow, const Point& point, const Outcome& clean,
                               const Outcome& run) {
    std::vector<std::string> faults;
    if (!run.failure.empty()) {
        faults.push_back(run.failure);
    }
    if (run.windowsLeft != 0) {
        faults.push_back(std::to_string(run.windowsLeft) + " window(s) left open");
    }
    if (run.taskBlocks != 0) {
        faults.push_back(std::to_string(run.taskBlocks) + " task-allocated block(s) not freed");
    }
    // A refused Close, Unregister or Unadvise leaves the simulation holding what it refused.
    const bool refusedRelease = point.operation == "Close" || point.operation == "Unregister" ||
                                point.operation == "Unadvise";
    if (!refusedRelease && run.openFiles + run.clients + run.boardConnections != 0) {
        faults.push_back("left behind: " + std::to_string(run.openFiles) + " file handle(s), " +
                         std::to_string(run.clients) + " registration(s), " +
                         std::to_string(run.boardConnections) + " board connection(s)");
    }
    std::set<std::string> names;
    for (const auto* files : {&run.before, &clean.files, &run.files}) {
        for (const auto& entry : *files) {
            names.insert(entry.first);
        }
    }
    for (const std::string& name : names) {
        // The server keeps the replacement of a handle whose Close it refused.
        if (point.operation == "Close" && name.rfind('.', 0) == 0 &&
            name.find(".tav-") != std::string::npos) {
            continue;
        }
        // A table that could not be read is copied aside, byte for byte, before anything can
        // replace it.
        if (const auto bad = name.find(".1.BAD");
            bad != std::string::npos && bad + 6 == name.size() &&
            run.before.count(name.substr(0, bad)) != 0 && run.files.count(name) != 0 &&
            run.files.at(name) == run.before.at(name.substr(0, bad))) {
            continue;
        }
        if (std::string why = JudgeFile(flow, name, run.before, clean.files, run.files);
            !why.empty()) {
            faults.push_back(why);
        }
    }
    // Told: the error dialog with the component's own description, or a message of the
    // program's that names the component.
    const std::string described = point.component == kComLibrary
                                      ? std::string("\x01")
                                      : std::string(control::ComponentDisplayName(
                                            *control::ComponentFromKey(point.component))) +
                                            ": sweep fault at " + point.Describe();
    bool told = false;
    for (const std::string& line : run.shown) {
        told = told || line.find(described) != std::string::npos;
        for (const std::string& name : NamesOf(point.component)) {
            told = told || line.find(name) != std::string::npos;
        }
        // A description that is not the failure's misleads whoever reads the detail.
        const auto at = line.find("DCOM Error Msg: ");
        if (at != std::string::npos) {
            const std::string text = line.substr(at + 16, line.find("\r\n", at) - at - 16);
            if (text != "(none)" && text.find("sweep fault") == std::string::npos) {
                faults.push_back("error dialog describes another failure: " + text);
            }
        }
    }
    if (!told && !SilentByDesign(flow, point, run.files == clean.files)) {
        faults.push_back("the failure was not reported");
    }
    return faults;
}

// The sweep points of a clean run: the n-th call of each (component, operation) pair fails once;
// the first call of each pair also fails with every later one, and once more with the component
// unable to describe the failure; File Access calls also fail with one of the component's own
// codes, which the program handles apart.
std::vector<Point> PointsOf(const std::vector<ComponentCall>& trace) {
    std::vector<Point> points;
    std::map<std::pair<ComponentId, std::string>, std::uint32_t> seen;
    for (const ComponentCall& call : trace) {
        const std::string key(control::ComponentKey(call.component));
        const std::uint32_t after = seen[{call.component, call.operation}]++;
        points.push_back({key, call.operation, after});
        if (after == 0) {
            points.push_back({key, call.operation, 0, com::E_FAIL, -1});
            points.push_back({key, call.operation, 0, com::E_FAIL, 1, true});
        }
        if (call.component == ComponentId::FileAccess) {
            points.push_back(
                {key, call.operation, after, control::FileAccessError(control::kCodeOpenGeneral)});
        }
    }
    return points;
}

void Sweep(FaultSweep& sweep, const Flow& flow) {
    const Outcome clean = sweep.Run(flow, std::nullopt);
    ASSERT_EQ(clean.failure, "");
    ASSERT_EQ(clean.windowsLeft, 0u);
    EXPECT_EQ(clean.taskBlocks + clean.openFiles + clean.clients + clean.boardConnections, 0u);
    for (const std::string& line : clean.shown) {
        if (line.find("Replace existing file?") != std::string::npos) {
            continue;  // Save As over an existing copy asks first
        }
        ADD_FAILURE() << flow.name << ": the clean run showed " << line;
    }
    if (flow.checkClean) {
        EXPECT_EQ(flow.checkClean(sweep), "") << flow.name;
    }
    std::vector<Point> points = PointsOf(clean.trace);
    if (!flow.action) {
        points.insert(points.begin(),
                      {{kComLibrary, "CoInitialize"}, {kComLibrary, "CoInitializeSecurity"}});
    }
    std::set<std::string> pairs;
    for (const Point& point : points) {
        pairs.insert(point.component + "." + point.operation);
        const Outcome run = sweep.Run(flow, point);
        if (std::getenv("TAV_SWEEP_VERBOSE") != nullptr) {
            std::cout << "[ point    ] " << flow.name << ", " << point.Describe() << "\n";
            for (const std::string& line : run.shown) {
                std::cout << "    " << line << "\n";
            }
        }
        for (const std::string& fault : Judge(flow, point, clean, run)) {
            std::string shown;
            for (const std::string& line : run.shown) {
                shown += "\n    " + line;
            }
            ADD_FAILURE() << flow.name << ", " << point.Describe() << " failing: " << fault
                          << "\n  shown:" << shown;
        }
    }
    std::string list;
    for (const std::string& pair : pairs) {
        list += " " + pair;
    }
    std::cout << "[ sweep    ] " << flow.name << ": " << clean.trace.size() << " calls, "
              << points.size() << " failures swept, " << pairs.size()
              << " distinct operations:" << list << "\n";
}

// The data folder every flow starts from: a System Definition and both tables in force.
Files Folder(Files more = {}) {
    Files files = {
        {"TAV.SDF", kMainDialogSysDef}, {"TAV.IXT", kInputTable}, {"TAV.OXT", kOutputTable}};
    files.insert(more.begin(), more.end());
    return files;
}

fw::Control& ItemOf(fw::CWnd& window, int id) {
    return headless::Item(window, id);
}

void Choose(fw::CWnd& window, int id, const std::string& text) {
    fw::Control& list = ItemOf(window, id);
    list.UserSelect(list.FindStringExact(-1, text));
}

// The file dialog: the input type, a name, OK; shown again after a failure, it is left.
WindowStep FileDialog(const std::string& name) {
    return [name](fw::CDialog& dialog, int visit) {
        if (visit > 0) {
            dialog.UserPressEscape();
            return;
        }
        ItemOf(dialog, IDC_INPUT).UserClick();
        ItemOf(dialog, IDC_FILE_NAME).UserType(name);
        ItemOf(dialog, fw::IDOK).UserClick();
    };
}

// The input table's view: the step on the first visit, closed on the next.
WindowStep View(std::function<void(fw::CDialog&)> step) {
    return [step](fw::CDialog& dialog, int visit) {
        if (visit == 0) {
            step(dialog);
        } else {
            dialog.UserClose();
        }
    };
}

std::string Expect(bool holds, const std::string& what) {
    return holds ? std::string() : what;
}

// A single input remap on MAIN VIDEO, 5 to the idle 100.
constexpr char kRemapRecord[] = ",MAIN,VIDEO,0,5,5,100,100,swept";

void Remap(FaultSweep&, CTavDlg& main) {
    ItemOf(main, IDC_INPUT).UserClick();
    Choose(main, IDC_SWITCHER, "MAIN");
    Choose(main, IDC_LEVEL, "VIDEO");
    ItemOf(main, IDC_SINGLE).UserClick();
    ItemOf(main, IDC_ORIGINAL_NUMBER).UserType("5");
    Choose(main, IDC_NEW_NUMBER, "100");
    ItemOf(main, IDC_COMMENT).UserType("swept");
    ItemOf(main, IDC_REMAP).UserClick();
}

std::vector<Flow> Flows() {
    const auto remap = Remap;
    const auto remapRecorded = [](FaultSweep& sweep) {
        return Expect(
            sweep.File("TAV.IXT").find(std::string(kRemapRecord) + "\r\n") != std::string::npos,
            "the remap is not in TAV.IXT");
    };
    const auto command = [](fw::UINT id) {
        return [id](FaultSweep&, CTavDlg& main) { main.UserCommand(id); };
    };
    return {
        {"start-up", Folder(), nullptr, {}, {}, nullptr},
        {"System Definition save",
         Folder(),
         command(ID_VIEW_SYSTEM_DEFINITION),
         {{IDD_SYSDEF,
           [](fw::CDialog& dialog, int visit) {
               if (visit == 0) {
                   auto* grid = dynamic_cast<fw::CGridCtrl*>(&ItemOf(dialog, IDC_GRID));
                   grid->UserTypeCell(5, 4, "2");
               }
               ItemOf(dialog, visit == 0 ? fw::IDOK : fw::IDCANCEL).UserClick();
           }}},
         {},
         [](FaultSweep& sweep) {
             return Expect(sweep.File("TAV.SDF") != kMainDialogSysDef, "TAV.SDF was not saved");
         }},
        {"remap", Folder(), remap, {}, kRemapRecord, remapRecorded},
        // The first remap: the table file is created by it.
        {"first remap", {{"TAV.SDF", kMainDialogSysDef}}, remap, {}, kRemapRecord, remapRecorded},
        {"Restore",
         Folder(),
         command(ID_VIEW_INPUT_REMAP_TABLE),
         {{IDD_REMAP_TABLE, View([](fw::CDialog& view) {
               dynamic_cast<fw::CGridCtrl*>(&ItemOf(view, IDC_GRID))->UserClickCell(2, 0);
               ItemOf(view, IDC_RESTORE).UserClick();
           })}},
         {},
         [](FaultSweep& sweep) {
             return Expect(sweep.File("TAV.IXT").find(",16,16,120,120,") != std::string::npos,
                           "port 17 was not restored");
         }},
        {"Restore All",
         Folder(),
         command(ID_VIEW_INPUT_REMAP_TABLE),
         {{IDD_REMAP_TABLE,
           View([](fw::CDialog& view) { ItemOf(view, IDC_RESTORE_ALL).UserClick(); })}},
         {},
         [](FaultSweep& sweep) {
             return Expect(sweep.File("TAV.IXT") == kCrcLine, "TAV.IXT still holds remaps");
         }},
        {"Save As",
         Folder({{"OLD.IXT", kCrcLine}}),
         command(ID_FILE_SAVE_REMAP_TABLE_AS),
         {{IDD_FILE, FileDialog("OLD.IXT")}},
         {},
         [](FaultSweep& sweep) {
             return Expect(sweep.File("OLD.IXT") == kInputTable, "OLD.IXT is not the table");
         }},
        {"Select",
         Folder({{"SPARE.IXT", kSpareTable}}),
         [](FaultSweep& sweep, CTavDlg& main) {
             main.UserCommand(ID_FILE_SELECT_REMAP_TABLE);
             // Selected: the spare table is the one in force; not selected: the old one is.
             const std::string file = main.TableFile(IoType::Input);
             const std::size_t entries =
                 main.Table(IoType::Input) ? main.Table(IoType::Input)->size() : 0;
             if (entries != 1 || (file != "SPARE.IXT" && file != "TAV.IXT") ||
                 (*main.Table(IoType::Input))[0]->m_nOrigFirst != (file == "SPARE.IXT" ? 5 : 16)) {
                 sweep.Note("the table in force is neither the old nor the selected one");
             } else if (sweep.Clean() && file != "SPARE.IXT") {
                 sweep.Note("SPARE.IXT was not selected");
             }
         },
         {{IDD_FILE, FileDialog("SPARE.IXT")}},
         {},
         nullptr},
        {"print",
         Folder(),
         command(ID_FILE_PRINT_REMAP_TABLE),
         {{IDD_PRINT_CHOICE,
           [](fw::CDialog& dialog, int) {
               ItemOf(dialog, IDC_INPUT).UserClick();
               ItemOf(dialog, fw::IDOK).UserClick();
           }}},
         {},
         [](FaultSweep& sweep) {
             return Expect(!sweep.Backend().Documents().empty(), "nothing was printed");
         }},
    };
}

// The judge itself: each kind of fault in a run is caught, and a sound run passes.
TEST(FaultSweepJudge, CatchesEveryKindOfFault) {
    Flow flow{"remap", Folder(), nullptr, {}, kRemapRecord, nullptr};
    const Point point{"FileAccess", "Write", 1};
    Outcome clean;
    clean.before = Folder();
    clean.files = Folder({{"TAV.IXT", kSpareTable}});
    Outcome sound = clean;
    sound.files = Folder();
    sound.shown = {"error: x | DCOM Error Msg: File Access: sweep fault at " + point.Describe() +
                   "\r\nFile: TavFile"};
    EXPECT_TRUE(Judge(flow, point, clean, sound).empty());
    // The old table with the remap's journal line appended is the record of the remap.
    sound.files["TAV.IXT"] = kInputTable + "09:00:00,May 01 2002,MAIN,VIDEO,0,5,5,100,100,swept\n";
    EXPECT_TRUE(Judge(flow, point, clean, sound).empty());

    const std::vector<std::function<void(Outcome&)>> faults = {
        [](Outcome& o) { o.shown.clear(); },
        [](Outcome& o) { o.shown = {"box: There is no remap table to print."}; },
        [](Outcome& o) { o.shown.push_back("error: y | DCOM Error Msg: File Access: no error"); },
        [](Outcome& o) { o.files["TAV.IXT"] = kCrcLine; },
        [](Outcome& o) { o.files["TAV.IXT"] = kInputTable + "swept\nswept\n"; },
        [](Outcome& o) { o.files.erase("TAV.SDF"); },
        [](Outcome& o) { o.files["TAV.IXT.1.BAD"] = ""; },
        [](Outcome& o) { o.failure = "exception: stuck"; },
        [](Outcome& o) { o.windowsLeft = 1; },
        [](Outcome& o) { o.taskBlocks = 1; },
        [](Outcome& o) { o.openFiles = 1; },
        [](Outcome& o) { o.clients = 1; },
    };
    for (std::size_t i = 0; i < faults.size(); ++i) {
        Outcome run = sound;
        faults[i](run);
        EXPECT_FALSE(Judge(flow, point, clean, run).empty()) << "fault " << i;
    }
}

class FlowSweep : public FaultSweep, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(FlowSweep, EveryComponentCallFailsInTurn) {
    Sweep(*this, Flows().at(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Flows, FlowSweep, ::testing::Range<std::size_t>(0, Flows().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& param) {
                             std::string name = Flows().at(param.param).name;
                             std::replace_if(
                                 name.begin(), name.end(),
                                 [](char c) {
                                     return !std::isalnum(static_cast<unsigned char>(c));
                                 },
                                 '_');
                             return name;
                         });

}  // namespace
}  // namespace apptest
