// Lambert's problem on a conic: the velocities that carry a body from r1 to r2 in a given time
// about a primary of G M = gm, the short way round in the sense of a reference angular momentum
// (a prograde transfer), less than one revolution. Universal variables, the root found by bisection
// so that it never diverges.
#pragma once

#include "vec3d.h"

struct LambertSolution {
    bool found = false;
    Vec3d departureVelocityKmPerS;
    Vec3d arrivalVelocityKmPerS;
};

LambertSolution solveLambert(Vec3d r1Km, Vec3d r2Km, double flightTimeS, double gmKm3PerS2, Vec3d prograde);
