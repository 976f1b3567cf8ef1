// Where File Access keeps the program's files: the configuration's data folder, else
// $TAVORA_DATA_DIR, else $XDG_DATA_HOME/tavora, else ~/.local/share/tavora.
#pragma once

#include <filesystem>

#include "platform/control/configuration/config.h"

namespace control {

std::filesystem::path ResolveDataFolder(const Config& config);

}  // namespace control
