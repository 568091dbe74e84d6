// The time warp line at the top centre: the factor while it is above 1, and for a few seconds
// after a drop the reason the warp fell back to 1.
#pragma once

#include <string>

#include "sim_state.h"

class TextFont;

// "Time warp 1,000x" above 1, else ""; an exact replay shows the warp it recorded.
std::string warpFactorText(const TimeWarp& warp);

// Draws the factor line (font) and, while it is due, the drop message below it (smallFont, short
// enough to stay clear of the heads-up panel), centred on a screen w pixels wide.
void drawWarpIndicator(TextFont& font, TextFont& smallFont, const TimeWarp& warp, int w);
