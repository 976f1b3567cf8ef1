#include "platform/control/files/data_folder.h"

#include <cstdlib>

namespace control {

namespace {

std::filesystem::path FromEnv(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0' ? std::filesystem::path(value)
                                                : std::filesystem::path();
}

}  // namespace

std::filesystem::path ResolveDataFolder(const Config& config) {
    if (config.dataFolder) {
        return *config.dataFolder;
    }
    if (auto folder = FromEnv("TAVORA_DATA_DIR"); !folder.empty()) {
        return folder;
    }
    if (auto xdg = FromEnv("XDG_DATA_HOME"); xdg.is_absolute()) {
        return xdg / "tavora";
    }
    if (auto home = FromEnv("HOME"); !home.empty()) {
        return home / ".local" / "share" / "tavora";
    }
    // No home at all (a bare service account): a folder of its own under the temporary one.
    return std::filesystem::temp_directory_path() / "tavora";
}

}  // namespace control
