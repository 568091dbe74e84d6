// The F10 lines at the top centre (the last of the top-centre column): the relative drift of the
// system's total energy and angular momentum since the run started. Measured at the first frame,
// and afterwards only while it is shown (it costs N^2 / 2 pairs).
#pragma once

#include <optional>
#include <string>

#include "system_invariants.h"

// "Energy drift +1.2e-09\nAngular momentum drift 3.4e-10"
std::string driftGaugeText(const InvariantDrift& drift);

class DriftGauge {
public:
    // After every frame step.
    void update(const SimState& state, bool shown);
    bool shown() const { return shown_; }
    const InvariantDrift& drift() const { return drift_; }

private:
    std::optional<SystemInvariants> start_;
    InvariantDrift drift_;
    bool shown_ = false;
};
