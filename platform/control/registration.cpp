#include "platform/com/runtime.h"
#include "platform/control/component_id.h"
#include "platform/control/components.h"

namespace control {

namespace {

using Factory = com::HRESULT (*)(const com::IID&, void**);

Factory FactoryOf(ComponentId id) {
    switch (id) {
        case ComponentId::ControlCenter:
            return CreateControlCenter;
        case ComponentId::ActiveSetCrc:
            return CreateActiveSetCrc;
        case ComponentId::VexelDevicesTable:
            return CreateVexelDevicesTable;
        case ComponentId::SwitcherInputTable:
            return CreateSwitcherInputTable;
        case ComponentId::SwitcherOutputTable:
            return CreateSwitcherOutputTable;
        case ComponentId::CorvaneRegistry:
            return CreateCorvaneRegistry;
        case ComponentId::NetworkDescTable:
            return CreateNetworkDescTable;
        case ComponentId::SwitcherDescTable:
            return CreateSwitcherDescTable;
        case ComponentId::PathFinding:
            return CreatePathFinding;
        case ComponentId::BoardStatusServer:
            return CreateBoardStatusServer;
        case ComponentId::FileAccess:
            return CreateFileAccess;
    }
    return nullptr;
}

}  // namespace

void RegisterComponentClasses() {
    for (const ComponentId id : kAllComponents) {
        com::RegisterClass(ComponentClassId(id), FactoryOf(id));
    }
}

void RevokeComponentClasses() {
    for (const ComponentId id : kAllComponents) {
        com::RevokeClass(ComponentClassId(id));
    }
}

}  // namespace control
