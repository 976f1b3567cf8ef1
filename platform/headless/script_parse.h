// Reading a scenario script (the format is described in docs/scenarios.md) into its lines of
// words, apart from playing them, so that the reader can be tried on any text by itself.
#pragma once

#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace headless {

class ScriptFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct ScriptLine {
    int number = 0;
    std::string text;                // the whole line, for messages
    std::vector<std::string> words;  // split on blanks; quoted texts unquoted
};

// Splits a script line into words: blanks separate, "..." is one word with \" \\ \n \r \t escapes.
std::vector<std::string> SplitScriptLine(const std::string& line);
std::vector<ScriptLine> ParseScript(std::istream& in);

}  // namespace headless
