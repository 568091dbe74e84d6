// A change of orbit about the body the ship orbits: two burns, the first along the path to an
// orbit whose far apsis lies at the new radius, the second half that orbit later, making it
// circular (worked out again from the real orbit when it is flown).
#pragma once

#include <string>
#include <vector>

#include "flight_plan.h"

// The ship must stay this far above every surface; planned orbits keep above it with a margin.
constexpr double kLowestPlannedAltitudeKm = 1600.0;

struct PlanResult {
    bool found = false;
    std::vector<BurnNode> nodes;
    double totalDeltaVKmPerS = 0;
    std::string summary;  // what was found, or why nothing
};

// From the ship's state now (mission time nowS) about body primary: the first burn leadS from
// now, to a circular orbit altitudeKm above the body's equatorial radius.
PlanResult planOrbitChange(const std::vector<SimObject>& objects, int primary, double nowS, double leadS,
                           double altitudeKm);
