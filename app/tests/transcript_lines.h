// How the transcript's lines begin, for tests that look for a window by its template.
#pragma once

#include <string>

namespace apptest {

// "open 139" for a window opened from template IDD_SEND_REMAP_DATA.
inline std::string OpenLine(int templateId) {
    return "open " + std::to_string(templateId);
}

}  // namespace apptest
