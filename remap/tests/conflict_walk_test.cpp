// The conflict walk as one table: the table before, the new remap, the answers given, the table
// after and the messages shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <sstream>

#include "remap/conflict_walk.h"
#include "res/resources.h"

namespace {

// An entry as "row:OF-OL>NF-NL".
struct E {
    int row, of, ol, nf, nl;
    auto operator<=>(const E&) const = default;
};

std::ostream& operator<<(std::ostream& os, const E& e) {
    return os << e.row << ':' << e.of << '-' << e.ol << '>' << e.nf << '-' << e.nl;
}

struct Case {
    const char* name;
    std::vector<E> before;
    int row;
    E remap;  // its row is not used
    std::string io = "Input";
    std::string mode = "single";
    std::deque<int> answers;
    std::vector<E> after;
    bool abort = false;
    bool replaced = false;
    // Each message shown: "Q " for a Yes/No/Cancel question with the stop icon, "M " for the
    // OK-only stop box, then the text.
    std::vector<std::string> shown;
};

const std::string kConflict =
    "M The remapping entry you have just specified conflicts with previous remap.\nPlease check "
    "your data again.";

const std::string kSame =
    "Q There are already Input mappings in the range you have specified.\nRemapping will "
    "override those mappings in the Input Remap Table.\n\nDo you want to proceed?";
const std::string kOriginalRange =
    "Q The original whole board Input number '16-31' you have specified\nwere previously "
    "remapped to Input number '224-239'.\n\nRemapping will override the previous "
    "remapping.\n\nDo you want to proceed?";
const std::string kNewRange =
    "Q The new whole board Input number '240-255' you have specified\nwere previously "
    "remapped from Input number '32-47'.\n\nRemapping will override the previous "
    "remapping.\n\nDo you want to proceed?";

std::string Original(const std::string& mode, const std::string& io, int number, int was) {
    std::ostringstream text;
    text << "Q The original " << mode << ' ' << io << " number '" << number
         << "' you have specified\nwas previously remapped to " << io << " number '" << was
         << "'.\n\nRemapping will override the previous remapping.\n\nDo you want to proceed?";
    return text.str();
}

std::string New(const std::string& mode, const std::string& io, int number, int was) {
    std::ostringstream text;
    text << "Q The new " << mode << ' ' << io << " number '" << number
         << "' you have specified\nwas previously remapped from " << io << " number '" << was
         << "'.\n\nRemapping will override the previous remapping.\n\nDo you want to proceed?";
    return text.str();
}

struct Walked {
    std::vector<E> after;
    std::vector<std::string> shown;
    remap::WalkOutcome outcome;
};

// Walks the case's table, or the table with its entries in reversed order.
Walked Walk(const Case& c, bool reversed) {
    RemapTable table;
    std::vector<E> before = c.before;
    if (reversed) {
        std::reverse(before.begin(), before.end());
    }
    for (const E& e : before) {
        auto entry = std::make_unique<CRemapEntry>();
        entry->m_nRow = e.row;
        entry->m_nOrigFirst = e.of;
        entry->m_nOrigLast = e.ol;
        entry->m_nNewFirst = e.nf;
        entry->m_nNewLast = e.nl;
        entry->m_strComment = "kept";
        table.push_back(std::move(entry));
    }
    std::deque<int> answers = c.answers;
    Walked run;
    run.outcome =
        remap::WalkConflicts(table, c.row, {c.remap.of, c.remap.ol, c.remap.nf, c.remap.nl}, c.io,
                             c.mode, [&](const std::string& text, fw::UINT type) {
                                 if (type == (fw::MB_YESNOCANCEL | fw::MB_ICONHAND)) {
                                     run.shown.push_back("Q " + text);
                                 } else if (type == (fw::MB_OK | fw::MB_ICONHAND)) {
                                     run.shown.push_back("M " + text);
                                     return fw::IDOK;
                                 } else {
                                     run.shown.push_back("? " + text);
                                 }
                                 if (answers.empty()) {
                                     ADD_FAILURE() << "an unexpected question: " << text;
                                     return fw::IDCANCEL;
                                 }
                                 const int answer = answers.front();
                                 answers.pop_front();
                                 return answer;
                             });
    for (const auto& entry : table) {
        run.after.push_back({entry->m_nRow, entry->m_nOrigFirst, entry->m_nOrigLast,
                             entry->m_nNewFirst, entry->m_nNewLast});
        EXPECT_EQ(entry->m_strComment, "kept");
    }
    EXPECT_TRUE(answers.empty());
    return run;
}

template <class T>
std::vector<T> Sorted(std::vector<T> items) {
    std::sort(items.begin(), items.end());
    return items;
}

constexpr int Y = fw::IDYES;
constexpr int N = fw::IDNO;
constexpr int C = fw::IDCANCEL;

TEST(ConflictWalk, Cases) {
    fw::InstallResources(&tav::TavResources());
    // A row: its name; before, row, remap, io, mode, answers; after, abort, replaced; shown.
    // clang-format off
    const std::vector<Case> cases = {
        {"A: the same remap, Yes: replaced in place",
         {{0, 5, 5, 200, 200}}, 0, {0, 5, 5, 200, 200}, "Input", "single", {Y},
         {{0, 5, 5, 200, 200}}, false, true,
         {"Q There are already Input mappings in the range you have specified.\nRemapping will "
          "override those mappings in the Input Remap Table.\n\nDo you want to proceed?"}},
        {"A: No aborts",
         {{0, 5, 5, 200, 200}}, 0, {0, 5, 5, 200, 200}, "Output", "single", {N},
         {{0, 5, 5, 200, 200}}, true, false,
         {"Q There are already Output mappings in the range you have specified.\nRemapping will "
          "override those mappings in the Output Remap Table.\n\nDo you want to proceed?"}},
        {"B1 then B2: both deleted, the walk goes on",
         {{0, 5, 5, 200, 200}, {0, 7, 7, 201, 201}}, 0, {0, 5, 5, 201, 201}, "Input", "single", {Y, Y},
         {}, false, false,
         {Original("single", "Input", 5, 200), New("single", "Input", 201, 7)}},
        {"B1 Yes then B2 Cancel: the deletion stays after the abort",
         {{0, 5, 5, 200, 200}, {0, 7, 7, 201, 201}}, 0, {0, 5, 5, 201, 201}, "Input", "single", {Y, C},
         {{0, 7, 7, 201, 201}}, true, false,
         {Original("single", "Input", 5, 200), New("single", "Input", 201, 7)}},
        {"B2: new number taken, shows it and the old original",
         {{0, 5, 5, 200, 200}}, 0, {0, 7, 7, 200, 200}, "Input", "single", {Y},
         {}, false, false,
         {New("single", "Input", 200, 5)}},
        {"B3: the new original is an existing new number",
         {{0, 5, 5, 200, 200}}, 0, {0, 200, 200, 300, 300}, "Input", "single", {},
         {{0, 5, 5, 200, 200}}, true, false,
         {kConflict}},
        {"B: a whole board covering a single entry's original",
         {{0, 20, 20, 300, 300}}, 0, {0, 16, 31, 240, 255}, "Input", "whole board", {Y},
         {}, false, false,
         {Original("whole board", "Input", 16, 300)}},
        {"C1: same original range, Yes rewrites the entry",
         {{0, 16, 31, 224, 239}}, 0, {0, 16, 31, 240, 255}, "Input", "whole board", {Y},
         {{0, 16, 31, 240, 255}}, false, true,
         {"Q The original whole board Input number '16-31' you have specified\nwere previously "
          "remapped to Input number '224-239'.\n\nRemapping will override the previous "
          "remapping.\n\nDo you want to proceed?"}},
        {"C2: same new range, No aborts and changes nothing",
         {{0, 16, 31, 224, 239}}, 0, {0, 32, 47, 224, 239}, "Input", "whole board", {N},
         {{0, 16, 31, 224, 239}}, true, false,
         {"Q The new whole board Input number '224-239' you have specified\nwere previously "
          "remapped from Input number '16-31'.\n\nRemapping will override the previous "
          "remapping.\n\nDo you want to proceed?"}},
        {"C3: overlapping ranges",
         {{0, 16, 31, 240, 255}}, 0, {0, 24, 39, 256, 271}, "Input", "whole board", {},
         {{0, 16, 31, 240, 255}}, true, false,
         {kConflict}},
        {"C: ranges apart go on",
         {{0, 16, 31, 240, 255}}, 0, {0, 32, 47, 256, 271}, "Input", "whole board", {},
         {{0, 16, 31, 240, 255}}, false, false,
         {}},
        {"D1 inside: split around the port, the copy before the entry",
         {{0, 16, 31, 240, 255}, {0, 100, 100, 101, 101}}, 0, {0, 20, 20, 300, 300}, "Input", "single", {Y},
         {{0, 16, 19, 240, 243}, {0, 21, 31, 245, 255}, {0, 100, 100, 101, 101}}, false, false,
         {Original("single", "Input", 20, 244)}},
        {"D1 first port: the entry starts one later",
         {{0, 16, 31, 240, 255}}, 0, {0, 16, 16, 300, 300}, "Input", "single", {Y},
         {{0, 17, 31, 241, 255}}, false, false,
         {Original("single", "Input", 16, 240)}},
        {"D1 last port: the entry ends one earlier",
         {{0, 16, 31, 240, 255}}, 0, {0, 31, 31, 300, 300}, "Input", "single", {Y},
         {{0, 16, 30, 240, 254}}, false, false,
         {Original("single", "Input", 31, 255)}},
        {"D2: the new number is inside the range",
         {{0, 16, 31, 240, 255}}, 0, {0, 100, 100, 245, 245}, "Input", "single", {Y},
         {{0, 16, 20, 240, 244}, {0, 22, 31, 246, 255}}, false, false,
         {New("single", "Input", 245, 21)}},
        {"D2 No aborts",
         {{0, 16, 31, 240, 255}}, 0, {0, 100, 100, 245, 245}, "Input", "single", {N},
         {{0, 16, 31, 240, 255}}, true, false,
         {New("single", "Input", 245, 21)}},
        {"D3: the new original is a new number of the range",
         {{0, 16, 31, 240, 255}}, 0, {0, 250, 250, 300, 300}, "Input", "single", {},
         {{0, 16, 31, 240, 255}}, true, false,
         {kConflict}},
        {"D3: decided at the first port, before a later port would match",
         {{0, 16, 31, 240, 255}}, 0, {0, 20, 20, 20, 20}, "Input", "single", {},
         {{0, 16, 31, 240, 255}}, true, false,
         {kConflict}},
        {"E: a new range running backwards examines no range",
         {{0, 16, 31, 240, 255}}, 0, {0, 16, 31, 255, 240}, "Input", "whole board", {},
         {{0, 16, 31, 240, 255}}, false, false,
         {}},
        {"another row never takes part",
         {{1, 5, 5, 200, 200}}, 0, {0, 5, 5, 200, 200}, "Input", "single", {},
         {{1, 5, 5, 200, 200}}, false, false,
         {}},
        {"no System Definition row: nothing matches",
         {{0, 5, 5, 200, 200}}, -1, {0, 5, 5, 200, 200}, "Input", "single", {},
         {{0, 5, 5, 200, 200}}, false, false,
         {}},
        // After a Yes the walk goes on: every clash of the row is examined.
        {"a split range and a single on the same new number: both give way",
         {{0, 16, 31, 240, 255}, {0, 7, 7, 300, 300}}, 0, {0, 20, 20, 300, 300}, "Input", "single", {Y, Y},
         {{0, 16, 19, 240, 243}, {0, 21, 31, 245, 255}}, false, false,
         {Original("single", "Input", 20, 244), New("single", "Input", 300, 7)}},
        {"one range clashes twice, by its original and by its new number",
         {{0, 16, 31, 240, 255}}, 0, {0, 20, 20, 250, 250}, "Input", "single", {Y, Y},
         {{0, 16, 19, 240, 243}, {0, 21, 25, 245, 249}, {0, 27, 31, 251, 255}}, false, false,
         {Original("single", "Input", 20, 244), New("single", "Input", 250, 26)}},
        {"one range clashes twice, by its new number first",
         {{0, 16, 31, 240, 255}}, 0, {0, 26, 26, 244, 244}, "Input", "single", {Y, Y},
         {{0, 16, 19, 240, 243}, {0, 21, 25, 245, 249}, {0, 27, 31, 251, 255}}, false, false,
         {New("single", "Input", 244, 20), Original("single", "Input", 26, 250)}},
        {"a range shrunk to one port is then a single entry",
         {{0, 20, 21, 250, 251}}, 0, {0, 20, 20, 251, 251}, "Input", "single", {Y, Y},
         {}, false, false,
         {Original("single", "Input", 20, 250), New("single", "Input", 251, 21)}},
        {"two ranges each lose a port",
         {{0, 16, 31, 240, 255}, {0, 32, 47, 256, 271}}, 0, {0, 20, 20, 260, 260}, "Input", "single", {Y, Y},
         {{0, 16, 19, 240, 243}, {0, 21, 31, 245, 255}, {0, 32, 35, 256, 259}, {0, 37, 47, 261, 271}},
         false, false,
         {Original("single", "Input", 20, 244), New("single", "Input", 260, 36)}},
        {"the same remap, then an older remap of its original",
         {{0, 5, 5, 200, 200}, {0, 5, 5, 201, 201}}, 0, {0, 5, 5, 200, 200}, "Input", "single", {Y, Y},
         {{0, 5, 5, 200, 200}}, false, true,
         {kSame, Original("single", "Input", 5, 201)}},
        {"the same remap twice: one entry stays",
         {{0, 5, 5, 200, 200}, {0, 5, 5, 200, 200}}, 0, {0, 5, 5, 200, 200}, "Input", "single", {Y, Y},
         {{0, 5, 5, 200, 200}}, false, true,
         {kSame, kSame}},
        {"a rewritten range, then a range on the same new numbers",
         {{0, 16, 31, 224, 239}, {0, 32, 47, 240, 255}}, 0, {0, 16, 31, 240, 255}, "Input", "whole board", {Y, Y},
         {{0, 16, 31, 240, 255}}, false, true,
         {kOriginalRange, kNewRange}},
        {"a rewritten range, then the same remap",
         {{0, 16, 31, 224, 239}, {0, 16, 31, 240, 255}}, 0, {0, 16, 31, 240, 255}, "Input", "whole board", {Y, Y},
         {{0, 16, 31, 240, 255}}, false, true,
         {kOriginalRange, kSame}},
        {"a whole board over two singles",
         {{0, 20, 20, 300, 300}, {0, 130, 130, 245, 245}}, 0, {0, 16, 31, 240, 255}, "Input", "whole board", {Y, Y},
         {}, false, false,
         {Original("whole board", "Input", 16, 300), New("whole board", "Input", 240, 130)}},
        {"a clash found after a Yes aborts, and the split stays",
         {{0, 16, 31, 240, 255}, {0, 300, 300, 5, 5}}, 0, {0, 20, 20, 300, 300}, "Input", "single", {Y},
         {{0, 16, 19, 240, 243}, {0, 21, 31, 245, 255}, {0, 300, 300, 5, 5}}, true, false,
         {Original("single", "Input", 20, 244), kConflict}},
        {"a No after a Yes aborts, and the split stays",
         {{0, 16, 31, 240, 255}, {0, 7, 7, 300, 300}}, 0, {0, 20, 20, 300, 300}, "Input", "single", {Y, N},
         {{0, 16, 19, 240, 243}, {0, 21, 31, 245, 255}, {0, 7, 7, 300, 300}}, true, false,
         {Original("single", "Input", 20, 244), New("single", "Input", 300, 7)}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Walked run = Walk(c, false);
        EXPECT_EQ(run.after, c.after);
        EXPECT_EQ(run.outcome.abort, c.abort);
        EXPECT_EQ(run.outcome.replacedInPlace, c.replaced);
        EXPECT_EQ(run.shown, c.shown);
        if (c.abort || c.before.size() < 2) {
            continue;  // a walk that stops at a refusal depends on where the refusal stands
        }
        // The order of the entries decides nothing: reversed, the same questions are answered
        // and the same entries are left.
        SCOPED_TRACE("entries reversed");
        const Walked reversed = Walk(c, true);
        EXPECT_EQ(Sorted(reversed.after), Sorted(run.after));
        EXPECT_EQ(Sorted(reversed.shown), Sorted(run.shown));
        EXPECT_EQ(reversed.outcome.abort, run.outcome.abort);
        EXPECT_EQ(reversed.outcome.replacedInPlace, run.outcome.replacedInPlace);
    }
}

}  // namespace
