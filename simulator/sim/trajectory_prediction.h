// Trajectory prediction: the ship's future path (and a chosen body's) integrated ahead from a copy
// of the state with the same gravity model and the same substep bound as a warped frame, the
// thrust acting now kept on. Pure computation on its own copies: it never sees the live state.
#pragma once

#include <atomic>
#include <vector>

#include "integrator.h"
#include "sim_object.h"
#include "step_bound.h"

struct PointKm {
    double x = 0, y = 0, z = 0;
};

struct PredictionRequest {
    std::vector<SimObject> objects;  // the float items when it was asked for
    IntegratorState integrator;      // the exact state they belong to
    double horizonS = 0;
    double startMissionTimeS = 0;    // the mission time of the state copied
    int pointCount = 0;              // intervals of the horizon (points are one more); 0: as
                                     // predictionPointCount says, worked out on the worker
    int targetIndex = -1;            // a body whose path is predicted too and that the ship's path
                                     // is drawn around; -1 for none
    const std::atomic<bool>* cancel = nullptr;  // when it turns true the path ends unfinished
    bool everyPull = false;          // keep the pulls among light objects too (for comparisons)
};

struct PredictedPath {
    bool valid = false;
    double horizonS = 0;
    double startMissionTimeS = 0;     // the mission time that timesS count from
    int targetIndex = -1;
    int referenceIndex = -1;          // the target, else the body the ship orbits
    std::vector<double> timesS;       // from the request's moment
    std::vector<PointKm> ship;        // world km
    std::vector<PointKm> reference;   // the reference body at the same times
    std::vector<PointKm> target;      // empty without a target
    int targetReferenceIndex = -1;    // the body the target orbits
    std::vector<PointKm> targetReference;  // that body at the same times
    double closestKm = -1;            // ship to target (centre distance), -1 without a target
    double closestTimeS = 0;
};

// Points for a horizon: about fifty per orbit of the tightest pair, 256 to 4096.
int predictionPointCount(const std::vector<SimObject>& objects, double horizonS);

// Objects lighter than this fraction of the body they orbit (asteroids about the Sun, small
// moonlets) are light to a prediction: it leaves out the pulls between two of them.
constexpr double kLightMassFraction = 1e-8;
// Per object: whether it is light. The observer never is (it must feel every pull).
std::vector<bool> lightObjects(const std::vector<SimObject>& objects);

// Integrates the request's copy over the horizon. The request is consumed. A cancelled request
// gives an invalid path.
// The checks and indices every path computation starts with: false when nothing can be
// predicted (fewer than two objects, an exact state of another count, no horizon or points, no body
// to draw about). A pointCount of 0 becomes predictionPointCount's; sets the path's target,
// reference, target reference and horizon.
bool startPredictedPath(const std::vector<SimObject>& objects, const IntegratorState& integrator, double horizonS,
                        int targetIndex, int& pointCount, PredictedPath& path);

PredictedPath predictTrajectory(PredictionRequest request);
