// Icon 128 as the program links it: the pixels icon.cpp draws, written at build time by
// tav_icon_bake (res/icon_bake.cpp), so that no start draws them again. The resource tests compare
// these pixels with a fresh drawing.
#include <array>
#include <cstdint>

#include "res/res_parts.h"
#include "res/resource.h"

namespace tav::resparts {

namespace {

constexpr std::array<std::uint32_t, kBakedIconSize * kBakedIconSize> kPixels{
#include "program_icon_pixels.inc"
};

}  // namespace

fw::IconResource BakedProgramIcon() {
    fw::IconResource icon;
    icon.id = IDR_MAINFRAME;
    icon.width = kBakedIconSize;
    icon.height = kBakedIconSize;
    icon.argb.assign(kPixels.begin(), kPixels.end());
    return icon;
}

}  // namespace tav::resparts
