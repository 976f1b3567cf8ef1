#include "programs/tav-scenario/sync_lines.h"

#include <cctype>
#include <chrono>
#include <fstream>
#include <thread>

#include "platform/headless/scenario_driver.h"

namespace {

using namespace std::chrono_literals;

constexpr int kDefaultAwaitMs = 20000;
constexpr auto kLookEvery = 2ms;

headless::ScriptFailure Bad(const headless::ScriptLine& line, const std::string& why) {
    return headless::ScriptFailure("line " + std::to_string(line.number) + ": " + why);
}

// A name is one word of letters, digits, '-' and '_': it becomes a file name.
bool IsName(const std::string& name) {
    if (name.empty()) {
        return false;
    }
    for (const char c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') {
            return false;
        }
    }
    return true;
}

}  // namespace

bool SyncLines::Run(const headless::ScriptLine& line) const {
    const auto& w = line.words;
    if (w[0] != "signal" && w[0] != "await") {
        return false;
    }
    if (w.size() < 2 || !IsName(w[1]) || w.size() > (w[0] == "await" ? 3u : 2u)) {
        throw Bad(line, "signal NAME / await NAME [MS]: NAME of letters, digits, - and _");
    }
    const std::filesystem::path marker = m_folder / w[1];
    if (w[0] == "signal") {
        std::ofstream(marker) << "signalled\n";
        return true;
    }
    int ms = kDefaultAwaitMs;
    if (w.size() == 3) {
        try {
            ms = std::stoi(w[2]);
        } catch (const std::exception&) {
            throw Bad(line, "await NAME [MS]: MS is a number of milliseconds");
        }
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    std::error_code ec;
    while (!std::filesystem::exists(marker, ec)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            throw Bad(line, w[1] + " was not signalled within " + std::to_string(ms) + " ms");
        }
        std::this_thread::sleep_for(kLookEvery);
    }
    return true;
}
