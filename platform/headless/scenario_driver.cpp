#include "platform/headless/scenario_driver.h"

#include <algorithm>
#include <exception>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

#include "platform/fw/dialog.h"
#include "platform/fw/grid.h"
#include "platform/fw/message_queue.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/transcript.h"

namespace headless {

namespace {

[[noreturn]] void FailAt(const ScriptLine& line, const std::string& why) {
    throw ScriptFailure("line " + std::to_string(line.number) + " (" + line.text + "): " + why);
}

int ParseInt(const ScriptLine& line, std::size_t index) {
    if (index >= line.words.size()) {
        throw ScriptFailure("line " + std::to_string(line.number) +
                            ": missing number: " + line.text);
    }
    try {
        std::size_t used = 0;
        const int value = std::stoi(line.words[index], &used, 0);
        if (used == line.words[index].size()) {
            return value;
        }
    } catch (const std::exception&) {
    }
    throw ScriptFailure("line " + std::to_string(line.number) +
                        ": not a number: " + line.words[index]);
}

int AnswerCode(const std::string& word) {
    static const std::map<std::string, int> answers = {
        {"ok", fw::IDOK},       {"cancel", fw::IDCANCEL}, {"yes", fw::IDYES},      {"no", fw::IDNO},
        {"abort", fw::IDABORT}, {"retry", fw::IDRETRY},   {"ignore", fw::IDIGNORE}};
    auto it = answers.find(word);
    return it == answers.end() ? 0 : it->second;
}

struct GridKey {
    fw::UINT key = 0;
    bool shift = false;
    bool ctrl = false;
};

// "Space", "Shift+Down", "Ctrl+Space", "Ctrl+Shift+End" and the like.
std::optional<GridKey> ParseGridKey(std::string name) {
    static const std::map<std::string, fw::UINT> keys = {
        {"Up", fw::VK_UP},       {"Down", fw::VK_DOWN}, {"Left", fw::VK_LEFT},
        {"Right", fw::VK_RIGHT}, {"Home", fw::VK_HOME}, {"End", fw::VK_END},
        {"Space", fw::VK_SPACE}};
    GridKey key;
    for (;;) {
        if (name.starts_with("Shift+") && !key.shift) {
            key.shift = true;
            name.erase(0, 6);
        } else if (name.starts_with("Ctrl+") && !key.ctrl) {
            key.ctrl = true;
            name.erase(0, 5);
        } else {
            break;
        }
    }
    const auto it = keys.find(name);
    if (it == keys.end()) {
        return std::nullopt;
    }
    key.key = it->second;
    return key;
}

}  // namespace

ScenarioDriver::ScenarioDriver(std::vector<ScriptLine> lines, fw::ManualClock* clock)
    : m_lines(std::move(lines)), m_clock(clock) {}

const ScriptLine* ScenarioDriver::Peek() const {
    return m_next < m_lines.size() ? &m_lines[m_next] : nullptr;
}

const ScriptLine& ScenarioDriver::Take() {
    return m_lines[m_next++];
}

void ScenarioDriver::Fail(const ScriptLine* line, const std::string& why) const {
    if (line == nullptr) {
        throw ScriptFailure("end of script: " + why);
    }
    FailAt(*line, why);
}

bool ScenarioDriver::Unwinding() const {
    if (!m_failure) {
        return false;
    }
    if (std::uncaught_exceptions() == 0) {
        throw ScriptFailure(*m_failure);  // swallowed on its way (by a destructor): again
    }
    return true;
}

template <typename Act>
auto ScenarioDriver::Remembering(Act act) {
    try {
        return act();
    } catch (const ScriptFailure& failure) {
        m_failure = failure.what();
        throw;
    }
}

void ScenarioDriver::Idle(fw::CWnd& window) {
    if (Unwinding()) {
        // A window opened while the failure unwinds the program (by a destructor): closed, since
        // a second exception would end the process. One that will not close fails all the same.
        if (m_closedWhileUnwinding == &window) {
            throw ScriptFailure(*m_failure);
        }
        m_closedWhileUnwinding = &window;
        window.UserClose();
        return;
    }
    Remembering([&] {
        for (;;) {
            const ScriptLine* line = Peek();
            if (line == nullptr) {
                Fail(nullptr, "window " + DescribeWindow(window) + " waits for the operator");
            }
            Take();
            if (RunLine(*line, window)) {
                return;
            }
        }
    });
}

namespace {

// A line of the script run against the window that waits for the operator.
struct Turn {
    const ScriptLine& line;
    fw::CWnd& window;
    fw::CDialog* dialog;

    [[noreturn]] void Fail(const std::string& why) const { FailAt(line, why); }

    fw::Control& Control(std::size_t index) const {
        const int id = ParseInt(line, index);
        fw::Control* c = dialog != nullptr ? dialog->GetDlgItem(id) : nullptr;
        if (c == nullptr) {
            Fail("window " + DescribeWindow(window) + " has no control " + std::to_string(id));
        }
        return *c;
    }

    // The operator can use only an enabled, visible control of an enabled window.
    fw::Control& Usable(fw::Control& c) const {
        if (!window.IsWindowEnabled() || !c.IsWindowEnabled() || !c.IsWindowVisible()) {
            Fail("control " + std::to_string(c.GetDlgCtrlID()) + " of window " +
                 DescribeWindow(window) + " cannot be used: it is disabled or hidden");
        }
        return c;
    }

    fw::CGridCtrl& UsableGrid(std::size_t index) const {
        auto* grid = dynamic_cast<fw::CGridCtrl*>(&Control(index));
        if (grid == nullptr) {
            Fail("control " + line.words[index] + " is not a grid");
        }
        Usable(*grid);
        return *grid;
    }
};

// The verbs below say whether the window has been acted on (the program runs on) or only
// looked at (the next line goes to the same window).

bool CheckWindow(const Turn& turn) {
    const int id = ParseInt(turn.line, 1);
    const int actual = turn.dialog != nullptr ? turn.dialog->TemplateId() : 0;
    if (actual != id ||
        (turn.line.words.size() > 2 && turn.window.GetWindowText() != turn.line.words[2])) {
        turn.Fail("the waiting window is " + DescribeWindow(turn.window));
    }
    return false;
}

bool Click(const Turn& turn) {
    turn.Usable(turn.Control(1)).UserClick();
    return true;
}

bool Type(const Turn& turn) {
    turn.Usable(turn.Control(1))
        .UserType(turn.line.words.size() > 2 ? turn.line.words[2] : std::string());
    return true;
}

// click-cell CONTROL ROW COL, type-cell CONTROL ROW COL TEXT
bool ActOnCell(const Turn& turn) {
    fw::CGridCtrl& grid = turn.UsableGrid(1);
    const int row = ParseInt(turn.line, 2);
    const int col = ParseInt(turn.line, 3);
    if (row < 0 || col < 0 || row >= grid.GetNumRows() || col >= grid.GetNumCols()) {
        turn.Fail("the grid has no cell " + std::to_string(row) + "," + std::to_string(col));
    }
    const auto& words = turn.line.words;
    if (words[0] == "click-cell") {
        grid.UserClickCell(row, col);
    } else if (!grid.UserTypeCell(row, col, words.size() > 4 ? words[4] : std::string())) {
        turn.Fail("the cell does not take this input");
    }
    return true;
}

bool Key(const Turn& turn) {
    fw::CGridCtrl& grid = turn.UsableGrid(1);
    const std::optional<GridKey> key =
        turn.line.words.size() > 2 ? ParseGridKey(turn.line.words[2]) : std::nullopt;
    if (!key) {
        turn.Fail(
            "keys are Up, Down, Left, Right, Home, End and Space, after Shift+ or "
            "Ctrl+ or both");
    }
    if (!grid.UserKeyDown(key->key, key->shift, key->ctrl)) {
        turn.Fail("the grid does not take this key");
    }
    return true;
}

// select CONTROL ITEM, or select CONTROL #INDEX
bool Select(const Turn& turn) {
    fw::Control& c = turn.Usable(turn.Control(1));
    if (turn.line.words.size() < 3) {
        turn.Fail("select needs an item");
    }
    int index = -1;
    const std::string& item = turn.line.words[2];
    if (item.size() > 1 && item[0] == '#') {
        index = std::stoi(item.substr(1));
    } else {
        const auto& items = c.Items();
        auto it = std::find(items.begin(), items.end(), item);
        index = it == items.end() ? -1 : static_cast<int>(it - items.begin());
    }
    if (index < 0 || index >= c.GetCount()) {
        turn.Fail("control " + std::to_string(c.GetDlgCtrlID()) + " has no item " + item);
    }
    c.UserSelect(index);
    return true;
}

bool DropDown(const Turn& turn) {
    turn.Control(1).UserDropDown();
    return true;
}

bool Menu(const Turn& turn) {
    const auto id = static_cast<fw::UINT>(ParseInt(turn.line, 1));
    const fw::Menu* menu = turn.window.GetMenu();
    const fw::MenuItem* item = menu != nullptr ? menu->FindItem(id) : nullptr;
    if (item == nullptr || item->grayed || !turn.window.IsWindowEnabled()) {
        turn.Fail("window " + DescribeWindow(turn.window) + " offers no usable menu item " +
                  std::to_string(id));
    }
    turn.window.UserCommand(id);
    return true;
}

bool SysCommand(const Turn& turn) {
    turn.window.UserSysCommand(static_cast<fw::UINT>(ParseInt(turn.line, 1)));
    return true;
}

bool Close(const Turn& turn) {
    turn.window.UserClose();
    return true;
}

// enter, escape
bool PressKey(const Turn& turn) {
    if (turn.dialog == nullptr) {
        turn.Fail("the waiting window is not a dialog");
    }
    turn.line.words[0] == "enter" ? turn.dialog->UserPressEnter() : turn.dialog->UserPressEscape();
    return true;
}

// A message box or the print dialog is not a window that waits for the operator.
bool ExpectedAnotherWindow(const Turn& turn) {
    turn.Fail("expected a " + turn.line.words[0] + " but window " + DescribeWindow(turn.window) +
              " waits for the operator");
}

const std::map<std::string, bool (*)(const Turn&), std::less<>>& WindowVerbs() {
    static const std::map<std::string, bool (*)(const Turn&), std::less<>> verbs = {
        {"window", CheckWindow},
        {"click", Click},
        {"type", Type},
        {"click-cell", ActOnCell},
        {"type-cell", ActOnCell},
        {"key", Key},
        {"select", Select},
        {"dropdown", DropDown},
        {"menu", Menu},
        {"syscommand", SysCommand},
        {"close", Close},
        {"enter", PressKey},
        {"escape", PressKey},
        {"msgbox", ExpectedAnotherWindow},
        {"print-dialog", ExpectedAnotherWindow},
    };
    return verbs;
}

}  // namespace

bool ScenarioDriver::RunLine(const ScriptLine& line, fw::CWnd& window) {
    const std::string& cmd = line.words[0];
    const auto& verbs = WindowVerbs();
    if (const auto verb = verbs.find(cmd); verb != verbs.end()) {
        return verb->second(Turn{line, window, dynamic_cast<fw::CDialog*>(&window)});
    }
    if (cmd == "expect") {
        Expect(line, window);
        return false;
    }
    if (cmd == "wait" || cmd == "wait-message") {
        Wait(line);
        return true;
    }
    if (m_extension && m_extension(line, &window)) {
        return true;
    }
    Fail(&line, "unknown command " + cmd);
}

void ScenarioDriver::Expect(const ScriptLine& line, fw::CWnd& window) {
    if (line.words.size() < 3) {
        Fail(&line, "expect needs a subject and a property");
    }
    if (line.words[1] == "title") {
        if (window.GetWindowText() != line.words[2]) {
            Fail(&line, "the title is " + Quote(window.GetWindowText()));
        }
        return;
    }
    if (line.words[1] == "status") {
        const fw::CStatusBar* bar = window.GetStatusBar();
        if (bar == nullptr) {
            Fail(&line, "window " + DescribeWindow(window) + " has no status bar");
        }
        if (bar->GetPaneText(0) != line.words[2]) {
            Fail(&line, "the status bar says " + Quote(bar->GetPaneText(0)));
        }
        return;
    }
    auto* dialog = dynamic_cast<fw::CDialog*>(&window);
    const int id = ParseInt(line, 1);
    fw::Control* c = dialog != nullptr ? dialog->GetDlgItem(id) : nullptr;
    if (c == nullptr) {
        Fail(&line, "window " + DescribeWindow(window) + " has no control " + std::to_string(id));
    }
    const std::string& prop = line.words[2];
    const std::vector<std::string> args(line.words.begin() + 3, line.words.end());
    auto check = [&](bool ok, const std::string& actual) {
        if (!ok) {
            Fail(&line, "control " + std::to_string(id) + " is " + actual);
        }
    };
    if (prop == "enabled" || prop == "disabled") {
        const bool enabled = c->IsWindowEnabled() != fw::FALSE;
        check(enabled == (prop == "enabled"), enabled ? "enabled" : "disabled");
    } else if (prop == "visible" || prop == "hidden") {
        const bool visible = c->IsWindowVisible() != fw::FALSE;
        check(visible == (prop == "visible"), visible ? "visible" : "hidden");
    } else if (prop == "checked" || prop == "unchecked") {
        check((c->GetCheck() != 0) == (prop == "checked"), c->GetCheck() ? "checked" : "unchecked");
    } else if (prop == "focused") {
        check(c->HasFocus(), "without the keyboard focus");
    } else if (prop == "text") {
        const std::string want = args.empty() ? std::string() : args[0];
        check(c->GetWindowText() == want, "showing " + Quote(c->GetWindowText()));
    } else if (prop == "contains") {
        const std::string want = args.empty() ? std::string() : args[0];
        check(c->GetWindowText().find(want) != std::string::npos,
              "showing " + Quote(c->GetWindowText()));
    } else if (prop == "items") {
        std::string actual;
        for (const auto& item : c->Items()) {
            actual += " " + Quote(item);
        }
        check(c->Items() == args, "listing" + (actual.empty() ? std::string(" nothing") : actual));
    } else if (prop == "selected") {
        const int sel = c->GetCurSel();
        const std::string actual = sel < 0 ? "none" : c->GetItemText(sel);
        const std::string want = args.empty() ? std::string("none") : args[0];
        check(actual == want && (sel >= 0 || want == "none"), "selecting " + Quote(actual));
    } else if (auto* grid = dynamic_cast<fw::CGridCtrl*>(c);
               grid != nullptr && (prop == "cell" || prop == "rows" || prop == "row-selected" ||
                                   prop == "row-unselected" || prop == "row-border" ||
                                   prop == "current" || prop == "cell-color")) {
        ExpectGrid(line, *grid, prop, args);
    } else if (prop == "count") {
        const int want = args.empty() ? -1 : std::stoi(args[0]);
        check(c->GetCount() == want, "holding " + std::to_string(c->GetCount()) + " items");
    } else {
        Fail(&line, "unknown property " + prop);
    }
}

void ScenarioDriver::ExpectGrid(const ScriptLine& line, const fw::CGridCtrl& grid,
                                const std::string& prop, const std::vector<std::string>& args) {
    auto number = [&](std::size_t i) {
        if (i >= args.size()) {
            Fail(&line, "missing number");
        }
        return ParseInt(line, i + 3);
    };
    if (prop == "cell") {
        const int row = number(0);
        const int col = number(1);
        const std::string want = args.size() > 2 ? args[2] : std::string();
        const std::string actual = grid.GetCellText(row, col);
        if (actual != want) {
            Fail(&line, "cell " + std::to_string(row) + "," + std::to_string(col) + " shows " +
                            Quote(actual));
        }
    } else if (prop == "rows") {
        if (grid.GetNumRows() != number(0)) {
            Fail(&line, "the grid has " + std::to_string(grid.GetNumRows()) + " rows");
        }
    } else if (prop == "current") {
        const int row = number(0);
        const int col = number(1);
        if (grid.GetCurrentRow() != row || grid.GetCurrentCol() != col) {
            Fail(&line, "the keyboard is on cell " + std::to_string(grid.GetCurrentRow()) + "," +
                            std::to_string(grid.GetCurrentCol()));
        }
    } else if (prop == "cell-color") {
        const int row = number(0);
        const int col = number(1);
        const std::string want = args.size() > 2 ? args[2] : std::string();
        const fw::COLORREF color = grid.GetCellBackground(row, col);
        const std::string actual = color == fw::kColorRed     ? "red"
                                   : color == fw::kColorWhite ? "white"
                                                              : std::to_string(color);
        if (actual != want) {
            Fail(&line,
                 "cell " + std::to_string(row) + "," + std::to_string(col) + " is " + actual);
        }
    } else if (prop == "row-border") {
        if (grid.GetRowBorder(number(0)) == fw::kRowBorderNone) {
            Fail(&line, "the row has no border");
        }
    } else {
        const bool selected = grid.IsRowSelected(number(0));
        if (selected != (prop == "row-selected")) {
            Fail(&line, selected ? "the row is selected" : "the row is not selected");
        }
    }
}

void ScenarioDriver::Wait(const ScriptLine& line) {
    if (line.words[0] == "wait-message") {
        const int ms = line.words.size() > 1 ? ParseInt(line, 1) : 5000;
        if (!fw::TheMessageQueue().WaitFor(ms)) {
            Fail(&line, "no message arrived within " + std::to_string(ms) + " ms");
        }
        return;
    }
    const int seconds = ParseInt(line, 1);
    if (m_clock == nullptr) {
        Fail(&line, "time can only pass on the scenario clock");
    }
    m_clock->Advance(static_cast<std::int64_t>(seconds) * 1000);
}

int ScenarioDriver::AnswerMessageBox(const fw::MessageBoxRequest& request) {
    if (Unwinding()) {
        switch (request.type & fw::MB_TYPEMASK) {
            case fw::MB_OK:
                return fw::IDOK;
            case fw::MB_YESNO:
                return fw::IDNO;
            default:
                return fw::IDCANCEL;
        }
    }
    return Remembering([&] { return Answer(request); });
}

int ScenarioDriver::Answer(const fw::MessageBoxRequest& request) {
    const ScriptLine* line = Peek();
    const std::string shown = DescribeMessageBox(request);
    if (line == nullptr || line->words[0] != "msgbox") {
        Fail(line, "unexpected " + shown);
    }
    Take();
    int answer = 0;
    std::string picture;
    bool detailsShown = false;
    for (std::size_t i = 1; i < line->words.size(); ++i) {
        const std::string& word = line->words[i];
        if (word == "->") {
            if (i + 1 >= line->words.size() || AnswerCode(line->words[i + 1]) == 0) {
                Fail(line, "-> needs an answer (ok, cancel, yes, no)");
            }
            answer = AnswerCode(line->words[++i]);
            continue;
        }
        const auto eq = word.find('=');
        const std::string key = word.substr(0, eq);
        const std::string value = eq == std::string::npos ? std::string() : word.substr(eq + 1);
        if (key == "snapshot" || key == "snapshot-details") {
            if (value.size() <= 4 || !value.ends_with(".png")) {
                Fail(line, key + "= needs a file name ending in .png");
            }
            detailsShown = key == "snapshot-details";
            if (detailsShown && request.detail.empty()) {
                Fail(line, "snapshot-details= needs a box with a detailed text; the box shown is " +
                               shown);
            }
            picture = value;
            continue;
        }
        std::string actual;
        if (key == "caption") {
            actual = request.caption;
        } else if (key == "icon") {
            actual = IconName(request.type);
        } else if (key == "buttons") {
            actual = ButtonsName(request.type);
        } else if (key == "text") {
            actual = request.text;
        } else if (key == "detail") {
            actual = request.detail;
        } else if (key == "detail-has") {
            if (request.detail.find(value) == std::string::npos) {
                Fail(line, "the message box shown is " + shown);
            }
            continue;
        } else {
            Fail(line, "unknown message box field " + key);
        }
        if (actual != value) {
            Fail(line, "the message box shown is " + shown);
        }
    }
    if (answer == 0) {
        answer = (request.type & fw::MB_TYPEMASK) == fw::MB_OK ? fw::IDOK : 0;
        if (answer == 0) {
            Fail(line, "no answer given for " + shown);
        }
    }
    if (!picture.empty() && m_boxPicture && !m_boxPicture(request, picture, detailsShown)) {
        Fail(line, "cannot save a picture as " + picture);
    }
    return answer;
}

int ScenarioDriver::AnswerPrintDialog(fw::PrintDialogRequest& request) {
    if (Unwinding()) {
        return fw::IDCANCEL;
    }
    return Remembering([&] { return AnswerPrint(request); });
}

int ScenarioDriver::AnswerPrint(fw::PrintDialogRequest& request) {
    const ScriptLine* line = Peek();
    if (line == nullptr || line->words[0] != "print-dialog") {
        Fail(line, "unexpected print dialog");
    }
    Take();
    int answer = fw::IDOK;
    for (std::size_t i = 1; i < line->words.size(); ++i) {
        if (line->words[i] == "->" && i + 1 < line->words.size()) {
            answer = AnswerCode(line->words[++i]);
        } else if (line->words[i] == "printer" && i + 1 < line->words.size()) {
            request.pd->settings.printerName = line->words[++i];
        } else if (line->words[i] == "pdf" && i + 1 < line->words.size()) {
            request.pd->settings.outputFile = line->words[++i];
        }
    }
    return answer;
}

void ScenarioDriver::CheckDataFile(const ScriptLine& line) {
    if (line.words.size() < 2 || (line.words[0] == "file-is" && line.words.size() < 3)) {
        Fail(&line, line.words[0] + " needs a file name" +
                        (line.words[0] == "file-is" ? " and a content" : ""));
    }
    const std::string& name = line.words[1];
    if (name.find('/') != std::string::npos || m_dataFolder.empty()) {
        Fail(&line, "only a bare name of the data folder can be checked");
    }
    std::ifstream in(m_dataFolder / name, std::ios::binary);
    if (line.words[0] == "file-missing") {
        if (in) {
            Fail(&line, "the file exists");
        }
        return;
    }
    if (!in) {
        Fail(&line, "the data folder has no file " + name);
    }
    const std::string actual((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    if (actual != line.words[2]) {
        Fail(&line, "the file holds " + Quote(actual));
    }
}

void ScenarioDriver::ThrowPendingFailure() const {
    if (m_failure) {
        throw ScriptFailure(*m_failure);
    }
}

void ScenarioDriver::Finish(int exitCode) {
    ThrowPendingFailure();
    while (const ScriptLine* line = Peek()) {
        Take();
        if (line->words[0] == "transcript-has" || line->words[0] == "transcript-lacks") {
            const std::string want = line->words.size() > 1 ? line->words[1] : std::string();
            bool found = false;
            for (const auto& seen :
                 m_transcript != nullptr ? m_transcript->Lines() : std::vector<std::string>{}) {
                found = found || seen.find(want) != std::string::npos;
            }
            if (found != (line->words[0] == "transcript-has")) {
                Fail(line, found ? "the transcript shows it" : "the transcript does not show it");
            }
            continue;
        }
        if (line->words[0] == "file-is" || line->words[0] == "file-missing") {
            CheckDataFile(*line);
            continue;
        }
        if (line->words[0] == "exit") {
            if (ParseInt(*line, 1) != exitCode) {
                Fail(line, "the program ended with code " + std::to_string(exitCode));
            }
            continue;
        }
        const std::string& verb = line->words[0];
        if ((verb.rfind("data-", 0) == 0 || verb.rfind("audit-", 0) == 0 || verb == "signal" ||
             verb == "await") &&
            m_extension && m_extension(*line, nullptr)) {
            continue;  // a check of the program's files or trail, or a step kept with another
                       // player, which the extension knows
        }
        Fail(line, "the program has ended");
    }
}

}  // namespace headless
