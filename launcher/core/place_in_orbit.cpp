// The elements turned into orbital points, checked against the simulator's own set-up.
#include "place_in_orbit.h"

#include <algorithm>
#include <cmath>

#include "float_format.h"
#include "integrator.h"
#include "object_wizard_values.h"
#include "orbit_init.h"
#include "starting_state.h"

namespace {

// The point-only set-up must agree with the elements' velocity to this fraction of the speed;
// single-precision rounding of the items stays far below it.
constexpr double kSameVelocityFraction = 2e-6;

bool given(float value) { return value != kNaFloat && std::isfinite(value); }

// A value as the wizard writes it ("%14.7e") and the simulator reads it back.
float asWritten(double value) { return parseLeadingFloat(wizardNumber(value)); }
Vec3f asWritten(Vec3d v) { return {asWritten(v.x), asWritten(v.y), asWritten(v.z)}; }

// The velocity the simulator's set-up gives the object from the two points, or nothing when it
// would stop.
std::optional<Vec3d> pointSetupVelocity(const OrbitParent& parent, Vec3d first, Vec3d second) {
    SimObject b;
    b.positionKm = asWritten(parent.positionKm);
    b.velocityKmPerS = asWritten(parent.velocityKmPerS);
    b.massKg = asWritten(parent.massKg);
    SimObject a;
    a.orbitalPosition1Km = asWritten(first);
    a.orbitalPosition2Km = asWritten(second);
    std::string reason;
    std::optional<Vec3f> v = orbitalVelocity(a, b, reason);
    if (!v) return std::nullopt;
    return widen(*v);
}

}  // namespace

OrbitParent orbitParentOf(const SimObject& o) {
    OrbitParent p;
    p.positionKm = widen(o.positionKm);
    p.velocityKmPerS = given(o.velocityKmPerS.x) && given(o.velocityKmPerS.y) && given(o.velocityKmPerS.z)
                           ? widen(o.velocityKmPerS)
                           : Vec3d{};
    p.massKg = given(o.massKg) ? o.massKg : 0.0;
    p.equatorialRadiusKm = given(o.equatorialRadiusKm) ? o.equatorialRadiusKm : 0.0;
    p.tiltRad = given(o.tiltRad) ? o.tiltRad : 0.0;
    p.isStar = o.isStar == 1;
    return p;
}

std::optional<OrbitParent> parentAtStart(const std::vector<std::string>& names,
                                         const std::string& dataDirectory, int refNo,
                                         std::string& failure) {
    if (refNo < 1 || static_cast<size_t>(refNo) > names.size()) {
        failure = "Ref-No " + std::to_string(refNo) + " is not in the 'Selected objects'-list.";
        return std::nullopt;
    }
    std::string unreadable;
    std::optional<std::vector<SimObject>> objects = readListObjects(
        std::vector<std::string>(names.begin(), names.begin() + refNo), dataDirectory, unreadable);
    if (!objects) {
        failure = "the file " + unreadable + " cannot be read.";
        return std::nullopt;
    }
    const StartingState state = startingState(std::move(*objects));
    if (static_cast<size_t>(refNo) > state.finalCount) {
        failure = "the simulator will stop at the start: " + state.setupFailure;
        return std::nullopt;
    }
    return orbitParentOf(state.objects[static_cast<size_t>(refNo) - 1]);
}

bool measuredAgainstEcliptic(const OrbitParent& parent) { return parent.isStar; }

ReferencePlane referencePlaneFor(const OrbitParent& parent) {
    return measuredAgainstEcliptic(parent) ? eclipticPlane() : equatorPlaneOfPole(bodyPoleWorld(parent.tiltRad));
}

double semiMajorAxisFromPeriapsisAltitude(double periapsisAltitudeKm, double eccentricity,
                                          double parentRadiusKm) {
    return (parentRadiusKm + periapsisAltitudeKm) / (1 - eccentricity);
}

std::optional<std::string> placementProblem(const OrbitRequest& request, const OrbitParent& parent) {
    const OrbitElements& e = request.elements;
    if (!(e.eccentricity >= 0 && e.eccentricity < 1))
        return "the eccentricity must be at least 0 and below 1.";
    if (!(e.semiMajorAxisKm > 0) || !std::isfinite(e.semiMajorAxisKm))
        return "the semi-major axis must be a positive distance.";
    if (!(parent.massKg > 0)) return "the object to be orbited has no mass.";
    if (!(request.objectMassKg >= 0)) return "the object's mass is negative.";
    if (e.periapsisKm() <= parent.equatorialRadiusKm)
        return "the periapsis lies at or below the surface of the object to be orbited.";
    for (double angle : {e.inclinationRad, e.ascendingNodeRad, e.argumentOfPeriapsisRad, e.trueAnomalyRad})
        if (!std::isfinite(angle)) return "an angle is not a number.";
    return std::nullopt;
}

OrbitPlacement placeInOrbit(const OrbitRequest& request, const OrbitParent& parent) {
    OrbitPlacement out;
    const double gm = kGravityKm3PerKgS2 * (parent.massKg + request.objectMassKg);
    out.relative = stateFromElements(request.elements, gm, referencePlaneFor(parent));
    const Vec3d r = out.relative.positionKm;
    const Vec3d v = out.relative.velocityKmPerS;
    const double distance = length(r);
    const double speed = length(v);
    out.firstPointKm = parent.positionKm + r;

    // The simulator's set-up moves the object on from P1 perpendicular to it, away from P2, at
    // the circular speed about the parent's mass alone times the sine of the angle between the
    // points. Where the velocity is perpendicular to the radius and no faster than that circular
    // speed, a second point at the matching angle behind reproduces it.
    const Vec3d ahead = normalized(v - normalized(r) * dot(normalized(r), v));
    const double circular = std::sqrt(kGravityKm3PerKgS2 * parent.massKg / distance);
    const double sine = std::min(1.0, length(v - normalized(r) * dot(normalized(r), v)) / circular);
    const double cosine = std::sqrt(1 - sine * sine);
    out.secondPointKm = parent.positionKm + (normalized(r) * cosine - ahead * sine) * distance;

    const Vec3d wanted = parent.velocityKmPerS + v;
    out.worldVelocityKmPerS = wanted;
    std::optional<Vec3d> fromPoints = pointSetupVelocity(parent, out.firstPointKm, out.secondPointKm);
    if (!fromPoints || length(*fromPoints - widen(asWritten(wanted))) > kSameVelocityFraction * speed)
        out.velocityKmPerS = wanted;
    return out;
}

std::vector<std::pair<std::string, std::string>> placementItemWrites(const OrbitPlacement& placement,
                                                                     int parentRefNo) {
    std::vector<std::pair<std::string, std::string>> writes;
    auto put = [&](int item, const std::string& value) {
        writes.emplace_back("Item " + std::to_string(item) + ".", value);
    };
    auto putVector = [&](int firstItem, Vec3d v) {
        put(firstItem, wizardNumber(v.x));
        put(firstItem + 1, wizardNumber(v.y));
        put(firstItem + 2, wizardNumber(v.z));
    };
    putVector(2, placement.firstPointKm);
    putVector(9, placement.firstPointKm);
    putVector(12, placement.secondPointKm);
    if (placement.velocityKmPerS) {
        putVector(5, *placement.velocityKmPerS);
    } else {
        for (int item : {5, 6, 7}) put(item, "na");
    }
    put(8, std::to_string(parentRefNo));
    return writes;
}
