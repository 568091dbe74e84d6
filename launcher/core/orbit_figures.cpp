// Two-body elements from a state vector.
#include "orbit_figures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

OrbitFigures orbitFiguresFromState(Vec3d r, Vec3d v, double gm, double primaryRadiusKm) {
    OrbitFigures f;
    f.primaryRadiusKm = primaryRadiusKm;
    f.distanceKm = length(r);
    f.speedKmPerS = length(v);
    f.approaching = dot(r, v) < 0;
    if (f.distanceKm <= 0 || gm <= 0) {
        f.eccentricity = 1;
        return f;
    }
    const double energy = 0.5 * f.speedKmPerS * f.speedKmPerS - gm / f.distanceKm;  // km^2/s^2
    const Vec3d h = cross(r, v);
    const double hLength = length(h);
    f.bound = energy < 0;
    f.semiMajorAxisKm = energy != 0 ? -gm / (2 * energy) : INFINITY;
    // e^2 = 1 + 2 E h^2 / gm^2 holds for every conic; clamp the rounding below 0.
    f.eccentricity = std::sqrt(std::max(0.0, 1 + 2 * energy * hLength * hLength / (gm * gm)));
    f.periapsisKm = hLength * hLength / (gm * (1 + f.eccentricity));
    if (f.bound) {
        f.apoapsisKm = 2 * f.semiMajorAxisKm - f.periapsisKm;
        f.periodS = 2 * std::numbers::pi * std::sqrt(std::pow(f.semiMajorAxisKm, 3) / gm);
    }
    // The world axes are left-handed (x points to 18 h, z to 0 h, y north), so the right-handed
    // component formula gives an angular momentum whose y is negative for a prograde orbit.
    if (hLength > 0) {
        const double c = std::clamp(-h.y / hLength, -1.0, 1.0);
        f.inclinationDeg = std::acos(c) * 180 / std::numbers::pi;
    }
    return f;
}
