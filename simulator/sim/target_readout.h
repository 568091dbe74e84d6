// The figures of the target panel: distance to the target's surface, closing and relative speed,
// time to the closest approach on a straight course, and, when the ship is bound to the target,
// the two-body orbit about it.
#pragma once

#include "sim_state.h"

struct TargetReadout {
    float surfaceDistanceKm = 0;
    float closingSpeedKmPerS = 0;   // positive while the distance shrinks
    float relativeSpeedKmPerS = 0;
    double closestApproachInS = -1; // < 0: the distance grows (no approach ahead)
    bool bound = false;             // the ship's energy relative to the target is negative
    double periapsisAltitudeKm = 0; // above the equatorial radius
    double apoapsisAltitudeKm = 0;
    double periodS = 0;
    double inclinationRad = 0;      // to the equator of the world frame (+Y the north pole)
};

// Figures of body as seen from the observer (body must be a valid body index). The orbit uses the
// integrator's gravitational constant and the target's mass, with the integrator's double-precision
// state when it is set up for these objects.
TargetReadout readTarget(const SimState& state, int body);
