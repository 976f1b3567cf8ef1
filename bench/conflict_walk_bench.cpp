// The conflict walk on a table at the program's limit: 64 remapped ports of one I/O type counting
// the new remap, all on the switcher level the new remap is for (the walk only looks at that row).
#include <benchmark/benchmark.h>

#include "platform/fw/resources.h"
#include "remap/conflict_walk.h"
#include "res/resources.h"

namespace {

constexpr int kLimit = 64;
constexpr int kRow = 3;

std::unique_ptr<CRemapEntry> Entry(int origFirst, int origLast, int newFirst, int newLast) {
    auto entry = std::make_unique<CRemapEntry>();
    entry->m_strTime = "14:03:27";
    entry->m_strDate = "December 06 2026";
    entry->m_strSwitcher = "STUDIO";
    entry->m_strLevel = "VIDEO";
    entry->m_nRow = kRow;
    entry->m_nOrigFirst = origFirst;
    entry->m_nOrigLast = origLast;
    entry->m_nNewFirst = newFirst;
    entry->m_nNewLast = newLast;
    entry->m_strComment = " ";
    return entry;
}

int questions = 0;

const remap::AskFn kAnswerYes = [](const std::string&, fw::UINT) {
    ++questions;
    return fw::IDYES;
};

void RunWalk(benchmark::State& state, RemapTable& table, const remap::RemapNumbers& numbers) {
    const remap::WalkOutcome outcome =
        remap::WalkConflicts(table, kRow, numbers, "Input", "single", kAnswerYes);
    if (outcome.abort) {
        state.SkipWithError("the walk aborted");
    }
}

// 63 single-port entries and a new single remap that clashes with none: every entry examined.
void ConflictWalkSinglesNoClash(benchmark::State& state) {
    fw::InstallResources(&tav::TavResources());
    RemapTable table;
    for (int i = 0; i < kLimit - 1; ++i) {
        table.push_back(Entry(i, i, 100 + i, 100 + i));
    }
    for (auto _ : state) {
        RunWalk(state, table, {500, 500, 600, 600});
    }
    state.counters["entries"] = static_cast<double>(table.size());
}
BENCHMARK(ConflictWalkSinglesNoClash);

// One whole-board entry of 63 ports and a new single remap beside it: every port of the range
// compared.
void ConflictWalkRangeNoClash(benchmark::State& state) {
    fw::InstallResources(&tav::TavResources());
    RemapTable table;
    table.push_back(Entry(0, kLimit - 2, 100, 100 + kLimit - 2));
    for (auto _ : state) {
        RunWalk(state, table, {500, 500, 600, 600});
    }
}
BENCHMARK(ConflictWalkRangeNoClash);

// 32 single-port entries whose originals a new 32-port range takes over: 32 questions answered
// Yes and 32 deletions. The table is rebuilt, untimed, before each walk.
void ConflictWalkEveryEntryAsked(benchmark::State& state) {
    fw::InstallResources(&tav::TavResources());
    constexpr int kHalf = kLimit / 2;
    questions = 0;
    for (auto _ : state) {
        state.PauseTiming();
        RemapTable table;
        for (int i = 0; i < kHalf; ++i) {
            table.push_back(Entry(i, i, 100 + i, 100 + i));
        }
        state.ResumeTiming();
        RunWalk(state, table, {0, kHalf - 1, 200, 200 + kHalf - 1});
        if (!table.empty()) {
            state.SkipWithError("the walk left entries it was allowed to delete");
        }
    }
    state.counters["questions"] = benchmark::Counter(questions, benchmark::Counter::kAvgIterations);
}
BENCHMARK(ConflictWalkEveryEntryAsked);

}  // namespace
