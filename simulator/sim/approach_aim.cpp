// Newton steps on the impact parameter of the approach.
#include "approach_aim.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

constexpr int kMaxCorrections = 8;
// Corrections stop when the closest approach is within this part of the wanted altitude.
constexpr double kAltitudeTolerance = 0.005;
// How far back along the incoming conic the aim point is read (well outside the target's pull).
constexpr double kAimBackS = 86400.0;
// Finite difference of the burn for the slopes (km/s).
constexpr double kSlopeStepKmPerS = 1e-4;
// Steps kept small against the burn (far from the answer the linear model misleads), and at least
// this large for a burn that starts from nothing.
constexpr double kStepLimitFraction = 0.05;
constexpr double kSmallestStepLimitKmPerS = 0.02;

// The impact parameter: the conic's angular momentum over the speed at infinity, in the direction
// of the position square to the motion far back along the conic.
Vec3d aimPoint(const PlannedPath& p, double gmTarget) {
    const RelativeState& c = p.closestState;
    const double vInf2 = dot(c.velocityKmPerS, c.velocityKmPerS) - 2 * gmTarget / length(c.positionKm);
    const double b = length(cross(c.positionKm, c.velocityKmPerS)) / std::sqrt(std::max(vInf2, 1e-6));
    const RelativeState far = propagateKepler(c, gmTarget, -kAimBackS);
    const Vec3d v = normalized(far.velocityKmPerS);
    return normalized(far.positionKm - v * dot(far.positionKm, v)) * b;
}

}  // namespace

AimResult aimAtAltitude(const AimRequest& request) {
    AimResult out;
    const size_t target = static_cast<size_t>(request.target);
    const size_t ship = request.objects.size() - 1;
    const double gmTarget = pairGm(request.objects, target, ship);
    const double goalRadius = request.objects[target].equatorialRadiusKm + request.altitudeKm;
    BurnNode node = request.node;
    auto pathWith = [&](Vec3d planned) {
        PlannedPathRequest r;
        r.objects = request.objects;
        r.integrator = request.integrator;
        r.nowS = request.nowS;
        r.nodes = {node};
        r.nodes[0].deltaVKmPerS = planned;
        r.horizonS = request.horizonS;
        r.targetIndex = request.target;
        r.cancel = request.cancel;
        return predictPlannedPath(std::move(r));
    };
    PlannedPath path = pathWith(node.deltaVKmPerS);
    if (!path.path.valid) return out;
    out.firstClosestAltitudeKm = path.closestAltitudeKm;
    const double limit = std::max(kStepLimitFraction * length(node.deltaVKmPerS), kSmallestStepLimitKmPerS);
    // The directions the burn is changed along (in the orbital frame's coordinates): for a burn
    // that starts from nothing (a correction), all three; for a departure, the two square to it
    // (its size moves the flight time, to which a far target's approach is not linear enough).
    std::vector<Vec3d> axes = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    if (length(node.deltaVKmPerS) > 0) {
        const Vec3d along = normalized(node.deltaVKmPerS);
        Vec3d side1 = normalized(cross(along, Vec3d{0, 0, 1}));
        if (length(side1) < 0.5) side1 = normalized(cross(along, Vec3d{0, 1, 0}));
        axes = {side1, cross(along, side1)};
    }
    for (int k = 0; k < kMaxCorrections; ++k) {
        if (std::abs(path.closestAltitudeKm - request.altitudeKm) < kAltitudeTolerance * request.altitudeKm) break;
        // The aim point (nearly linear in the burn) is driven onto the one whose periapsis lies at
        // the wanted radius, along its present direction.
        const Vec3d aim = aimPoint(path, gmTarget);
        const RelativeState& c = path.closestState;
        const double vInf2 =
            std::max(1e-6, dot(c.velocityKmPerS, c.velocityKmPerS) - 2 * gmTarget / length(c.positionKm));
        const double wantedB = goalRadius * std::sqrt(1 + 2 * gmTarget / (goalRadius * vInf2));
        Vec3d dir = normalized(aim);
        if (length(dir) < 0.5) dir = normalized(cross(normalized(c.velocityKmPerS), Vec3d{0, 0, 1}));
        const Vec3d axis2 = normalized(cross(normalized(c.velocityKmPerS), dir));
        const Vec3d goal = dir * wantedB;
        auto missOf = [&](const PlannedPath& p) {
            const Vec3d d = aimPoint(p, gmTarget) - goal;
            return std::pair<double, double>{dot(d, dir), dot(d, axis2)};
        };
        const auto miss = missOf(path);
        // The slopes of the two misses along the axes, and the smallest change of the burn that
        // the linear model says removes both: J^T (J J^T)^-1 (-miss).
        std::vector<std::pair<double, double>> slopes;
        for (const Vec3d& axis : axes) {
            const PlannedPath nudged = pathWith(node.deltaVKmPerS + axis * kSlopeStepKmPerS);
            if (!nudged.path.valid) return out;
            const auto m = missOf(nudged);
            slopes.push_back({(m.first - miss.first) / kSlopeStepKmPerS, (m.second - miss.second) / kSlopeStepKmPerS});
        }
        double a00 = 0, a01 = 0, a11 = 0;
        for (const auto& [j0, j1] : slopes) a00 += j0 * j0, a01 += j0 * j1, a11 += j1 * j1;
        const double det = a00 * a11 - a01 * a01;
        if (!(std::abs(det) > 0)) break;
        const double y0 = (-a11 * miss.first + a01 * miss.second) / det;
        const double y1 = (a01 * miss.first - a00 * miss.second) / det;
        Vec3d change;
        for (size_t i = 0; i < axes.size(); ++i) change += axes[i] * (slopes[i].first * y0 + slopes[i].second * y1);
        if (length(change) > limit) change = change * (limit / length(change));
        node.deltaVKmPerS += change;
        path = pathWith(node.deltaVKmPerS);
        ++out.corrections;
        if (!path.path.valid) return out;
    }
    out.valid = true;
    out.node = node;
    out.path = std::move(path);
    return out;
}
