// A transfer to a target that orbits the same body as the ship (the Moon from an Earth orbit, a
// planet from a solar orbit): the departure with the least change of velocity over a grid of
// departure and flight times (Lambert on the conic about the common body), then corrected by
// Newton steps on the departure burn against the full integration of every body, so that the
// closest approach lands at the chosen altitude; an arrival burn makes the orbit there circular.
// On the way, mid-course corrections are worked out the same way from the ship's real state.
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

// The departure (corrected), three mid-course correction nodes and the capture.
TransferResult planTransfer(TransferRequest request);

// A mid-course correction from the ship's state now: the burn at the node's time that brings the
// integrated closest approach back onto the chosen altitude.
struct CorrectionRequest {
    std::vector<SimObject> objects;
    IntegratorState integrator;
    double nowS = 0;
    BurnNode node;                // the correction node (its time)
    double arrivalS = 0;          // the planned arrival (mission time)
    int target = -1;
    double altitudeKm = 0;
    const std::atomic<bool>* cancel = nullptr;
};

struct CorrectionResult {
    bool found = false;
    BurnNode node;                // a fixed burn in the frame of the body the ship orbits now
    double closestAltitudeKm = -1, uncorrectedClosestAltitudeKm = -1;
    double arrivalS = 0;          // mission time of the corrected closest approach
    std::string summary;
};

CorrectionResult planCorrection(CorrectionRequest request);
