#include "platform/headless/script_parse.h"

namespace headless {

std::vector<std::string> SplitScriptLine(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '\\' && i + 1 < line.size()) {
                const char e = line[++i];
                word += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e;
            } else if (c == '"') {
                quoted = false;
            } else {
                word += c;
            }
        } else if (c == '"') {
            quoted = true;
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord) {
                words.push_back(word);
                word.clear();
                inWord = false;
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted) {
        throw ScriptFailure("unterminated quote: " + line);
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

std::vector<ScriptLine> ParseScript(std::istream& in) {
    std::vector<ScriptLine> lines;
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        const auto first = text.find_first_not_of(" \t\r");
        if (first == std::string::npos || text[first] == '#') {
            continue;
        }
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        ScriptLine line{number, text, {}};
        try {
            line.words = SplitScriptLine(text);
        } catch (const ScriptFailure& e) {
            throw ScriptFailure("line " + std::to_string(number) + ": " + e.what());
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace headless
