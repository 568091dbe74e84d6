// Porkchop grid of Lambert transfers, then differential correction on the integrated path.
#include "transfer_plan.h"

#include <cmath>
#include <cstdio>
#include <numbers>

#include "lambert.h"
#include "planned_path.h"
#include "step_bound.h"

namespace {

constexpr int kDepartureSteps = 48;
constexpr int kFlightTimeSteps = 32;
constexpr int kMaxCorrections = 8;
// Corrections stop when the closest approach is within this part of the wanted altitude.
constexpr double kAltitudeTolerance = 0.005;
// How far back along the incoming conic the aim point is read (well outside the target's pull).
constexpr double kAimBackS = 86400.0;

struct Candidate {
    bool found = false;
    double departS = 0, flightS = 0, cost = 0;
    Vec3d burnWorld;
};

double periodOf(const RelativeState& s, double gm) {
    const OrbitElements e = elementsFromState(s, gm);
    return e.bound() ? e.periodS(gm) : 0;
}

// The departure and arrival on the conic with the least total change of velocity: the burn that
// leaves the ship's orbit plus the capture into a circular orbit at the wanted radius.
Candidate porkchop(const RelativeState& ship, double gm, const RelativeState& target, double gmTarget, double goalRadius,
                   double leadS) {
    const double shipPeriod = periodOf(ship, gm), targetPeriod = periodOf(target, gm);
    double window = shipPeriod > 0 ? shipPeriod : 86400;
    if (shipPeriod > 0 && targetPeriod > 0 && std::abs(1 / shipPeriod - 1 / targetPeriod) > 0) {
        const double synodic = 1 / std::abs(1 / shipPeriod - 1 / targetPeriod);
        if (synodic > window) window = synodic;
    }
    const double a = (length(ship.positionKm) + length(target.positionKm)) / 2;
    const double hohmann = std::numbers::pi * std::sqrt(a * a * a / gm);
    const Vec3d prograde = cross(ship.positionKm, ship.velocityKmPerS);
    Candidate best;
    for (int i = 0; i < kDepartureSteps; ++i) {
        const double depart = leadS + window * i / kDepartureSteps;
        const RelativeState from = propagateKepler(ship, gm, depart);
        for (int j = 0; j < kFlightTimeSteps; ++j) {
            const double flight = hohmann * (0.6 + 1.0 * j / (kFlightTimeSteps - 1));
            const RelativeState to = propagateKepler(target, gm, depart + flight);
            const LambertSolution l = solveLambert(from.positionKm, to.positionKm, flight, gm, prograde);
            if (!l.found) continue;
            const Vec3d burn = l.departureVelocityKmPerS - from.velocityKmPerS;
            const double vInf = length(l.arrivalVelocityKmPerS - to.velocityKmPerS);
            const double capture =
                std::sqrt(vInf * vInf + 2 * gmTarget / goalRadius) - std::sqrt(gmTarget / goalRadius);
            const double cost = length(burn) + capture;
            if (!best.found || cost < best.cost) best = {true, depart, flight, cost, burn};
        }
    }
    return best;
}

}  // namespace

TransferResult planTransfer(TransferRequest request) {
    TransferResult out;
    PlanResult& plan = out.plan;
    std::vector<SimObject>& objects = request.objects;
    const size_t ship = objects.size() - 1;
    const std::string name = request.target >= 0 && static_cast<size_t>(request.target) < request.names.size()
                                 ? request.names[static_cast<size_t>(request.target)]
                                 : "Target";
    if (request.target < 0 || static_cast<size_t>(request.target) >= ship) {
        plan.summary = "No plan: no target";
        return out;
    }
    const size_t target = static_cast<size_t>(request.target);
    const int primary = primaryBody(objects, ship);
    if (primary < 0 || primaryBody(objects, target) != primary) {
        plan.summary = "No plan: " + name + " does not orbit the body the ship orbits";
        return out;
    }
    if (!(request.altitudeKm >= kLowestPlannedAltitudeKm)) {
        plan.summary = "No plan: the chosen altitude is below 1,600 km";
        return out;
    }
    const size_t body = static_cast<size_t>(primary);
    const double gm = pairGm(objects, body, ship);
    const double gmTarget = pairGm(objects, target, ship);
    const double goalRadius = objects[target].equatorialRadiusKm + request.altitudeKm;
    const RelativeState shipNow = relativeState(objects, ship, body);
    const RelativeState targetNow{widen(objects[target].positionKm) - widen(objects[body].positionKm),
                                  widen(objects[target].velocityKmPerS) - widen(objects[body].velocityKmPerS)};
    const Candidate best = porkchop(shipNow, gm, targetNow, gmTarget, goalRadius, request.leadS);
    if (!best.found) {
        plan.summary = "No plan: no transfer to " + name + " in the next window";
        return out;
    }
    const RelativeState atDeparture = propagateKepler(shipNow, gm, best.departS);
    const OrbitalFrame frame = orbitalFrame(atDeparture);
    BurnNode departure{request.nowS + best.departS, plannedDeltaV(frame, best.burnWorld), NodeKind::Fixed, primary};

    // The integrated path's approach for a departure burn (in the orbital frame).
    auto approach = [&](Vec3d planned) {
        PlannedPathRequest r;
        r.objects = objects;
        r.integrator = request.integrator;
        r.nowS = request.nowS;
        BurnNode node = departure;
        node.deltaVKmPerS = planned;
        r.nodes = {node};
        r.horizonS = best.departS + best.flightS * 1.5;
        r.targetIndex = request.target;
        r.cancel = request.cancel;
        return predictPlannedPath(std::move(r));
    };
    PlannedPath path = approach(departure.deltaVKmPerS);
    if (!path.path.valid) {
        plan.summary = "No plan: cancelled";
        return out;
    }
    out.conicClosestAltitudeKm = path.closestAltitudeKm;
    // Newton steps on the two components of the burn square to its direction: the approach's aim
    // point (the impact parameter on the incoming conic about the target, nearly linear in the
    // burn) is driven onto the one whose periapsis lies at the wanted radius, along its present
    // direction.
    const Vec3d along = normalized(departure.deltaVKmPerS);
    Vec3d side1 = normalized(cross(along, Vec3d{0, 0, 1}));
    if (length(side1) < 0.5) side1 = normalized(cross(along, Vec3d{0, 1, 0}));
    const Vec3d side2 = cross(along, side1);
    auto aimOf = [&](const PlannedPath& p) {
        // The impact parameter: the conic's angular momentum over the speed at infinity, in the
        // direction of the position square to the motion far back along the conic.
        const RelativeState& c = p.closestState;
        const double vInf2 = dot(c.velocityKmPerS, c.velocityKmPerS) - 2 * gmTarget / length(c.positionKm);
        const double b = length(cross(c.positionKm, c.velocityKmPerS)) / std::sqrt(std::max(vInf2, 1e-6));
        const RelativeState far = propagateKepler(c, gmTarget, -kAimBackS);
        const Vec3d v = normalized(far.velocityKmPerS);
        return normalized(far.positionKm - v * dot(far.positionKm, v)) * b;
    };
    for (int k = 0; k < kMaxCorrections; ++k) {
        if (std::abs(path.closestAltitudeKm - request.altitudeKm) < kAltitudeTolerance * request.altitudeKm) break;
        const Vec3d aim = aimOf(path);
        const RelativeState& c = path.closestState;
        const double vInf2 = std::max(1e-6, dot(c.velocityKmPerS, c.velocityKmPerS) - 2 * gmTarget / length(c.positionKm));
        const double wantedB = goalRadius * std::sqrt(1 + 2 * gmTarget / (goalRadius * vInf2));
        Vec3d dir = normalized(aim);
        if (length(dir) < 0.5) dir = side1;
        const Vec3d axis2 = normalized(cross(normalized(c.velocityKmPerS), dir));
        const Vec3d goal = dir * wantedB;
        auto missOf = [&](const PlannedPath& p) {
            const Vec3d d = aimOf(p) - goal;
            return std::pair<double, double>{dot(d, dir), dot(d, axis2)};
        };
        const auto miss = missOf(path);
        const double h = 1e-4;
        const PlannedPath p1 = approach(departure.deltaVKmPerS + side1 * h);
        const PlannedPath p2 = approach(departure.deltaVKmPerS + side2 * h);
        if (!p1.path.valid || !p2.path.valid) {
            plan.summary = "No plan: cancelled";
            return out;
        }
        const auto m1 = missOf(p1), m2 = missOf(p2);
        const double j11 = (m1.first - miss.first) / h, j21 = (m1.second - miss.second) / h;
        const double j12 = (m2.first - miss.first) / h, j22 = (m2.second - miss.second) / h;
        const double det = j11 * j22 - j12 * j21;
        if (!(std::abs(det) > 0)) break;
        double a = -(j22 * miss.first - j12 * miss.second) / det;
        double b = -(-j21 * miss.first + j11 * miss.second) / det;
        // Steps kept small against the burn: far from the answer the linear model misleads.
        const double limit = 0.05 * length(departure.deltaVKmPerS);
        const double size = std::hypot(a, b);
        if (size > limit) a *= limit / size, b *= limit / size;
        departure.deltaVKmPerS += side1 * a + side2 * b;
        path = approach(departure.deltaVKmPerS);
        ++out.corrections;
        if (!path.path.valid) {
            plan.summary = "No plan: cancelled";
            return out;
        }
    }
    out.plannedClosestAltitudeKm = path.closestAltitudeKm;
    // Capture at the closest approach: circular about the target there.
    BurnNode arrival{request.nowS + path.closestTimeS, {}, NodeKind::Circularise, request.target};
    const Vec3d captureWorld = nodeDeltaV(arrival, path.closestState, gmTarget);
    arrival.deltaVKmPerS = plannedDeltaV(orbitalFrame(path.closestState), captureWorld);
    const double departDv = length(departure.deltaVKmPerS), captureDv = length(captureWorld);
    plan.found = true;
    plan.nodes = {departure, arrival};
    plan.totalDeltaVKmPerS = departDv + captureDv;
    char text[256];
    std::snprintf(text, sizeof text, "%s: depart in %s, %.2f km/s, arrive in %s, capture %.2f km/s (closest %.0f km)",
                  name.c_str(), spanText(best.departS).c_str(), departDv, spanText(path.closestTimeS).c_str(),
                  captureDv, path.closestAltitudeKm);
    plan.summary = std::string(text) + burnShortfall(objects[ship], plan.totalDeltaVKmPerS, objects[ship].energyKJ);
    return out;
}
