// The additions' lines at the top centre, stacked in one column so that none covers another: the
// warp factor, the reason for the last refusal, the exact replay's verdict, the navigation banner,
// the prediction horizon and the drift gauge. Each line is centred on its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TextFont;

inline constexpr uint32_t kWarpLineArgb = 0xFFFFFF00;    // yellow: not a message, not the HUD text
inline constexpr uint32_t kNoticeArgb = 0xFFFF8040;      // orange: a reason, not an alarm
inline constexpr uint32_t kVerdictArgb = 0xFFFFFFFF;
inline constexpr uint32_t kBannerArgb = 0xFF40E0FF;      // the predicted path's colour
inline constexpr uint32_t kGaugeArgb = 0xFFC0C0C0;
inline constexpr uint32_t kCalendarArgb = 0xFFB0C8FF;  // pale blue: information, not a message

struct TopCentreLine {
    std::string text;
    uint32_t argb = 0xFFFFFFFF;
    bool large = false;  // the message font, else the heads-up display's
};

// The widest a line may be on a screen widthPx wide: the space between the heads-up table and the
// on-screen controls (at least 300 pixels).
int topCentreWidthPx(int widthPx);

// Splits text at blanks into lines no wider than maxWidthPx (a word wider than that stands alone).
std::vector<std::string> wrapText(TextFont& font, const std::string& text, int maxWidthPx);

// Draws the non-empty lines from the top down, each wrapped to topCentreWidthPx; returns the
// bottom of the last one, pixels.
float drawTopCentreLines(TextFont& large, TextFont& small, const std::vector<TopCentreLine>& lines, int widthPx);
