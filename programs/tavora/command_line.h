// Tavora's command line: it takes no arguments but --help and --version.
#pragma once

#include <string>
#include <vector>

namespace tavora {

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    std::string error;  // for Error: what was wrong
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The --help text.
std::string UsageText();
// The --version line.
std::string VersionText();

}  // namespace tavora
