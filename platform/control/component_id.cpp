#include "platform/control/component_id.h"

#include <algorithm>
#include <array>

#include "platform/control/ids.h"

namespace control {

namespace {

using namespace std::string_view_literals;

constexpr std::array kControlCenterOps{"IsConfigSetChanging"sv, "Register"sv, "Unregister"sv,
                                       "HasActiveSet"sv, "GetErrorDescription"sv};
constexpr std::array kCrcOps{"GetCrc"sv, "GetErrorDescription"sv};
constexpr std::array kNoOps{"GetErrorDescription"sv};
constexpr std::array kRegistryOps{"GetRebootPort"sv, "GetErrorDescription"sv};
constexpr std::array kNetworkOps{"GetNetworkBoardCount"sv, "GetBoardName"sv,
                                 "GetBoardAddress"sv,      "GetBoardType"sv,
                                 "GetBoardFlag"sv,         "GetErrorDescription"sv};
constexpr std::array kSwitcherOps{"GetCount"sv,           "GetLevelName"sv,   "GetSwitcherName"sv,
                                  "GetInputCount"sv,      "GetOutputCount"sv, "GetLevelBoard"sv,
                                  "GetErrorDescription"sv};
constexpr std::array kBoardStatusOps{"Advise"sv,
                                     "Unadvise"sv,
                                     "GetBoardRemapInfo"sv,
                                     "RetrieveBoardRemapInfo"sv,
                                     "GetRefusedReportCount"sv,
                                     "GetErrorDescription"sv};
constexpr std::array kFileAccessOps{
    "Open"sv,      "Read"sv,     "Write"sv,   "Seek"sv,   "Close"sv,
    "FindFirst"sv, "FindNext"sv, "TryLock"sv, "Unlock"sv, "GetErrorDescription"sv};

struct Info {
    ComponentId id;
    std::string_view key;
    std::string_view display;
    const com::CLSID* clsid;
    std::span<const std::string_view> operations;
};

const std::array kInfo{
    Info{ComponentId::ControlCenter, "ControlCenter", "Control Center", &CLSID_ControlCenter,
         kControlCenterOps},
    Info{ComponentId::ActiveSetCrc, "ActiveSetCrc", "Active Set CRC", &CLSID_ActiveSetCrc, kCrcOps},
    Info{ComponentId::VexelDevicesTable, "VexelDevicesTable", "Vexel Devices Table",
         &CLSID_VexelDevicesTable, kNoOps},
    Info{ComponentId::SwitcherInputTable, "SwitcherInputTable", "Switcher Input Table",
         &CLSID_SwitcherInputTable, kNoOps},
    Info{ComponentId::SwitcherOutputTable, "SwitcherOutputTable", "Switcher Output Table",
         &CLSID_SwitcherOutputTable, kNoOps},
    Info{ComponentId::CorvaneRegistry, "CorvaneRegistry", "Corvane Registry",
         &CLSID_CorvaneRegistry, kRegistryOps},
    Info{ComponentId::NetworkDescTable, "NetworkDescTable", "Network Description Table",
         &CLSID_NetworkDescTable, kNetworkOps},
    Info{ComponentId::SwitcherDescTable, "SwitcherDescTable", "Switcher Description Table",
         &CLSID_SwitcherDescTable, kSwitcherOps},
    Info{ComponentId::PathFinding, "PathFinding", "Path Finding", &CLSID_PathFinding, kNoOps},
    Info{ComponentId::BoardStatusServer, "BoardStatusServer", "Board Status Server",
         &CLSID_BoardStatusServer, kBoardStatusOps},
    Info{ComponentId::FileAccess, "FileAccess", "File Access", &CLSID_FileAccess, kFileAccessOps},
};

const Info& InfoOf(ComponentId id) {
    return kInfo[static_cast<std::size_t>(id)];
}

}  // namespace

std::string_view ComponentKey(ComponentId id) {
    return InfoOf(id).key;
}
std::string_view ComponentDisplayName(ComponentId id) {
    return InfoOf(id).display;
}
const com::CLSID& ComponentClassId(ComponentId id) {
    return *InfoOf(id).clsid;
}

std::optional<ComponentId> ComponentFromKey(std::string_view key) {
    for (const Info& info : kInfo) {
        if (info.key == key) {
            return info.id;
        }
    }
    return std::nullopt;
}

std::span<const std::string_view> ComponentOperations(ComponentId id) {
    return InfoOf(id).operations;
}

bool IsComponentOperation(ComponentId id, std::string_view operation) {
    const auto ops = ComponentOperations(id);
    return std::find(ops.begin(), ops.end(), operation) != ops.end();
}

}  // namespace control
