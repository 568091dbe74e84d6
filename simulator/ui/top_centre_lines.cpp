// Top-centre column.
#include "top_centre_lines.h"

#include <algorithm>

#include "text_font.h"

namespace {
constexpr float kTopPx = 8, kGapPx = 3;
// The heads-up table is about 411 pixels wide and the on-screen controls take the right 190.
constexpr int kSideReservePx = 424;
}  // namespace

int topCentreWidthPx(int widthPx) { return std::max(300, widthPx - 2 * kSideReservePx); }

std::vector<std::string> wrapText(TextFont& font, const std::string& text, int maxWidthPx) {
    std::vector<std::string> out;
    std::string line;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(' ', pos);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(pos, end - pos);
        const std::string candidate = line.empty() ? word : line + " " + word;
        int cx = 0, cy = 0;
        font.measureText(candidate.c_str(), &cx, &cy);
        if (cx > maxWidthPx && !line.empty()) {
            out.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
        pos = end + 1;
    }
    if (!line.empty()) out.push_back(line);
    return out;
}

float drawTopCentreLines(TextFont& large, TextFont& small, const std::vector<TopCentreLine>& lines, int widthPx) {
    float y = kTopPx;
    for (const TopCentreLine& line : lines) {
        if (line.text.empty()) continue;
        TextFont& font = line.large ? large : small;
        for (const std::string& part : wrapText(font, line.text, topCentreWidthPx(widthPx))) {
            int cx = 0, cy = 0;
            font.measureText(part.c_str(), &cx, &cy);
            font.drawText(static_cast<float>(widthPx / 2 - cx / 2), y, line.argb, part.c_str());
            y += static_cast<float>(cy) + kGapPx;
        }
    }
    return y;
}
