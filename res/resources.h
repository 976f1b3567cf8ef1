// The program's resources as one set, ready to install in the framework at start.
#pragma once

#include "platform/fw/resources.h"

namespace tav {

// Built on first use and kept for the rest of the run.
const fw::ResourceSet& TavResources();

// The program icon drawn at size x size pixels, for the desktop's icon theme.
fw::IconResource ProgramIconOfSize(int size);

}  // namespace tav
