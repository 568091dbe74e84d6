// Top-centre warp line.
#include "warp_indicator.h"

std::string warpFactorText(const TimeWarp& warp) {
    if (warp.level <= 0) return "";
    return "Time warp " + warpFactorName(warp.level);
}
