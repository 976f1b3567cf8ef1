// Build tool: writes icon 128's pixels, as icon.cpp draws them, as the body of a C++ array. The
// program links the pixels instead of drawing the icon at every start (the drawing samples every
// pixel sixteen times for each shape, a fifth of what the start-up cost before the main window).
#include <cstdio>

#include "res/res_parts.h"

int main() {
    const fw::IconResource icon = tav::resparts::ProgramIcon(tav::resparts::kBakedIconSize);
    for (std::size_t i = 0; i < icon.argb.size(); ++i) {
        std::printf("0x%08XU,%c", static_cast<unsigned>(icon.argb[i]), i % 8 == 7 ? '\n' : ' ');
    }
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? 0 : 1;
}
