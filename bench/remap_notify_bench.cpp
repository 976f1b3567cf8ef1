// Board notification costs: choosing the boards and building the RE-MAP message for a large
// network, and the processor time the program spends while it waits 30 real seconds for boards
// that never answer.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>

#include "bench/bench_program.h"
#include "boards/board_choice.h"
#include "boards/compute_crc16.h"
#include "boards/remap_data.h"
#include "platform/control/control.h"
#include "platform/control/udp_socket.h"
#include "platform/fw/clock.h"
#include "platform/headless/queued_driver.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"

namespace {

using bench::Program;

std::string Name(const char* stem, int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%s%04d", stem, n);
    return text;
}

// 4,096 boards of type Q, each a same-name pair with flag 1 on the second; 100 levels, each
// served by a board of its own, so every level's board is looked for by name across the network.
control::Config LargeNetwork() {
    control::Config config = control::DefaultConfig();
    config.levels.clear();
    config.boards.clear();
    for (int b = 0; b < 4096; ++b) {
        control::BoardConfig board;
        board.name = Name("B", b / 2);
        board.address = {
            0x02, 0, 0, 0, static_cast<std::uint8_t>(b >> 8), static_cast<std::uint8_t>(b & 0xFF)};
        board.flag = b % 2;
        config.boards.push_back(board);
    }
    for (int level = 0; level < 100; ++level) {
        config.levels.push_back(
            {"SW", Name("L", level), 64, 64, static_cast<std::uint16_t>((level * 40) & ~1)});
    }
    config.statusPort = 0;
    return config;
}

void BoardChoiceAndMessage(benchmark::State& state) {
    Program program(LargeNetwork());
    RemapTable table;
    std::vector<unsigned> rows;
    for (int row = 0; row < 100; ++row) {
        auto entry = std::make_unique<CRemapEntry>();
        entry->m_nRow = row;
        entry->m_nOrigFirst = entry->m_nOrigLast = 5;
        entry->m_nNewFirst = entry->m_nNewLast = 60;
        table.push_back(std::move(entry));
    }
    fw::CWnd owner;
    for (auto _ : state) {
        rows = boards::NotifyRowsOf(&table, 100, -1);
        std::vector<boards::NotifyBoard> chosen;
        std::uint16_t networkBoards = 0;
        if (!boards::ChooseBoards(program.App(), rows, chosen, networkBoards, owner)) {
            state.SkipWithError("the boards could not be chosen");
            break;
        }
        const auto data = boards::RemapDataOf(&table, 100, nullptr, table.size());
        std::vector<std::uint8_t> message(boards::RemapMessageLength(chosen.size(), table.size()));
        std::copy(data->begin(), data->end(),
                  message.begin() +
                      static_cast<std::ptrdiff_t>(boards::RemapMessageLength(chosen.size(), 0)));
        boards::WriteRemapHeader(message.data(), chosen, static_cast<int>(table.size()),
                                 IoType::Input,
                                 ComputeCrc16(data->data(), static_cast<unsigned>(data->size())));
        benchmark::DoNotOptimize(message.data());
        state.counters["boards"] = static_cast<double>(chosen.size());
    }
}
BENCHMARK(BoardChoiceAndMessage)->Unit(benchmark::kMillisecond);

double ProcessCpuSeconds() {
    timespec ts{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// One notification on the system clock to boards that never answer: the whole 30-second wait in
// real time. Reports the share of one core the process used meanwhile.
void SilentBoardsWait(benchmark::State& state) {
    control::UdpSocket nobody = control::UdpSocket::BindLoopback(0);  // takes it, never answers
    control::Config config = control::DefaultConfig();
    config.rebootPort = nobody.LocalPort();
    config.statusPort = 0;
    for (auto& board : config.boards) {
        board.remapInfo = {1, 0, 0x34, 0x12, 0, 0, 0, 0};  // not what an emptied table asks for
    }
    Program program(config);
    fw::InstallClock(nullptr);
    CTavDlg dlg;
    program.Driver().Answer(fw::IDNO);
    dlg.Create(IDD_TAV_DIALOG);
    auto sysDef = std::make_unique<SysDefTable>();
    for (const auto& level : program.App().GetLevels()) {
        auto record = std::make_unique<SysDefRecord>();
        record->m_strSwitcher = level->m_strSwitcher;
        record->m_strLevel = level->m_strLevel;
        sysDef->push_back(std::move(record));
    }
    dlg.SetSysDefTable(std::move(sysDef));
    for (auto _ : state) {
        program.Driver().Then([](fw::CWnd& w) { headless::Item(w, fw::IDOK).UserClick(); });
        const double cpu0 = ProcessCpuSeconds();
        const auto wall0 = std::chrono::steady_clock::now();
        dlg.CommitTableChange(IoType::Input, fw::FALSE);
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
        const double cpu = ProcessCpuSeconds() - cpu0;
        state.counters["wall_s"] = wall;
        state.counters["cpu_s"] = cpu;
        state.counters["cpu_percent_of_one_core"] = 100.0 * cpu / wall;
    }
    dlg.DestroyWindow();
}
BENCHMARK(SilentBoardsWait)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
