// The simulated components by identity: their configuration key (used in fault entries), their
// name in error descriptions, their class id and the operations a fault entry may name.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "platform/com/guid.h"

namespace control {

enum class ComponentId {
    ControlCenter,
    ActiveSetCrc,
    VexelDevicesTable,
    SwitcherInputTable,
    SwitcherOutputTable,
    CorvaneRegistry,
    NetworkDescTable,
    SwitcherDescTable,
    PathFinding,
    BoardStatusServer,
    FileAccess,
};

inline constexpr ComponentId kAllComponents[] = {
    ComponentId::ControlCenter,       ComponentId::ActiveSetCrc,
    ComponentId::VexelDevicesTable,   ComponentId::SwitcherInputTable,
    ComponentId::SwitcherOutputTable, ComponentId::CorvaneRegistry,
    ComponentId::NetworkDescTable,    ComponentId::SwitcherDescTable,
    ComponentId::PathFinding,         ComponentId::BoardStatusServer,
    ComponentId::FileAccess,
};

// Operation names that stand for the creation and for interface queries.
inline constexpr std::string_view kCreateOperation = "create";
inline constexpr std::string_view kQueryOperation = "QueryInterface";

std::string_view ComponentKey(ComponentId id);          // e.g. "SwitcherDescTable"
std::string_view ComponentDisplayName(ComponentId id);  // e.g. "Switcher Description Table"
const com::CLSID& ComponentClassId(ComponentId id);
std::optional<ComponentId> ComponentFromKey(std::string_view key);

// The component's own operations (not counting create and QueryInterface).
std::span<const std::string_view> ComponentOperations(ComponentId id);
bool IsComponentOperation(ComponentId id, std::string_view operation);

}  // namespace control
