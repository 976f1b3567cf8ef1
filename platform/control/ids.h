// Class and interface ids of the control system's components and of the sink interfaces the
// program implements for them. They are the servers' registered ids, so they never change.
#pragma once

#include "platform/com/guid.h"

namespace control {

using com::Guid;

inline constexpr com::CLSID CLSID_ControlCenter = Guid("{DA956622-9E61-11D1-BF71-0060083188E7}");
inline constexpr com::IID IID_IControlCenter = Guid("{DA956620-9E61-11D1-BF71-0060083188E7}");

inline constexpr com::CLSID CLSID_ActiveSetCrc = Guid("{8B4CFA72-793A-11D0-98C6-0060974F96EB}");
inline constexpr com::IID IID_IActiveSetCrc = Guid("{8B4CFA70-793A-11D0-98C6-0060974F96EB}");

inline constexpr com::CLSID CLSID_VexelDevicesTable =
    Guid("{006D72F1-845A-11D0-98CD-0060974F96EB}");
inline constexpr com::IID IID_IVexelDevicesTable = Guid("{4DA9C856-81F5-11D0-98CC-0060974F96EB}");

inline constexpr com::CLSID CLSID_SwitcherInputTable =
    Guid("{006D72F7-845A-11D0-98CD-0060974F96EB}");
inline constexpr com::IID IID_ISwitcherInputTable = Guid("{006D72F6-845A-11D0-98CD-0060974F96EB}");

inline constexpr com::CLSID CLSID_SwitcherOutputTable =
    Guid("{006D72F5-845A-11D0-98CD-0060974F96EB}");
inline constexpr com::IID IID_ISwitcherOutputTable = Guid("{006D72F4-845A-11D0-98CD-0060974F96EB}");

inline constexpr com::CLSID CLSID_CorvaneRegistry = Guid("{006D72F9-845A-11D0-98CD-0060974F96EB}");
inline constexpr com::IID IID_ICorvaneRegistry = Guid("{006D72F8-845A-11D0-98CD-0060974F96EB}");

inline constexpr com::CLSID CLSID_NetworkDescTable = Guid("{152EEDB3-AA01-11D0-98E5-0060974F96EB}");
inline constexpr com::IID IID_INetworkDescTable = Guid("{152EEDB2-AA01-11D0-98E5-0060974F96EB}");

inline constexpr com::CLSID CLSID_SwitcherDescTable =
    Guid("{006D72F3-845A-11D0-98CD-0060974F96EB}");
inline constexpr com::IID IID_ISwitcherDescTable = Guid("{006D72F2-845A-11D0-98CD-0060974F96EB}");

inline constexpr com::CLSID CLSID_PathFinding = Guid("{0DF8DE52-D6AA-11D0-98EC-0060974F96EB}");
inline constexpr com::IID IID_IPathFinding = Guid("{0DF8DE51-D6AA-11D0-98EC-0060974F96EB}");

inline constexpr com::CLSID CLSID_BoardStatusServer =
    Guid("{591636A4-2546-11D1-BF1C-0060083188E7}");
inline constexpr com::IID IID_IBoardStatus = Guid("{591636A2-2546-11D1-BF1C-0060083188E7}");
inline constexpr com::IID IID_IBoardStatusEx = Guid("{591636A5-2546-11D1-BF1C-0060083188E7}");

inline constexpr com::CLSID CLSID_FileAccess = Guid("{58D660A5-1CCF-11D1-BF19-0060083188E7}");
inline constexpr com::IID IID_IFileAccess = Guid("{58D660A2-1CCF-11D1-BF19-0060083188E7}");
// Our own addition to File Access, for workstations that share its data folder.
inline constexpr com::IID IID_IFileLocks = Guid("{C8F6925A-3DE1-4684-9E84-09305F05E881}");

// Offered by every component.
inline constexpr com::IID IID_IErrorDescription = Guid("{C9032880-181E-11D1-BF18-0060083188E7}");

// Implemented by the program, called by the components.
inline constexpr com::IID IID_IBoardNotifySink = Guid("{591636A1-2546-11D1-BF1C-0060083188E7}");
inline constexpr com::IID IID_IRouterNotifySink = Guid("{CBF84E93-A2F8-11D0-98DE-0060974F96EB}");
inline constexpr com::IID IID_IControlCenterSink = Guid("{DA956623-9E61-11D1-BF71-0060083188E7}");

}  // namespace control
