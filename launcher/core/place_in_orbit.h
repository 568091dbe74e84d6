// Placing an object on an orbit given by its elements about a parent: the items the simulator's
// start-up reads (first and second orbital point, and the velocity where the circular set-up from
// two points cannot give the orbit's speed), so that the simulator starts exactly that orbit.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim_object.h"
#include "two_body_orbit.h"

// The body an object is placed about, as the simulator starts it.
struct OrbitParent {
    Vec3d positionKm, velocityKmPerS;
    double massKg = 0;
    double equatorialRadiusKm = 0;
    double tiltRad = 0;
    bool isStar = false;
};

OrbitParent orbitParentOf(const SimObject& parent);

// Ref-No refNo of the list (names in order, Ref-No k is names[k - 1]) as the simulator starts it,
// or nothing with failure saying why (not in the list, unreadable file, set-up stopping above it).
std::optional<OrbitParent> parentAtStart(const std::vector<std::string>& names,
                                         const std::string& dataDirectory, int refNo,
                                         std::string& failure);

// A planet's orbit about a star is measured against the ecliptic, a moon's orbit about any other
// body against that body's equator.
bool measuredAgainstEcliptic(const OrbitParent& parent);
ReferencePlane referencePlaneFor(const OrbitParent& parent);

// The orbit asked for: semi-major axis in km, angles in radians, the start's true anomaly.
struct OrbitRequest {
    OrbitElements elements;
    double objectMassKg = 0;
};

// a from a periapsis altitude above the parent's equatorial radius.
double semiMajorAxisFromPeriapsisAltitude(double periapsisAltitudeKm, double eccentricity,
                                          double parentRadiusKm);

// Why the orbit cannot be placed (eccentricity outside [0, 1), periapsis at or below the parent's
// surface, a massless parent), or nothing.
std::optional<std::string> placementProblem(const OrbitRequest& request, const OrbitParent& parent);

struct OrbitPlacement {
    Vec3d firstPointKm;   // where the object starts: Items 2-4 and 9-11
    Vec3d secondPointKm;  // a point behind it on the orbit: Items 12-14
    // Items 5-7 when the simulator's circular set-up from the two points cannot give this orbit
    // (an eccentric orbit started away from apoapsis, or an object with a mass of its own);
    // nothing when the points alone reproduce it and Items 5-7 stay "na".
    std::optional<Vec3d> velocityKmPerS;
    Vec3d worldVelocityKmPerS;  // the start's velocity in the world frame, given or not
    RelativeState relative;  // the exact state about the parent the elements give
};

// Needs placementProblem() to be empty.
OrbitPlacement placeInOrbit(const OrbitRequest& request, const OrbitParent& parent);

// The item writes (label, value) that put an object file on the placed orbit about Ref-No
// parentRefNo: Items 2-4 and 9-11, 12-14, 5-7 (the velocity, or "na") and 8.
std::vector<std::pair<std::string, std::string>> placementItemWrites(const OrbitPlacement& placement,
                                                                     int parentRefNo);
