// Two-body (Kepler) orbits: classical elements from a relative state and a relative state from
// elements. Positions in km, velocities in km/s, gm = G (M + m) in km^3/s^2, angles in radians.
// States are in the world frame (left-handed: x towards 18 h, z towards 0 h, y the celestial north
// pole). Elements are measured against a reference plane: by default the celestial equator with
// the node longitude counted from 0 h, eastward; a prograde (eastward) orbit has an inclination
// below 90 degrees.
#pragma once

#include "vec3d.h"

struct OrbitElements {
    double semiMajorAxisKm = 0;         // negative for a hyperbola; infinite for a parabola
    double eccentricity = 0;
    double inclinationRad = 0;          // 0..pi
    double ascendingNodeRad = 0;        // longitude of the ascending node, 0..2pi
    double argumentOfPeriapsisRad = 0;  // from the ascending node, 0..2pi
    double trueAnomalyRad = 0;          // from periapsis, -pi..pi

    bool bound() const { return eccentricity < 1 && semiMajorAxisKm > 0; }
    double periapsisKm() const;         // distance from the primary's centre
    double apoapsisKm() const;          // infinite when unbound
    double periodS(double gmKm3PerS2) const;  // 0 when unbound
};

struct RelativeState {
    Vec3d positionKm;
    Vec3d velocityKmPerS;
};

// The plane elements are measured against: its north pole and the direction in it from which the
// node longitude is counted, both unit vectors in the world frame and perpendicular.
struct ReferencePlane {
    Vec3d northWorld{0, 1, 0};
    Vec3d zeroDirectionWorld{0, 0, 1};
};

ReferencePlane celestialEquatorPlane();
// The ecliptic of J2000 (obliquity 23.4392911 degrees), nodes counted from the vernal equinox.
ReferencePlane eclipticPlane();
// The equator of a body whose north pole points along poleWorld; nodes counted from the
// ascending node of that equator on the celestial equator (0 h when the two coincide).
ReferencePlane equatorPlaneOfPole(Vec3d poleWorld);

// Elements of a relative state. Degenerate cases: a circular orbit counts its anomaly from the
// ascending node (argument of periapsis 0); an orbit in the reference plane counts from the zero
// direction (node 0). A zero position or angular momentum gives eccentricity 1.
OrbitElements elementsFromState(const RelativeState& state, double gmKm3PerS2,
                                const ReferencePlane& plane = {});

// The relative state at the elements' true anomaly. Needs eccentricity >= 0, gm > 0, and a
// semi-major axis whose sign matches the eccentricity (positive below 1, negative above).
RelativeState stateFromElements(const OrbitElements& elements, double gmKm3PerS2,
                                const ReferencePlane& plane = {});

// Stumpff functions C(z) and S(z) of the universal-variable formulation (Kepler and Lambert).
double stumpffC(double z);
double stumpffS(double z);

// The relative state dtS seconds later on the two-body orbit through state (universal variables;
// any conic, dtS of either sign). A state without a position is returned unchanged.
RelativeState propagateKepler(const RelativeState& state, double gmKm3PerS2, double dtS);
