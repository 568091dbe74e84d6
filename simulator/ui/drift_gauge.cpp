// Energy and angular-momentum drift line.
#include "drift_gauge.h"

#include <cstdio>

#include "text_font.h"

namespace {
constexpr uint32_t kGaugeArgb = 0xFFC0C0C0;
// Below the warp factor, its drop message and the prediction line (three rows of the message
// font), in two short lines of the small font so that it stays clear of the heads-up panel.
constexpr float kTopPx = 76;
}  // namespace

std::string driftGaugeText(const InvariantDrift& d) {
    char text[96];
    std::snprintf(text, sizeof text, "Energy drift %+.1e\nAngular momentum drift %.1e", d.energy,
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
    // Each line centred on its own.
    const std::string text = driftGaugeText(drift_);
    const size_t split = text.find('\n');
    float y = kTopPx;
    for (const std::string& line : {text.substr(0, split), text.substr(split + 1)}) {
        int cx = 0, cy = 0;
        font.measureText(line.c_str(), &cx, &cy);
        font.drawText(static_cast<float>(w / 2 - cx / 2), y, kGaugeArgb, line.c_str());
        y += static_cast<float>(cy + 2);
    }
}
