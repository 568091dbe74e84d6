// Differential correction of one burn against the full integration of every body: Newton steps
// move the closest approach to a target onto a chosen altitude, changing a departure square to its
// direction and a mid-course correction (from nothing) the least in any direction. The departure
// of a transfer and its mid-course corrections use it.
#pragma once

#include <atomic>
#include <vector>

#include "integrator.h"
#include "planned_path.h"

struct AimRequest {
    std::vector<SimObject> objects;
    IntegratorState integrator;
    double nowS = 0;
    BurnNode node;                 // the burn changed (a node without a change of velocity may be)
    int target = -1;
    double altitudeKm = 0;         // of the closest approach above the target's surface
    double horizonS = 0;           // of the integrated paths, from now
    const std::atomic<bool>* cancel = nullptr;
};

struct AimResult {
    bool valid = false;            // false: cancelled
    BurnNode node;                 // the corrected burn
    PlannedPath path;              // with it
    double firstClosestAltitudeKm = -1;  // of the burn as it was asked
    int corrections = 0;
};

AimResult aimAtAltitude(const AimRequest& request);
