// Marker squares and labels, with labels kept apart on a coarse occupancy grid.
#include "body_markers.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kCellW = 8, kCellH = 8;

std::string_view displayName(const SimState& state, int body) {
    if (body < 0 || static_cast<size_t>(body) >= state.configEntries.size()) return {};
    std::string_view name = state.configEntries[static_cast<size_t>(body)];
    return name.substr(0, name.find('.'));
}

}  // namespace

uint32_t markerColour(const SimState& state, int body) {
    const SimObject& o = state.objects[static_cast<size_t>(body)];
    if (o.isStar) return kStarMarkerArgb;
    const int32_t orbited = o.orbitedObject;  // 1-based, kNaInt for none
    if (orbited >= 1 && static_cast<size_t>(orbited) < state.objects.size() &&
        orbited - 1 != body && !state.objects[static_cast<size_t>(orbited - 1)].isStar)
        return kMoonMarkerArgb;
    return kPlanetMarkerArgb;
}

void BodyMarkers::layout(const SimState& state, const std::vector<BodyOnScreen>& bodies, int widthPx,
                         int heightPx, int charWidthPx, int lineHeightPx, ScreenShapes& shapes) {
    labels_.clear();
    order_.clear();
    const float w = static_cast<float>(widthPx), h = static_cast<float>(heightPx);
    for (const BodyOnScreen& s : bodies)
        if (s.marked() && s.x >= -8 && s.y >= -8 && s.x <= w + 8 && s.y <= h + 8) order_.push_back(s.body);
    std::sort(order_.begin(), order_.end(), [&](int a, int b) {
        return bodies[static_cast<size_t>(a)].surfaceDistanceKm < bodies[static_cast<size_t>(b)].surfaceDistanceKm;
    });
    const int cols = widthPx / kCellW + 1, rows = heightPx / kCellH + 1;
    taken_.assign(static_cast<size_t>(cols) * static_cast<size_t>(rows), 0);
    for (int body : order_) {
        const BodyOnScreen& s = bodies[static_cast<size_t>(body)];
        const float x = std::round(s.x), y = std::round(s.y);
        shapes.squareOutline(x, y, kMarkerHalfSizePx, markerColour(state, body));
        MarkerLabel label;
        label.body = body;
        label.x = x + 12;  // clear of the target bracket
        label.y = y - static_cast<float>(lineHeightPx) * 0.5f;
        label.widthPx = static_cast<int>(displayName(state, body).size()) * charWidthPx;
        label.heightPx = lineHeightPx;
        if (label.widthPx == 0) continue;
        int c0 = std::max(0, static_cast<int>(label.x) / kCellW), r0 = std::max(0, static_cast<int>(label.y) / kCellH);
        int c1 = std::min(cols - 1, static_cast<int>(label.x + static_cast<float>(label.widthPx)) / kCellW);
        int r1 = std::min(rows - 1, static_cast<int>(label.y + static_cast<float>(label.heightPx)) / kCellH);
        bool free = true;
        for (int r = r0; r <= r1 && free; ++r)
            for (int c = c0; c <= c1 && free; ++c) free = taken_[static_cast<size_t>(r * cols + c)] == 0;
        if (!free) continue;
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) taken_[static_cast<size_t>(r * cols + c)] = 1;
        labels_.push_back(label);
    }
}

void BodyMarkers::drawLabels(const SimState& state, TextFont& font) const {
    for (const MarkerLabel& label : labels_) {
        name_.assign(displayName(state, label.body));
        font.drawText(label.x, label.y, markerColour(state, label.body), name_.c_str());
    }
}
