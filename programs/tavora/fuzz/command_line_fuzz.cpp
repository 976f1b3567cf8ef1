// libFuzzer entry: whatever arguments Tavora is started with, it either runs (none), answers
// --help, -h or --version (alone), or refuses them with a reason that names the one unknown
// argument; it never runs with arguments it did not understand.
//
// Input: the arguments, each ended by a NUL byte (the last one by the end of the input).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "programs/tavora/command_line.h"

namespace {

void Require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments;
    const char* text = reinterpret_cast<const char*>(data);
    for (std::size_t start = 0; start < size;) {
        std::size_t end = start;
        while (end < size && text[end] != '\0') {
            ++end;
        }
        arguments.emplace_back(text + start, end - start);
        start = end + 1;
    }

    using Action = tavora::CommandLine::Action;
    const tavora::CommandLine line = tavora::ParseCommandLine(arguments);
    Require((line.action == Action::Error) == !line.error.empty());
    if (arguments.empty()) {
        Require(line.action == Action::Run);
        return 0;
    }
    Require(line.action != Action::Run);
    if (arguments.size() > 1) {
        Require(line.action == Action::Error);
        return 0;
    }
    const std::string& argument = arguments.front();
    const bool help = argument == "--help" || argument == "-h";
    Require((line.action == Action::Help) == help);
    Require((line.action == Action::Version) == (argument == "--version"));
    if (line.action == Action::Error) {
        Require(line.error.find("'" + argument + "'") != std::string::npos);
    }
    return 0;
}
