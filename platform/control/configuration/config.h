// The simulated control system's configuration (schema in README.md).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/control/boards/board_behaviour.h"
#include "platform/control/component_id.h"

namespace control {

// Where the Board Status Server takes the boards' reports (127.0.0.1) unless configured otherwise.
inline constexpr std::uint16_t kDefaultStatusPort = 5151;

// The longest switcher, level or board name: the program's fixed-column files hold no more.
inline constexpr std::size_t kMaxNameLength = 8;

// An IPv4 address in host byte order (0x7F000001 is 127.0.0.1).
using Ipv4Address = std::uint32_t;
inline constexpr Ipv4Address kLoopbackIpv4 = 0x7F000001;
inline constexpr Ipv4Address kLimitedBroadcastIpv4 = 0xFFFFFFFF;

// "127.0.0.1"; nothing unless the text is exactly four decimal numbers 0..255 separated by dots.
std::optional<Ipv4Address> ParseIpv4(std::string_view text);
std::string Ipv4Text(Ipv4Address address);
bool IsLoopbackIpv4(Ipv4Address address);

// Where the router boards are. RE-MAP messages and refresh requests go to the destination at the
// reboot port; the boards report to this workstation's address on that network at the status
// port.
struct BoardNetworkConfig {
    Ipv4Address destination = kLoopbackIpv4;
    bool broadcast = false;     // the destination is a broadcast address
    std::string interfaceName;  // send and listen on this interface only; empty: none named
    // This workstation's address on the board network; none: the named interface's, else the one
    // the system would send to the destination from (127.0.0.1 for a loopback destination).
    std::optional<Ipv4Address> localAddress;
};

struct LevelConfig {
    std::string switcher;
    std::string level;
    std::int32_t inputs = 0;
    std::int32_t outputs = 0;
    std::uint16_t board = 0;  // the network board serving the level
};

struct BoardConfig {
    std::string name;
    std::vector<std::uint8_t> address;  // at least 6 bytes
    char type = 'Q';
    std::uint8_t flag = 0;
    std::array<std::uint8_t, 8> remapInfo{};  // the record the board reports before any remap
    BoardBehaviour behaviour;                 // how the simulated board answers
    // Where the board's reports come from: its address (none: the board network's destination)
    // and port (none: the reboot port; 0: any port of that address).
    std::optional<Ipv4Address> ip;
    std::optional<std::uint16_t> port;
};

// A failure on demand: calls of the operation after the first `after` fail with hr, `times`
// times (every later call when times is negative).
struct Fault {
    Fault() = default;
    Fault(ComponentId component_, std::string operation_, com::HRESULT hr_,
          std::uint32_t after_ = 0, std::int32_t times_ = -1, std::string description_ = {})
        : component(component_),
          operation(std::move(operation_)),
          hr(hr_),
          after(after_),
          times(times_),
          description(std::move(description_)) {}

    ComponentId component = ComponentId::ControlCenter;
    std::string operation;  // an operation name, "create" or "QueryInterface"
    com::HRESULT hr = com::E_FAIL;
    std::uint32_t after = 0;
    std::int32_t times = -1;
    std::string description;              // the component's error text; a default when empty
    std::optional<com::IID> interfaceId;  // QueryInterface only: the interface refused
};

// One call of a component as a fault entry names it: an operation, "create" or "QueryInterface".
struct ComponentCall {
    ComponentId component;
    std::string operation;
    bool operator==(const ComponentCall&) const = default;
};

struct Config {
    std::string source;  // the file it came from, or "built-in configuration"
    bool activeSet = true;
    std::uint16_t activeSetCrc = 0;
    bool configSetChanging = false;
    std::uint16_t rebootPort = 0;  // the boards listen here for RE-MAP messages and refreshes
    std::uint16_t statusPort = kDefaultStatusPort;    // 0: a port the system chooses
    std::optional<std::filesystem::path> dataFolder;  // absolute once read
    BoardNetworkConfig boardNetwork;
    std::vector<LevelConfig> levels;
    std::vector<BoardConfig> boards;
    std::vector<Fault> faults;
    // Failures of the library calls themselves, from fault entries of component "COM".
    std::optional<com::HRESULT> coInitializeFailure;
    std::optional<com::HRESULT> coInitializeSecurityFailure;
};

// The one endpoint a board's reports are believed from: its address, and its port (0: any).
struct ReportEndpoint {
    Ipv4Address address = kLoopbackIpv4;
    std::uint16_t port = 0;
};
// Nothing for a board the configuration does not have.
std::optional<ReportEndpoint> ReportEndpointOf(const Config& config, std::size_t board);

class ConfigError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads a configuration from JSON text. `source` names it in error messages; `baseFolder` is
// where a relative data folder is taken from. Throws ConfigError with a message that names the
// offending entry.
Config ParseConfig(std::string_view text, const std::string& source,
                   const std::filesystem::path& baseFolder);
Config LoadConfigFile(const std::filesystem::path& file);
// The built-in configuration, used when no file is named.
Config DefaultConfig();

// Reads an HRESULT written as a number, a hex text ("0x80004005") or a common name ("E_FAIL").
std::optional<com::HRESULT> ParseHresultText(std::string_view text);
// An interface by the name a fault entry uses ("BoardStatusEx", "ErrorDescription", ...) or
// by its {GUID}.
std::optional<com::IID> InterfaceFromText(std::string_view text);

// A fault as the configuration's "faults" and the scenario player's fault lines describe it, part
// by part as written; a part not given is empty. How many calls pass first, how many fail and the
// error text are written differently in the two and stay with their readers.
struct FaultText {
    std::optional<std::string> component;  // a component's key, or "COM" for the library's calls
    std::optional<std::string> operation;  // for COM: CoInitialize or CoInitializeSecurity
    std::optional<std::string> hresult;    // a failure code, as ParseHresultText reads it
    std::optional<std::string> interfaceName;  // QueryInterface only: the interface asked for
};
// One of the library's own calls failing for the whole run.
struct LibraryFault {
    bool security = false;  // CoInitializeSecurity, else CoInitialize
    com::HRESULT hr = com::E_FAIL;
};
// The first part of a fault description that is wrong, and how.
struct FaultTextError {
    enum class Part { Component, Operation, Result, Interface };
    enum class Problem { Missing, Unknown, Misplaced };
    Part part;
    Problem problem;
};
// Reads a fault description: the component, the operation (one it has, "create" or
// "QueryInterface"), the failure code and, for QueryInterface only, the interface, checked in
// that order (for COM the code before the operation).
std::variant<Fault, LibraryFault, FaultTextError> ParseFaultText(const FaultText& text);

}  // namespace control
