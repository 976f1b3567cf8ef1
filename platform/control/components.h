// The class factories of the simulated components, and their registration with the class
// registry.
#pragma once

#include "platform/com/guid.h"
#include "platform/com/hresult.h"

namespace control {

com::HRESULT CreateControlCenter(const com::IID& iid, void** object);
com::HRESULT CreateActiveSetCrc(const com::IID& iid, void** object);
com::HRESULT CreateVexelDevicesTable(const com::IID& iid, void** object);
com::HRESULT CreateSwitcherInputTable(const com::IID& iid, void** object);
com::HRESULT CreateSwitcherOutputTable(const com::IID& iid, void** object);
com::HRESULT CreateCorvaneRegistry(const com::IID& iid, void** object);
com::HRESULT CreateNetworkDescTable(const com::IID& iid, void** object);
com::HRESULT CreateSwitcherDescTable(const com::IID& iid, void** object);
com::HRESULT CreatePathFinding(const com::IID& iid, void** object);
com::HRESULT CreateBoardStatusServer(const com::IID& iid, void** object);
com::HRESULT CreateFileAccess(const com::IID& iid, void** object);

void RegisterComponentClasses();
void RevokeComponentClasses();

}  // namespace control
