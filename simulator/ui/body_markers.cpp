// Marker squares and labels, with labels kept apart on a coarse occupancy grid.
#include "body_markers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "target_bracket.h"

namespace {

// Occupancy cells of the label layout, pixels.
constexpr int kCell = 3;

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

std::string markerLabelText(const SimState& state, int body, const NavigationFigures& figures) {
    std::string text = bodyDisplayName(state, body);
    if (text.empty() || figures.target != body) return text;
    char distance[64];
    std::snprintf(distance, sizeof distance, " %.4e km above surface", figures.surfaceDistanceKm);
    return text + distance;
}

bool BodyMarkers::isFree(const ScreenBox& b) const {
    const int c0 = static_cast<int>(std::floor(b.x0)) / kCell, r0 = static_cast<int>(std::floor(b.y0)) / kCell;
    const int c1 = static_cast<int>(std::ceil(b.x1)) / kCell, r1 = static_cast<int>(std::ceil(b.y1)) / kCell;
    if (b.x0 < 0 || b.y0 < 0 || c1 >= cols_ || r1 >= rows_) return false;  // labels stay on screen
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            if (taken_[static_cast<size_t>(r * cols_ + c)]) return false;
    return true;
}

void BodyMarkers::take(const ScreenBox& b) {
    const int c0 = std::max(0, static_cast<int>(std::floor(b.x0)) / kCell);
    const int r0 = std::max(0, static_cast<int>(std::floor(b.y0)) / kCell);
    const int c1 = std::min(cols_ - 1, static_cast<int>(std::ceil(b.x1)) / kCell);
    const int r1 = std::min(rows_ - 1, static_cast<int>(std::ceil(b.y1)) / kCell);
    if (b.x1 < 0 || b.y1 < 0) return;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) taken_[static_cast<size_t>(r * cols_ + c)] = 1;
}

void BodyMarkers::layout(const SimState& state, const std::vector<BodyOnScreen>& bodies, int widthPx,
                         int heightPx, int charWidthPx, int lineHeightPx, ScreenShapes& shapes,
                         const std::vector<ScreenBox>& keepOut, const NavigationFigures& figures) {
    labels_.clear();
    order_.clear();
    const float w = static_cast<float>(widthPx), h = static_cast<float>(heightPx);
    const int target = state.nav.target;
    // The target is named beside its bracket even when its disc is large enough to see. A marker
    // inside a kept-out area (a panel's or a control's text) is left out, as under the heads-up text.
    auto keptOut = [&](const BodyOnScreen& s) {
        for (const ScreenBox& box : keepOut)
            if (s.x >= box.x0 - kMarkerHalfSizePx && s.x <= box.x1 + kMarkerHalfSizePx &&
                s.y >= box.y0 - kMarkerHalfSizePx && s.y <= box.y1 + kMarkerHalfSizePx)
                return true;
        return false;
    };
    for (const BodyOnScreen& s : bodies)
        if ((s.marked() || (s.body == target && s.inFront)) && s.x >= -8 && s.y >= -8 && s.x <= w + 8 &&
            s.y <= h + 8 && !(s.marked() && keptOut(s)))
            order_.push_back(s.body);
    std::sort(order_.begin(), order_.end(), [&](int a, int b) {
        if ((a == target) != (b == target)) return a == target;
        return bodies[static_cast<size_t>(a)].surfaceDistanceKm < bodies[static_cast<size_t>(b)].surfaceDistanceKm;
    });
    cols_ = widthPx / kCell + 1;
    rows_ = heightPx / kCell + 1;
    taken_.assign(static_cast<size_t>(cols_) * static_cast<size_t>(rows_), 0);
    for (const ScreenBox& box : keepOut) take(box);
    // Every square (with a pixel to spare) and the target's bracket first: no label may cover one.
    for (int body : order_) {
        const BodyOnScreen& s = bodies[static_cast<size_t>(body)];
        if (!s.marked()) continue;
        const float x = std::round(s.x), y = std::round(s.y);
        shapes.squareOutline(x, y, kMarkerHalfSizePx, markerColour(state, body));
        const float m = kMarkerHalfSizePx + 2;
        take({x - m, y - m, x + m, y + m});
    }
    if (target >= 0 && static_cast<size_t>(target) < bodies.size() && bodies[static_cast<size_t>(target)].inFront) {
        const BodyOnScreen& t = bodies[static_cast<size_t>(target)];
        const float b = targetBracketHalfSizePx(t) + 2;
        const float x = std::round(t.x), y = std::round(t.y);
        for (float sx : {-1.0f, 1.0f})
            for (float sy : {-1.0f, 1.0f}) {
                const float cx = x + sx * b, cy = y + sy * b, arm = std::max(6.0f, b * 0.4f + 2);
                take({std::min(cx, cx - sx * arm), std::min(cy, cy - sy * arm), std::max(cx, cx - sx * arm),
                      std::max(cy, cy - sy * arm)});
            }
    }
    for (int body : order_) {
        const BodyOnScreen& s = bodies[static_cast<size_t>(body)];
        MarkerLabel label;
        label.body = body;
        label.text = markerLabelText(state, body, figures);
        if (label.text.empty()) continue;
        label.widthPx = static_cast<int>(label.text.size()) * charWidthPx;
        label.heightPx = lineHeightPx;
        const float x = std::round(s.x), y = std::round(s.y);
        const float lw = static_cast<float>(label.widthPx), lh = static_cast<float>(lineHeightPx);
        // Clear of the square, and of the bracket for the target.
        const float gap = body == target ? targetBracketHalfSizePx(s) + 6 : kMarkerHalfSizePx + 5;
        const float places[4][2] = {{x + gap, y - lh / 2},
                                    {x - gap - lw, y - lh / 2},
                                    {x - lw / 2, y - gap - lh},
                                    {x - lw / 2, y + gap}};
        for (const auto& p : places) {
            const ScreenBox box{std::round(p[0]), std::round(p[1]), std::round(p[0]) + lw, std::round(p[1]) + lh};
            if (!isFree(box)) continue;
            take({box.x0 - 2, box.y0 - 1, box.x1 + 2, box.y1 + 1});
            label.x = box.x0;
            label.y = box.y0;
            labels_.push_back(std::move(label));
            break;
        }
    }
}

void BodyMarkers::drawLabels(const SimState& state, TextFont& font) const {
    for (const MarkerLabel& label : labels_)
        font.drawText(label.x, label.y, markerColour(state, label.body), label.text.c_str());
}
