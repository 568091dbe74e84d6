// Porkchop grid of Lambert transfers, then differential correction on the integrated path.
#include "transfer_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "approach_aim.h"
#include "lambert.h"
#include "planned_path.h"
#include "step_bound.h"

namespace {

constexpr int kDepartureSteps = 48;
constexpr int kFlightTimeSteps = 32;
// The mid-course corrections: this part of the flight after the departure, and two before the
// arrival.
constexpr double kEarlyCorrection = 1.0 / 16.0;
constexpr double kLateCorrection = 1.0 / 5.0;
constexpr double kLastCorrection = 1.0 / 20.0;
// A correction's paths run this many times as long as from now to the arrival.
constexpr double kCorrectionHorizon = 1.5;

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

    AimRequest aim;
    aim.objects = objects;
    aim.integrator = request.integrator;
    aim.nowS = request.nowS;
    aim.node = departure;
    aim.target = request.target;
    aim.altitudeKm = request.altitudeKm;
    aim.horizonS = best.departS + best.flightS * 1.5;
    aim.cancel = request.cancel;
    AimResult aimed = aimAtAltitude(aim);
    if (!aimed.valid) {
        plan.summary = "No plan: cancelled";
        return out;
    }
    out.conicClosestAltitudeKm = aimed.firstClosestAltitudeKm;
    out.corrections = aimed.corrections;
    departure = aimed.node;
    const PlannedPath& path = aimed.path;
    out.plannedClosestAltitudeKm = path.closestAltitudeKm;
    // Capture at the closest approach: circular about the target there.
    BurnNode arrival{request.nowS + path.closestTimeS, {}, NodeKind::Circularise, request.target};
    const Vec3d captureWorld = nodeDeltaV(arrival, path.closestState, gmTarget);
    arrival.deltaVKmPerS = plannedDeltaV(orbitalFrame(path.closestState), captureWorld);
    const double departDv = length(departure.deltaVKmPerS), captureDv = length(captureWorld);
    plan.found = true;
    // Mid-course corrections, worked out from the ship's real path when they come due: one early
    // (most of the departure's error, while it costs little), two late (what the one before left:
    // a burn's last frame misses by up to half of one thrust level step's push).
    const double flightS = path.closestTimeS - best.departS;
    BurnNode early{departure.timeS + flightS * kEarlyCorrection, {}, NodeKind::Correction, primary};
    BurnNode late{arrival.timeS - flightS * kLateCorrection, {}, NodeKind::Correction, primary};
    BurnNode last{arrival.timeS - flightS * kLastCorrection, {}, NodeKind::Correction, primary};
    plan.nodes = {departure, early, late, last, arrival};
    plan.totalDeltaVKmPerS = departDv + captureDv;
    char text[256];
    std::snprintf(text, sizeof text, "%s: depart in %s, %.2f km/s, arrive in %s, capture %.2f km/s (closest %.0f km)",
                  name.c_str(), spanText(best.departS).c_str(), departDv, spanText(path.closestTimeS).c_str(),
                  captureDv, path.closestAltitudeKm);
    plan.summary = std::string(text) + planShortfall(objects[ship], plan.nodes, request.nowS, objects[ship].energyKJ);
    return out;
}

CorrectionResult planCorrection(CorrectionRequest request) {
    CorrectionResult out;
    const size_t ship = request.objects.size() - 1;
    if (request.target < 0 || static_cast<size_t>(request.target) >= ship) {
        out.summary = "No correction: no target";
        return out;
    }
    AimRequest aim;
    aim.node = request.node;
    aim.node.kind = NodeKind::Fixed;
    aim.node.deltaVKmPerS = {};
    aim.node.primary = primaryBody(request.objects, ship);
    aim.objects = std::move(request.objects);
    aim.integrator = std::move(request.integrator);
    aim.nowS = request.nowS;
    aim.target = request.target;
    aim.altitudeKm = request.altitudeKm;
    aim.horizonS = std::max(request.arrivalS, request.node.timeS) - request.nowS;
    aim.horizonS *= kCorrectionHorizon;
    aim.cancel = request.cancel;
    const AimResult aimed = aimAtAltitude(aim);
    if (!aimed.valid) {
        out.summary = "No correction: cancelled";
        return out;
    }
    out.found = true;
    out.node = aimed.node;
    out.uncorrectedClosestAltitudeKm = aimed.firstClosestAltitudeKm;
    out.closestAltitudeKm = aimed.path.closestAltitudeKm;
    out.arrivalS = request.nowS + aimed.path.closestTimeS;
    char text[200];
    if (aimed.corrections == 0)
        std::snprintf(text, sizeof text, "Correction: none needed, closest %.0f km", out.closestAltitudeKm);
    else
        std::snprintf(text, sizeof text, "Correction: %.1f m/s, closest %.0f km (was %.0f km)",
                      length(out.node.deltaVKmPerS) * 1000, out.closestAltitudeKm, out.uncorrectedClosestAltitudeKm);
    out.summary = text;
    return out;
}
