// Remap and Restore over and over in one process, as an operator would make them (headless back
// end, the program's clock under the run's control, simulated router boards on the loopback
// network answering), with the process's memory, descriptors and the simulation's open
// connections measured along the way.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct SoakSample {
    int cycle = 0;
    std::size_t rssKb = 0;      // resident set (/proc/self/statm)
    std::size_t heapBytes = 0;  // allocated and not freed (mallinfo2)
    std::size_t fds = 0;        // open descriptors (/proc/self/fd)
    std::size_t sockets = 0;    // of those, sockets
    std::size_t openFiles = 0;  // File Access handles
    std::size_t boardConnections = 0;
    std::size_t clients = 0;  // Control Center registrations
    std::size_t windows = 0;  // top-level windows
};

// The process as it stands; cycle left 0.
SoakSample MeasureProcess();

struct SoakOptions {
    std::filesystem::path folder;  // the data folder
    int cycles = 300;
    int sampleEvery = 50;
    std::function<void(const SoakSample&)> onSample;  // at cycle 0 and every sampleEvery cycles
};

struct SoakReport {
    std::vector<SoakSample> samples;
    int remaps = 0;  // confirmed by every board told and in the table afterwards
    int restores = 0;
    std::vector<std::string> failures;  // the run stops at the first
};

// Each cycle remaps input port 5 of MAIN VIDEO (output port 5 on odd cycles) to the first idle
// number, then restores it from the remap table view.
SoakReport RunRemapSoak(const SoakOptions& options);

// What grew after the first sample at or after warmUpCycle: every count must stay as it was
// there, and the heap of the later half of the samples within allowance bytes of the earlier
// half. Empty when all stayed flat.
std::vector<std::string> GrowthAfter(const std::vector<SoakSample>& samples, int warmUpCycle,
                                     std::size_t heapAllowance);
