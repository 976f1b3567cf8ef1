// Everything the program needs from the control layer, in one include.
#pragma once

#include "platform/control/file_access_codes.h"
#include "platform/control/ids.h"
#include "platform/control/interfaces.h"
#include "platform/control/simulation.h"
#include "platform/control/sink_interfaces.h"
