// The ship's predicted path with the plan's burns: the same integration as the trajectory
// prediction, each burn applied as an instant change of velocity at its node's time (the burn's
// vector worked out from the predicted state there). Also the closest approach to the target and
// the orbit the path ends on.
#pragma once

#include <atomic>
#include <vector>

#include "flight_plan.h"
#include "integrator.h"
#include "trajectory_prediction.h"

struct PlannedPathRequest {
    std::vector<SimObject> objects;
    IntegratorState integrator;
    double nowS = 0;                 // mission time of the copy
    std::vector<BurnNode> nodes;     // in time order; nodes before now are left out
    double horizonS = 0;
    int pointCount = 0;              // 0: as predictionPointCount says
    int targetIndex = -1;
    const std::atomic<bool>* cancel = nullptr;
};

struct PathOrbit {
    bool known = false;
    int body = -1;                   // the body the path ends bound to (target first), -1 none
    double periapsisAltitudeKm = 0, apoapsisAltitudeKm = 0;
    double inclinationRad = 0;       // against the body's equator
    double periodS = 0;
    double eccentricity = 0;
};

struct PlannedPath {
    PredictedPath path;              // ship, reference and target as the trajectory prediction
    double closestAltitudeKm = -1;   // above the target's surface, -1 without a target
    double closestTimeS = 0;         // from the request's moment
    double requestS = 0;             // that moment (mission time)
    RelativeState closestState;      // ship about the target there
    PathOrbit finalOrbit;
    std::vector<Vec3d> burnsWorld;   // each node's change of velocity as applied
};

// Vector of a node's burn from the ship's state about the node's body at the node's time.
Vec3d nodeDeltaV(const BurnNode& node, const RelativeState& at, double gm);

PlannedPath predictPlannedPath(PlannedPathRequest request);

// The request for the live state now.
PlannedPathRequest plannedPathRequest(const struct SimState& state, const std::vector<BurnNode>& nodes,
                                      double horizonS, int targetIndex);
