// Top-centre column.
#include "top_centre_lines.h"

#include "text_font.h"

namespace {
constexpr float kTopPx = 8, kGapPx = 3;
}

float drawTopCentreLines(TextFont& large, TextFont& small, const std::vector<TopCentreLine>& lines, int widthPx) {
    float y = kTopPx;
    for (const TopCentreLine& line : lines) {
        if (line.text.empty()) continue;
        TextFont& font = line.large ? large : small;
        int cx = 0, cy = 0;
        font.measureText(line.text.c_str(), &cx, &cy);
        font.drawText(static_cast<float>(widthPx / 2 - cx / 2), y, line.argb, line.text.c_str());
        y += static_cast<float>(cy) + kGapPx;
    }
    return y;
}
