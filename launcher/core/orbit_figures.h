// The orbit an object starts on, as a user reads it: the two-body elements of its position and
// velocity relative to the object it orbits. World frame: km, km/s, +y the celestial north pole,
// so the reference plane is the x-z plane.
#pragma once

#include "vec3d.h"

struct OrbitFigures {
    bool bound = false;            // total two-body energy below zero
    double semiMajorAxisKm = 0;    // negative for an unbound (hyperbolic) path
    double eccentricity = 0;
    double inclinationDeg = 0;     // to the x-z plane; above 90 for a retrograde orbit
    double periodS = 0;            // 0 when unbound
    double periapsisKm = 0;        // closest distance from the primary's centre
    double apoapsisKm = 0;         // farthest distance; 0 when unbound
    double primaryRadiusKm = 0;    // equatorial radius the altitudes are measured from
    double distanceKm = 0;         // at the start
    double speedKmPerS = 0;        // relative to the primary, at the start
    bool approaching = false;      // moving towards the primary at the start

    double periapsisAltitudeKm() const { return periapsisKm - primaryRadiusKm; }
    double apoapsisAltitudeKm() const { return apoapsisKm - primaryRadiusKm; }
};

// Elements of a relative state under gm = G (M + m), in km^3/s^2. A zero distance or a zero
// angular momentum (radial fall) gives eccentricity 1 and a periapsis of 0.
OrbitFigures orbitFiguresFromState(Vec3d relativePositionKm, Vec3d relativeVelocityKmPerS,
                                   double gmKm3PerS2, double primaryRadiusKm);
