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

int dominantBody(const std::vector<SimObject>& objects, size_t i) {
    if (i >= objects.size()) return -1;
    int best = -1;
    double strongest = -1;
    const Vec3f p = objects[i].positionKm;
    for (size_t k = 0; k + 1 < objects.size(); ++k) {
        if (k == i) continue;
        const Vec3f q = objects[k].positionKm;
        const double dx = double(q.x) - p.x, dy = double(q.y) - p.y, dz = double(q.z) - p.z;
        const double r2 = dx * dx + dy * dy + dz * dz;
        if (r2 == 0) continue;
        const double pull = objects[k].massKg / r2;
        if (pull > strongest) {
            strongest = pull;
            best = static_cast<int>(k);
        }
    }
    return best;
}

PredictedPath predictTrajectory(PredictionRequest request) {
    PredictedPath path;
    std::vector<SimObject>& objects = request.objects;
    IntegratorState& integrator = request.integrator;
    if (objects.size() < 2 || integrator.count() != objects.size() || !(request.horizonS > 0) ||
        request.pointCount < 1)
        return path;
    const size_t ship = objects.size() - 1;
    const bool haveTarget = request.targetIndex >= 0 && static_cast<size_t>(request.targetIndex) < ship;
    path.targetIndex = haveTarget ? request.targetIndex : -1;
    path.referenceIndex = haveTarget ? request.targetIndex : dominantBody(objects, ship);
    path.horizonS = request.horizonS;
    if (path.referenceIndex < 0) return path;
    const size_t ref = static_cast<size_t>(path.referenceIndex);

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
        const double d = distance(path.ship.back(), path.target.back());
        if (path.closestKm < 0 || d < path.closestKm) {
            path.closestKm = d;
            path.closestTimeS = t;
        }
    };

    const double interval = request.horizonS / request.pointCount;
    sample(0);
    for (int k = 1; k <= request.pointCount; ++k) {
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
