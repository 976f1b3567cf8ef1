// Reading a remap table file of 100,000 lines the way the program reads TAV.IXT at start (File
// Access, the text file's line reader, the line parser, the check against the levels), against a
// bare std::getline loop over the same file; and the line reader alone, between the two.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "bench/bench_program.h"
#include "files/tav_file.h"
#include "remap/remap_line.h"
#include "remap/tav_dlg.h"

namespace {

using bench::Program;

constexpr int kLines = 100'000;
constexpr char kTableFile[] = "TAV.IXT";

// The checksum line and kLines entries over the configuration's levels, as the program writes
// them (CR LF), with a comment on every other line (without a comma, as the program keeps them).
void WriteTableFile(Program& program) {
    std::ofstream out(program.DataFolder() / kTableFile, std::ios::binary);
    out << FormatCrcLine(program.App().GetActiveSetCrc()) << "\r\n";
    const auto& levels = program.App().GetLevels();
    for (int i = 0; i < kLines; ++i) {
        const CSwitcherLevel& level = *levels[static_cast<std::size_t>(i) % levels.size()];
        CRemapEntry entry;
        entry.m_strTime = "14:03:27";
        entry.m_strDate = "December 06 2026";
        entry.m_strSwitcher = level.m_strSwitcher;
        entry.m_strLevel = level.m_strLevel;
        entry.m_nRow = static_cast<std::int32_t>(static_cast<std::size_t>(i) % levels.size());
        entry.m_nOrigFirst = entry.m_nOrigLast = i % 16;
        entry.m_nNewFirst = entry.m_nNewLast = 16 + i % 16;
        entry.m_strComment = i % 2 == 0 ? "card 3 failed; spare in slot 7" : " ";
        out << FormatRemapLine(entry) << "\r\n";
    }
}

std::int64_t FileBytes(Program& program) {
    return static_cast<std::int64_t>(std::filesystem::file_size(program.DataFolder() / kTableFile));
}

void TableFileRead(benchmark::State& state) {
    Program program(control::DefaultConfig());
    WriteTableFile(program);
    CTavDlg dlg;
    for (auto _ : state) {
        // The table of the run before goes untimed: at start there is none to free.
        state.PauseTiming();
        dlg.ClearRemapTable(IoType::Input);
        state.ResumeTiming();
        if (!dlg.OpenRemapTableFile(IoType::Input, fw::FALSE, fw::TRUE, {}) ||
            !dlg.LoadRemapTable(IoType::Input) || !dlg.VerifyRemapTable(IoType::Input)) {
            state.SkipWithError("the table did not load");
            break;
        }
        dlg.CloseRemapTableFile();
        if (dlg.Table(IoType::Input)->size() != static_cast<std::size_t>(kLines)) {
            state.SkipWithError("the table lost entries");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * FileBytes(program));
    state.SetItemsProcessed(state.iterations() * (kLines + 1));
}
BENCHMARK(TableFileRead)->Unit(benchmark::kMillisecond);

// The same file through File Access and the text file's line reader only, without the parser:
// what the layer costs apart from building the table.
void TableFileLines(benchmark::State& state) {
    Program program(control::DefaultConfig());
    WriteTableFile(program);
    for (auto _ : state) {
        CTavFile file(kTableFile, CTavFile::kAppend | CTavFile::kTimeStamp);
        std::string line;
        int lines = 0;
        while (file.ReadLine(line)) {
            ++lines;
            benchmark::DoNotOptimize(line.data());
        }
        if (file.m_nError != 0 || lines != kLines + 1) {
            state.SkipWithError("the line reader saw another line count");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * FileBytes(program));
    state.SetItemsProcessed(state.iterations() * (kLines + 1));
}
BENCHMARK(TableFileLines)->Unit(benchmark::kMillisecond);

void TableFileGetline(benchmark::State& state) {
    Program program(control::DefaultConfig());
    WriteTableFile(program);
    const auto path = program.DataFolder() / kTableFile;
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::string line;
        int lines = 0;
        while (std::getline(in, line)) {
            ++lines;
            benchmark::DoNotOptimize(line.data());
        }
        if (lines != kLines + 1) {
            state.SkipWithError("getline saw another line count");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * FileBytes(program));
    state.SetItemsProcessed(state.iterations() * (kLines + 1));
}
BENCHMARK(TableFileGetline)->Unit(benchmark::kMillisecond);

}  // namespace
