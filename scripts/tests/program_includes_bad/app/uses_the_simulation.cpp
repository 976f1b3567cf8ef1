// Not built: the guard of the control layer's split must refuse this folder.
#include "platform/control/interfaces.h"
#include "platform/control/simulation.h"
