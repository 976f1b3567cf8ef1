// libFuzzer entry: whatever a scenario script holds, reading it either gives its lines, each with
// at least one word (every verb is looked up as words[0]), in order of their numbers, or refuses
// it with a ScriptFailure that names the line; nothing else may escape. A line's words, written
// back quoted, read as the same words.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless/script_parse.h"

namespace {

void Require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

std::string Quoted(const std::string& word) {
    std::string text = "\"";
    for (const char c : word) {
        switch (c) {
            case '\n':
                text += "\\n";
                break;
            case '\r':
                text += "\\r";
                break;
            case '\t':
                text += "\\t";
                break;
            case '"':
                text += "\\\"";
                break;
            case '\\':
                text += "\\\\";
                break;
            default:
                text += c;
        }
    }
    return text + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string script(reinterpret_cast<const char*>(data), size);
    std::istringstream in(script);
    std::vector<headless::ScriptLine> lines;
    try {
        lines = headless::ParseScript(in);
    } catch (const headless::ScriptFailure& e) {
        Require(std::string(e.what()).rfind("line ", 0) == 0);
        return 0;
    }
    int previous = 0;
    for (const headless::ScriptLine& line : lines) {
        Require(line.number > previous && !line.words.empty());
        previous = line.number;
        Require(line.text.find('\n') == std::string::npos);
        const auto first = line.text.find_first_not_of(" \t\r");
        Require(first != std::string::npos && line.text[first] != '#');
        std::string again;
        for (const std::string& word : line.words) {
            again += (again.empty() ? "" : " ") + Quoted(word);
        }
        Require(headless::SplitScriptLine(again) == line.words);
    }
    Require(previous <= static_cast<int>(std::count(script.begin(), script.end(), '\n')) + 1);
    return 0;
}
