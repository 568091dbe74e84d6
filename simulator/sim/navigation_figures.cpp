// Navigation figures: relative motion, closest approach (predicted path or straight course) and
// the orbit about the target.
#include "navigation_figures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "trajectory_prediction.h"
#include "two_body_orbit.h"
#include "vec3d.h"

namespace {

// A predicted path is taken as current while the ship's predicted place now is within this share
// of the distance to the target from its real place.
constexpr double kPathAgreement = 0.02;

Vec3d point(const PointKm& p) { return {p.x, p.y, p.z}; }

// The ship relative to the target at the path's time t (linear between samples).
bool relativeOnPath(const PredictedPath& path, double t, Vec3d& out) {
    const std::vector<double>& times = path.timesS;
    if (times.empty() || t < times.front() || t > times.back()) return false;
    size_t k = static_cast<size_t>(std::upper_bound(times.begin(), times.end(), t) - times.begin());
    if (k == 0) k = 1;
    if (k >= times.size()) k = times.size() - 1;
    if (k == 0) {
        out = point(path.ship[0]) - point(path.target[0]);
        return true;
    }
    const double span = times[k] - times[k - 1];
    const double f = span > 0 ? (t - times[k - 1]) / span : 0;
    const Vec3d a = point(path.ship[k - 1]) - point(path.target[k - 1]);
    const Vec3d b = point(path.ship[k]) - point(path.target[k]);
    out = a + (b - a) * f;
    return true;
}

// The closest approach on the rest of the path, from its time elapsedS on. False when the path
// cannot be used now.
bool approachOnPath(const PredictedPath& path, int target, double elapsedS, Vec3d relativeNow,
                    NavigationFigures& f) {
    if (!path.valid || path.targetIndex != target || path.target.size() != path.timesS.size() ||
        path.ship.size() != path.timesS.size() || path.timesS.size() < 2)
        return false;
    Vec3d predicted;
    if (!relativeOnPath(path, elapsedS, predicted)) return false;
    const double d = length(relativeNow);
    if (!(length(predicted - relativeNow) <= kPathAgreement * d)) return false;
    double best = d, bestT = elapsedS;
    size_t bestK = 0;
    for (size_t k = 0; k < path.timesS.size(); ++k) {
        if (path.timesS[k] <= elapsedS) continue;
        const double dk = length(point(path.ship[k]) - point(path.target[k]));
        if (dk < best) best = dk, bestT = path.timesS[k], bestK = k;
    }
    // Still closing at the path's end: the closest approach lies beyond its horizon.
    if (bestK + 1 == path.timesS.size()) return false;
    f.pathAgeS = elapsedS;
    if (bestT > elapsedS) {
        f.approach = ApproachSource::PredictedPath;
        f.closestInS = bestT - elapsedS;
        f.closestCentreKm = best;
    }
    return true;
}

}  // namespace

std::string bodyDisplayName(const SimState& state, int body) {
    if (body < 0 || static_cast<size_t>(body) >= state.configEntries.size()) return {};
    const std::string& entry = state.configEntries[static_cast<size_t>(body)];
    return entry.substr(0, entry.find('.'));
}

NavigationFigures computeNavigationFigures(const SimState& state, int body, const PredictedPath* path) {
    NavigationFigures out;
    if (body < 0 || static_cast<size_t>(body) + 1 >= state.objects.size()) return out;
    out.target = body;
    const SimObject& target = state.objects[static_cast<size_t>(body)];
    const SimObject& ship = state.observer();
    // The ship relative to the target: from the integrator's double state (relative to an origin
    // at the ship, so precise far from the world's origin), else from the float items.
    Vec3d r = widen(ship.positionKm) - widen(target.positionKm);
    Vec3d v = widen(ship.velocityKmPerS) - widen(target.velocityKmPerS);
    const IntegratorState& y = state.integrator;
    if (y.count() == state.objects.size()) {
        const size_t s = state.objects.size() - 1, t = static_cast<size_t>(body);
        auto diff = [&](int j) { return y.rawComponent(j)[s] - y.rawComponent(j)[t]; };
        r = {diff(0), diff(2), diff(4)};
        v = {diff(1), diff(3), diff(5)};
    }
    const double radius = target.equatorialRadiusKm;
    const double d = length(r), speed = length(v);
    out.centreDistanceKm = d;
    out.surfaceDistanceKm = d - radius;
    out.relativeSpeedKmPerS = speed;
    out.closingSpeedKmPerS = d > 0 ? -dot(r, v) / d + 0.0 : 0.0;  // + 0.0: no "-0"

    const bool onPath = path && approachOnPath(*path, body, static_cast<double>(state.missionTimeS) -
                                                                path->startMissionTimeS, r, out);
    if (!onPath && speed > 0 && dot(r, v) < 0) {
        out.approach = ApproachSource::StraightCourse;
        out.closestInS = -dot(r, v) / (speed * speed);
        out.closestCentreKm = length(r + v * out.closestInS);
    }
    out.closestSurfaceKm = out.closestCentreKm - radius;
    if (out.approach == ApproachSource::None) out.closestCentreKm = out.closestSurfaceKm = 0;

    const double mu = kGravityKm3PerKgS2 * static_cast<double>(target.massKg);
    if (!(mu > 0) || !(d > 0)) return out;
    const OrbitElements e = elementsFromState({r, v}, mu);
    if (!e.bound()) return out;
    out.bound = true;
    out.periapsisAltitudeKm = e.periapsisKm() - radius;
    out.apoapsisAltitudeKm = e.apoapsisKm() - radius;
    out.periodS = e.periodS(mu);
    out.inclinationRad = e.inclinationRad;
    return out;
}
