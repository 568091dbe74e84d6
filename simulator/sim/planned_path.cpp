// Integration with instant burns at the nodes' times.
#include "planned_path.h"

#include <cmath>
#include <limits>

#include "sim_state.h"
#include "step_bound.h"
#include "two_body_orbit.h"

namespace {

PointKm point(const IntegratorState& s, size_t i) { return {s.readBack(i, 0), s.readBack(i, 2), s.readBack(i, 4)}; }
Vec3d position(const IntegratorState& s, size_t i) { return {s.readBack(i, 0), s.readBack(i, 2), s.readBack(i, 4)}; }
Vec3d velocity(const IntegratorState& s, size_t i) { return {s.readBack(i, 1), s.readBack(i, 3), s.readBack(i, 5)}; }

void readBackAll(const IntegratorState& s, std::vector<SimObject>& objects) {
    for (size_t i = 0; i < objects.size(); ++i) {
        auto item = [&](int j) { return static_cast<float>(s.readBack(i, j)); };
        objects[i].positionKm = {item(0), item(2), item(4)};
        objects[i].velocityKmPerS = {item(1), item(3), item(5)};
    }
}

// Adds dv to the ship's velocity in the integrator's exact state.
void addShipVelocity(IntegratorState& s, const std::vector<SimObject>& objects, Vec3d dv) {
    const size_t n = s.count(), ship = n - 1;
    std::vector<double> raw(6 * n);
    for (int j = 0; j < 6; ++j)
        for (size_t i = 0; i < n; ++i) raw[static_cast<size_t>(j) * n + i] = s.rawComponent(j)[i];
    raw[1 * n + ship] += dv.x;
    raw[3 * n + ship] += dv.y;
    raw[5 * n + ship] += dv.z;
    s.restoreRaw(objects, s.origin, raw);
}

double bodyGm(const std::vector<SimObject>& objects, size_t body) {
    return pairGm(objects, body, objects.size() - 1);
}

PathOrbit orbitAbout(const IntegratorState& s, const std::vector<SimObject>& objects, size_t body) {
    PathOrbit o;
    const size_t ship = objects.size() - 1;
    const RelativeState rel{position(s, ship) - position(s, body), velocity(s, ship) - velocity(s, body)};
    const double gm = bodyGm(objects, body);
    const SimObject& b = objects[body];
    const OrbitElements e = elementsFromState(rel, gm);
    if (!e.bound()) return o;
    o.known = true;
    o.body = static_cast<int>(body);
    o.periapsisAltitudeKm = e.periapsisKm() - b.equatorialRadiusKm;
    o.apoapsisAltitudeKm = e.apoapsisKm() - b.equatorialRadiusKm;
    o.inclinationRad = e.inclinationRad;
    o.periodS = e.periodS(gm);
    o.eccentricity = e.eccentricity;
    return o;
}

}  // namespace

Vec3d nodeDeltaV(const BurnNode& node, const RelativeState& at, double gm) {
    if (node.kind == NodeKind::Circularise) {
        const Vec3d rHat = normalized(at.positionKm);
        const Vec3d horizontal = normalized(at.velocityKmPerS - rHat * dot(at.velocityKmPerS, rHat));
        return horizontal * std::sqrt(gm / length(at.positionKm)) - at.velocityKmPerS;
    }
    return worldDeltaV(orbitalFrame(at), node.deltaVKmPerS);
}

PlannedPath predictPlannedPath(PlannedPathRequest request) {
    PlannedPath result;
    result.requestS = request.nowS;
    PredictedPath& path = result.path;
    std::vector<SimObject>& objects = request.objects;
    IntegratorState& integrator = request.integrator;
    if (!startPredictedPath(objects, integrator, request.horizonS, request.targetIndex, request.pointCount, path))
        return result;
    const size_t ship = objects.size() - 1;
    // As the trajectory prediction does: the pulls between two light objects (an asteroid belt) are
    // left out, which changes the ship's path far less than a step's own error.
    integrator.leaveOutPullsAmongLight(lightObjects(objects));
    const bool haveTarget = path.targetIndex >= 0;
    const size_t ref = static_cast<size_t>(path.referenceIndex);
    const size_t target = haveTarget ? static_cast<size_t>(request.targetIndex) : 0;

    size_t nextNode = 0;
    while (nextNode < request.nodes.size() && request.nodes[nextNode].timeS < request.nowS) ++nextNode;
    // The approach the plan aims for: from the first burn (the departure) to the capture, a burn
    // that makes the orbit about the target circular; the orbit after the capture is no approach.
    // When the capture is the next burn, the approach runs from now to it.
    double approachStartS = 0, approachEndS = std::numeric_limits<double>::infinity();
    auto isCapture = [&](const BurnNode& node) {
        return haveTarget && node.kind == NodeKind::Circularise && node.primary == request.targetIndex;
    };
    for (size_t i = nextNode; i < request.nodes.size(); ++i) {
        const double at = request.nodes[i].timeS - request.nowS;
        if (i == nextNode && !isCapture(request.nodes[i])) approachStartS = at;
        if (isCapture(request.nodes[i])) {
            approachEndS = at;
            break;
        }
    }
    double closest = -1;
    auto sample = [&](double t) {
        path.timesS.push_back(t);
        path.ship.push_back(point(integrator, ship));
        path.reference.push_back(point(integrator, ref));
        if (!haveTarget) return;
        path.target.push_back(point(integrator, target));
        if (path.targetReferenceIndex >= 0)
            path.targetReference.push_back(point(integrator, static_cast<size_t>(path.targetReferenceIndex)));
        if (t < approachStartS || t > approachEndS) return;
        const RelativeState rel{position(integrator, ship) - position(integrator, target),
                                velocity(integrator, ship) - velocity(integrator, target)};
        const double d = length(rel.positionKm);
        if (closest < 0 || d < closest) {
            closest = d;
            result.closestTimeS = t;
            result.closestState = rel;
        }
    };
    // Steps of at most h, split exactly at each burn.
    auto advance = [&](double from, double span) {
        double t = from;
        const double end = from + span;
        const int substeps = substepCount(objects, span);
        const double h = span / substeps;
        for (int s = 0; s < substeps; ++s) {
            double stepEnd = s + 1 == substeps ? end : from + h * (s + 1);
            while (nextNode < request.nodes.size() && request.nodes[nextNode].timeS - request.nowS <= stepEnd) {
                const BurnNode& node = request.nodes[nextNode];
                const double at = node.timeS - request.nowS;
                if (at > t) {
                    integrator.step(at - t, objects);
                    readBackAll(integrator, objects);
                    t = at;
                }
                Vec3d dv;
                if (node.primary >= 0 && static_cast<size_t>(node.primary) < ship) {
                    const size_t body = static_cast<size_t>(node.primary);
                    const RelativeState rel{position(integrator, ship) - position(integrator, body),
                                            velocity(integrator, ship) - velocity(integrator, body)};
                    dv = nodeDeltaV(node, rel, bodyGm(objects, body));
                }
                result.burnsWorld.push_back(dv);
                addShipVelocity(integrator, objects, dv);
                ++nextNode;
            }
            if (stepEnd > t) {
                integrator.step(stepEnd - t, objects);
                readBackAll(integrator, objects);
            }
            t = stepEnd;
        }
    };

    const double interval = request.horizonS / request.pointCount;
    sample(0);
    for (int k = 1; k <= request.pointCount; ++k) {
        if (request.cancel && request.cancel->load(std::memory_order_relaxed)) return PlannedPath{};
        advance(interval * (k - 1), interval);
        sample(interval * k);
        if (!std::isfinite(path.ship.back().x)) break;
    }
    path.valid = true;
    if (haveTarget && closest >= 0) {
        // Between samples: the periapsis of the conic about the target near the closest sample,
        // found by Newton steps on r.v = 0.
        const double gm = bodyGm(objects, target);
        RelativeState s = result.closestState;
        double dt = 0;
        for (int i = 0; i < 12; ++i) {
            const double r = length(s.positionKm);
            const double slope = dot(s.velocityKmPerS, s.velocityKmPerS) - gm / r;
            if (!(std::abs(slope) > 0)) break;
            const double step = -dot(s.positionKm, s.velocityKmPerS) / slope;
            dt += step;
            s = propagateKepler(result.closestState, gm, dt);
            if (std::abs(step) < 1e-6) break;
        }
        if (std::abs(dt) < 1.5 * interval && length(s.positionKm) < closest) {
            closest = length(s.positionKm);
            result.closestTimeS += dt;
            result.closestState = s;
        }
        result.closestAltitudeKm = closest - objects[target].equatorialRadiusKm;
        path.closestKm = closest;
        path.closestTimeS = result.closestTimeS;
    }
    if (haveTarget) result.finalOrbit = orbitAbout(integrator, objects, target);
    if (!result.finalOrbit.known) {
        const int primary = primaryBody(objects, ship);
        if (primary >= 0) result.finalOrbit = orbitAbout(integrator, objects, static_cast<size_t>(primary));
    }
    return result;
}

PlannedPathRequest plannedPathRequest(const SimState& state, const std::vector<BurnNode>& nodes, double horizonS,
                                      int targetIndex) {
    PlannedPathRequest r;
    r.objects = state.objects;
    r.integrator = state.integrator;
    r.nowS = state.missionTimeS;
    r.nodes = nodes;
    r.horizonS = horizonS;
    r.targetIndex = targetIndex;
    return r;
}
