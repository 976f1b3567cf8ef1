#include "programs/tavora/command_line.h"

#include "app/version.h"

namespace tavora {

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    if (arguments.size() > 1) {
        line.action = CommandLine::Action::Error;
        line.error = "takes at most one argument";
        return line;
    }
    if (arguments.empty()) {
        return line;
    }
    const std::string& argument = arguments.front();
    if (argument == "--help" || argument == "-h") {
        line.action = CommandLine::Action::Help;
    } else if (argument == "--version") {
        line.action = CommandLine::Action::Version;
    } else {
        line.action = CommandLine::Action::Error;
        line.error = "unknown argument '" + argument + "'";
    }
    return line;
}

std::string UsageText() {
    return "usage: tavora [--help | --version]\n"
           "Remaps the ports of a broadcast routing switcher, here against a simulated control\n"
           "system. Started without arguments it opens its main window.\n"
           "\n"
           "Environment:\n"
           "  TAVORA_CONFIG=FILE     the simulated router's configuration (built-in one if unset)\n"
           "  TAVORA_DATA_DIR=DIR    the folder of Tavora's files\n"
           "                         (default: $XDG_DATA_HOME/tavora, else ~/.local/share/tavora)\n"
           "  TAVORA_SNAPSHOT_DIR=DIR  save a picture of each open window there twice a second\n"
           "  TAVORA_ANSWER_STARTUP=no  answer the first start's question to set up the System\n"
           "                         Definition Table with No (for demonstrations)\n"
           "\n"
           "The simulated router boards run separately: tav-boards(1). See tavora(1).\n";
}

std::string VersionText() {
    return std::string("tavora ") + kTavoraVersion + "\n";
}

}  // namespace tavora
