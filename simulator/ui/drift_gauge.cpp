// Energy and angular-momentum drift line.
#include "drift_gauge.h"

#include <cstdio>

#include "text_font.h"

namespace {
constexpr uint32_t kGaugeArgb = 0xFFC0C0C0;
constexpr float kTopPx = 8;
constexpr int kRow = 3;  // below the warp factor, its drop message and the prediction line
}  // namespace

std::string driftGaugeText(const InvariantDrift& d) {
    char text[96];
    std::snprintf(text, sizeof text, "Energy drift %+.1e   Angular momentum drift %.1e", d.energy,
                  d.angularMomentum);
    return text;
}

void DriftGauge::update(const SimState& state, bool shown) {
    shown_ = shown;
    if (!start_) {
        start_ = systemInvariants(state);
        return;
    }
    if (shown) drift_ = invariantDrift(*start_, systemInvariants(state));
}

void DriftGauge::draw(TextFont& font, int w) const {
    if (!shown_) return;
    const std::string text = driftGaugeText(drift_);
    int cx = 0, cy = 0;
    font.measureText(text.c_str(), &cx, &cy);
    font.drawText(static_cast<float>(w / 2 - cx / 2), kTopPx + kRow * static_cast<float>(cy + 4), kGaugeArgb,
                  text.c_str());
}
