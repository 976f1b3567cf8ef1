// tav-boards: the router boards of a configuration, simulated on the loopback network until
// SIGINT or SIGTERM. Every datagram received is printed in hex, with what the boards made of it.
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include "platform/control/boards/board_network_socket.h"
#include "platform/control/boards/board_simulator.h"
#include "platform/control/configuration/config.h"
#include "platform/control/configuration/default_config.h"

namespace {

constexpr char kUsage[] =
    "usage: tav-boards [--config FILE | --built-in-config]\n"
    "Simulates the router boards of the configuration (FILE, else $TAVORA_CONFIG, else the\n"
    "built-in one): RE-MAP messages and refresh requests are taken at the board network's\n"
    "destination (127.0.0.1 unless the configuration names another loopback address) at the\n"
    "reboot port, reports go to the Board Status Server at the status port, each board's from\n"
    "its own address and port when the configuration gives it one. Ends on Ctrl-C.\n"
    "--built-in-config prints the built-in configuration, a start for a file of one's own.\n";

struct Arguments {
    std::optional<std::filesystem::path> configFile;
    bool help = false;
    bool printBuiltIn = false;
};

std::optional<Arguments> ParseArguments(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            arguments.help = true;
        } else if (argument == "--built-in-config") {
            arguments.printBuiltIn = true;
        } else if (argument == "--config" && i + 1 < argc) {
            arguments.configFile = argv[++i];
        } else if (argument.rfind("--config=", 0) == 0) {
            arguments.configFile = argument.substr(std::strlen("--config="));
        } else {
            return std::nullopt;
        }
    }
    return arguments;
}

std::optional<std::filesystem::path> ChosenFile(const Arguments& arguments) {
    if (arguments.configFile) {
        return arguments.configFile;
    }
    const char* env = std::getenv("TAVORA_CONFIG");
    if (env != nullptr && env[0] != '\0') {
        return std::filesystem::path(env);
    }
    return std::nullopt;
}

void PrintLine(const std::string& line) {
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const auto arguments = ParseArguments(argc, argv);
    if (!arguments || arguments->help) {
        std::fputs(kUsage, arguments ? stdout : stderr);
        return arguments ? 0 : 2;
    }
    if (arguments->printBuiltIn) {
        const std::string_view text = control::DefaultConfigText();
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fputc('\n', stdout);
        return 0;
    }

    control::Config config;
    try {
        const auto file = ChosenFile(*arguments);
        config = file ? control::LoadConfigFile(*file) : control::DefaultConfig();
    } catch (const control::ConfigError& e) {
        std::fprintf(stderr, "tav-boards: %s\n", e.what());
        return 1;
    }

    // Blocked before the simulator's thread starts, so that only sigwait below takes them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    const control::BoardNetworkConfig& network = config.boardNetwork;
    if (network.broadcast || !control::IsLoopbackIpv4(network.destination)) {
        std::fprintf(stderr,
                     "tav-boards: the boards are simulated on the loopback network only; the "
                     "configuration sends to %s%s\n",
                     control::Ipv4Text(network.destination).c_str(),
                     network.broadcast ? " (broadcast)" : "");
        return 1;
    }
    const auto boards = control::SimulatedBoardsOf(config);
    std::optional<control::BoardSimulator> simulator;
    try {
        control::BoardSimulatorOptions options;
        options.port = config.rebootPort;
        options.statusPort = config.statusPort;
        options.log = PrintLine;
        options.address = network.destination;
        options.statusAddress = control::LocalAddressOf(network);
        simulator.emplace(boards, std::move(options));
    } catch (const control::SocketError& e) {
        const bool inUse = std::strstr(e.what(), "in use") != nullptr;
        std::fprintf(stderr, "tav-boards: %s%s\n", e.what(),
                     inUse ? " (is another tav-boards running?)" : "");
        return 1;
    }

    const std::string status = config.statusPort != 0
                                   ? control::EndpointText(control::Ipv4Endpoint(
                                         control::LocalAddressOf(network), config.statusPort))
                                   : std::string("the first to ask for a refresh");
    PrintLine("tav-boards: " + std::to_string(boards.size()) + " boards of " + config.source +
              " on " +
              control::EndpointText(control::Ipv4Endpoint(network.destination, simulator->Port())) +
              ", reporting to " + status);
    for (const control::SimulatedBoard& board : boards) {
        std::string address = control::HexBytes(board.address);
        std::replace(address.begin(), address.end(), ' ', ':');
        const auto from = simulator->ReportEndpoint(board.number);
        PrintLine("  board " + std::to_string(board.number) + " " + board.name + " " + address +
                  " record " + control::HexBytes(board.record) + " (" +
                  control::DescribeBehaviour(board.behaviour) + "), reports from " +
                  (from ? control::EndpointText(*from) : std::string("?")));
    }

    int received = 0;
    sigwait(&stopSignals, &received);
    simulator->Stop();
    PrintLine(std::string("tav-boards: stopped by ") + (received == SIGINT ? "SIGINT" : "SIGTERM"));
    return 0;
}
