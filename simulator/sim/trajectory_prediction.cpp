// Prediction: RK4 substeps within each interval of the horizon, bounded like a warped frame.
#include "trajectory_prediction.h"

#include <cmath>

#include "step_bound.h"

namespace {

PointKm statePoint(const IntegratorState& integrator, size_t i) {
    return {integrator.readBack(i, 0), integrator.readBack(i, 2), integrator.readBack(i, 4)};
}

void readBackAll(const IntegratorState& integrator, std::vector<SimObject>& objects) {
    for (size_t i = 0; i < objects.size(); ++i) {
        SimObject& o = objects[i];
        auto item = [&](int j) { return static_cast<float>(integrator.readBack(i, j)); };
        o.positionKm = {item(0), item(2), item(4)};
        o.velocityKmPerS = {item(1), item(3), item(5)};
    }
}

double distance(PointKm a, PointKm b) {
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace

int predictionPointCount(const std::vector<SimObject>& objects, double horizonS) {
    // About fifty points per orbit of the tightest pair, within 256 and 4096 points.
    const double perPoint = stepBoundS(objects) * 8;
    const double wanted = horizonS / perPoint;
    if (!(wanted > 256)) return 256;
    return wanted > 4096 ? 4096 : static_cast<int>(wanted);
}

std::vector<bool> lightObjects(const std::vector<SimObject>& objects) {
    std::vector<bool> light(objects.size(), false);
    const std::vector<int> primaries = primaryBodies(objects);
    for (size_t i = 0; i + 1 < objects.size(); ++i) {
        const int p = primaries[i];
        light[i] = p >= 0 && static_cast<size_t>(p) != i &&
                   double(objects[i].massKg) < kLightMassFraction * double(objects[static_cast<size_t>(p)].massKg);
    }
    return light;
}

bool startPredictedPath(const std::vector<SimObject>& objects, const IntegratorState& integrator, double horizonS,
                        int targetIndex, int& pointCount, PredictedPath& path) {
    if (pointCount == 0) pointCount = predictionPointCount(objects, horizonS);
    if (objects.size() < 2 || integrator.count() != objects.size() || !(horizonS > 0) || pointCount < 1)
        return false;
    const size_t ship = objects.size() - 1;
    const bool haveTarget = targetIndex >= 0 && static_cast<size_t>(targetIndex) < ship;
    path.targetIndex = haveTarget ? targetIndex : -1;
    path.referenceIndex = haveTarget ? targetIndex : primaryBody(objects, ship);
    path.horizonS = horizonS;
    if (path.referenceIndex < 0) return false;
    if (haveTarget) path.targetReferenceIndex = primaryBody(objects, static_cast<size_t>(targetIndex));
    return true;
}

PredictedPath predictTrajectory(PredictionRequest request) {
    PredictedPath path;
    std::vector<SimObject>& objects = request.objects;
    IntegratorState& integrator = request.integrator;
    path.startMissionTimeS = request.startMissionTimeS;
    if (!startPredictedPath(objects, integrator, request.horizonS, request.targetIndex, request.pointCount, path))
        return path;
    const size_t ship = objects.size() - 1;
    const bool haveTarget = path.targetIndex >= 0;
    const size_t ref = static_cast<size_t>(path.referenceIndex);
    // In a crowd of light objects (an asteroid belt) nearly every pair is one of two light ones:
    // leaving those out makes the path many times cheaper. Each light object still feels every
    // heavier body and pulls them and the ship, so the path the ship takes stays the same to well
    // within the step's own error; only two light objects passing close would miss each other's pull.
    if (!request.everyPull) integrator.leaveOutPullsAmongLight(lightObjects(objects));
    const bool haveTargetReference = path.targetReferenceIndex >= 0;

    const size_t points = static_cast<size_t>(request.pointCount) + 1;
    path.timesS.reserve(points);
    path.ship.reserve(points);
    path.reference.reserve(points);
    if (haveTarget) path.target.reserve(points);
    auto sample = [&](double t) {
        path.timesS.push_back(t);
        path.ship.push_back(statePoint(integrator, ship));
        path.reference.push_back(statePoint(integrator, ref));
        if (!haveTarget) return;
        path.target.push_back(statePoint(integrator, static_cast<size_t>(request.targetIndex)));
        if (haveTargetReference)
            path.targetReference.push_back(statePoint(integrator, static_cast<size_t>(path.targetReferenceIndex)));
        const double d = distance(path.ship.back(), path.target.back());
        if (path.closestKm < 0 || d < path.closestKm) {
            path.closestKm = d;
            path.closestTimeS = t;
        }
    };

    const double interval = request.horizonS / request.pointCount;
    sample(0);
    for (int k = 1; k <= request.pointCount; ++k) {
        if (request.cancel && request.cancel->load(std::memory_order_relaxed)) return PredictedPath{};
        const int substeps = substepCount(objects, interval);
        const double h = interval / substeps;
        for (int s = 0; s < substeps; ++s) {
            integrator.step(h, objects);
            readBackAll(integrator, objects);
        }
        sample(interval * k);
        if (!std::isfinite(path.ship.back().x)) break;
    }
    path.valid = true;
    return path;
}
