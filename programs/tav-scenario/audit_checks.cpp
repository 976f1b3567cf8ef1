#include "programs/tav-scenario/audit_checks.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

bool CheckAudit(const headless::ScriptLine& line, const std::filesystem::path& file) {
    const auto& w = line.words;
    const bool has = w[0] == "audit-has" && w.size() >= 2;
    if (!has && !(w[0] == "audit-lines" && w.size() == 2)) {
        return false;
    }
    std::vector<std::string> events;
    // Only a regular file holds events (a FIFO in its place, say, holds none and is not read).
    std::error_code ec;
    std::ifstream in;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(file, ec))) {
        in.open(file, std::ios::binary);
    }
    for (std::string event; std::getline(in, event);) {
        events.push_back('\t' + event + '\t');
    }
    auto fail = [&](const std::string& why) {
        std::string text;
        for (const auto& event : events) {
            text += event.substr(1, event.size() - 2) + "\n";
        }
        return headless::ScriptFailure("line " + std::to_string(line.number) + ": " + why +
                                       "; the audit file holds:\n" + text);
    };
    if (!has) {
        if (std::to_string(events.size()) != w[1]) {
            throw fail("the audit file holds " + std::to_string(events.size()) + " events");
        }
        return true;
    }
    const bool found = std::any_of(events.begin(), events.end(), [&](const std::string& event) {
        return std::all_of(w.begin() + 1, w.end(), [&](const std::string& field) {
            return event.find('\t' + field + '\t') != std::string::npos;
        });
    });
    if (!found) {
        throw fail("no audit event holds all of these fields");
    }
    return true;
}
