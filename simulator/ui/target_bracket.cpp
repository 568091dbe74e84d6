// Corners of the target bracket.
#include "target_bracket.h"

#include <algorithm>
#include <cmath>

float targetBracketHalfSizePx(const BodyOnScreen& target) {
    return std::round(std::clamp(target.discRadiusPx + 4.0f, 9.0f, 400.0f));
}

void addTargetBracket(const BodyOnScreen& target, ScreenShapes& shapes) {
    if (!target.inFront) return;
    const float x = std::round(target.x), y = std::round(target.y);
    const float h = targetBracketHalfSizePx(target);
    const float arm = std::max(4.0f, std::round(h * 0.4f));
    const uint32_t c = kTargetBracketArgb;
    for (float sx : {-1.0f, 1.0f})
        for (float sy : {-1.0f, 1.0f}) {
            const float cx = x + sx * h, cy = y + sy * h;
            // Horizontal and vertical arm of the corner, pointing inwards, two pixels thick.
            shapes.rect(std::min(cx, cx - sx * arm), cy - 1, std::max(cx, cx - sx * arm) + 1, cy + 1, c);
            shapes.rect(cx - 1, std::min(cy, cy - sy * arm), cx + 1, std::max(cy, cy - sy * arm) + 1, c);
        }
}
