// A transfer to a target that orbits the same body as the ship (the Moon from an Earth orbit, a
// planet from a solar orbit): the departure with the least change of velocity over a grid of
// departure and flight times (Lambert on the conic about the common body), then corrected by
// Newton steps on the departure burn against the full integration of every body, so that the
// closest approach lands at the chosen altitude; an arrival burn makes the orbit there circular.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "integrator.h"
#include "orbit_change.h"

struct TransferRequest {
    std::vector<SimObject> objects;
    IntegratorState integrator;
    double nowS = 0;
    int target = -1;
    double altitudeKm = 0;        // of the closest approach above the target's surface
    double leadS = 0;             // the departure no sooner than this from now
    std::vector<std::string> names;  // body names for the summary (configuration order)
    const std::atomic<bool>* cancel = nullptr;
};

struct TransferResult {
    PlanResult plan;
    double conicClosestAltitudeKm = -1;  // the uncorrected Lambert departure's real approach
    double plannedClosestAltitudeKm = -1;  // after the corrections
    int corrections = 0;
};

TransferResult planTransfer(TransferRequest request);
