// Energy and angular-momentum drift line.
#include "drift_gauge.h"

#include <cstdio>

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
