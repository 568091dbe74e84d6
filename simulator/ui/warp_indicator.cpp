// Top-centre warp line.
#include "warp_indicator.h"

#include "text_font.h"

namespace {

constexpr uint32_t kWarpLineArgb = 0xFFFFFF00;  // yellow: not a message, not the heads-up text
constexpr uint32_t kDropArgb = 0xFFFF0000;
constexpr float kTopPx = 8;

std::string grouped(int32_t value) {
    std::string digits = std::to_string(value);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

void centredLine(TextFont& font, const std::string& text, int w, float y, uint32_t argb) {
    int cx = 0, cy = 0;
    font.measureText(text.c_str(), &cx, &cy);
    font.drawText(static_cast<float>(w / 2 - cx / 2), y, argb, text.c_str());
}

}  // namespace

std::string warpFactorText(const TimeWarp& warp) {
    if (warp.level <= 0) return "";
    return "Time warp " + grouped(warp.factor()) + "x";
}

void drawWarpIndicator(TextFont& font, TextFont& smallFont, const TimeWarp& warp, int w) {
    const std::string line = warpFactorText(warp);
    if (!line.empty()) centredLine(font, line, w, kTopPx, kWarpLineArgb);
    const char* drop = warp.messageLeftS > 0 ? warpDropMessage(warp.lastDrop) : nullptr;
    if (drop) {
        int cx = 0, cy = 0;
        font.measureText("W", &cx, &cy);  // the second row of the message font
        centredLine(smallFont, drop, w, kTopPx + static_cast<float>(cy) + 4, kDropArgb);
    }
}
