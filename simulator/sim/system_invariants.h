// The star system's total energy and angular momentum, from the integrator's double state: what
// an exact integration keeps constant, so their drift shows the integrator's (and the warp's)
// accuracy. The observer is left out: it attracts nothing and its thrust adds energy.
#pragma once

#include "sim_state.h"

struct SystemInvariants {
    double energy = 0;               // kinetic plus potential, kg km^2 / s^2
    double angularMomentum[3] = {};  // kg km^2 / s, about the world origin
};

SystemInvariants systemInvariants(const SimState& state);

// Relative drifts of now against start: (E - E0) / |E0| and |L - L0| / |L0| (0 where the start
// value is 0).
struct InvariantDrift {
    double energy = 0;
    double angularMomentum = 0;
};
InvariantDrift invariantDrift(const SystemInvariants& start, const SystemInvariants& now);
