// Lambert's problem by universal variables.
#include "lambert.h"

#include "two_body_orbit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

LambertSolution solveLambert(Vec3d r1, Vec3d r2, double tof, double gm, Vec3d prograde) {
    LambertSolution out;
    const double r1n = length(r1), r2n = length(r2);
    if (!(r1n > 0) || !(r2n > 0) || !(tof > 0) || !(gm > 0)) return out;
    const double cosTheta = std::clamp(dot(r1, r2) / (r1n * r2n), -1.0, 1.0);
    double theta = std::acos(cosTheta);
    if (dot(cross(r1, r2), prograde) < 0) theta = 2 * std::numbers::pi - theta;
    if (1 - cosTheta < 1e-12) return out;  // the same direction: no plane
    const double a = std::sin(theta) * std::sqrt(r1n * r2n / (1 - cosTheta));
    auto y = [&](double z) { return r1n + r2n + a * (z * stumpffS(z) - 1) / std::sqrt(stumpffC(z)); };
    const double sqrtMu = std::sqrt(gm);
    auto f = [&](double z) {
        const double yz = y(z);
        return std::pow(yz / stumpffC(z), 1.5) * stumpffS(z) + a * std::sqrt(yz) - sqrtMu * tof;
    };
    double lo = -400, hi = 4 * std::numbers::pi * std::numbers::pi * (1 - 1e-9);
    // The time of flight grows with z; below some z, y turns negative (no real solution there):
    // the search starts where y just turns positive.
    if (a > 0 && y(lo) < 0) {
        double neg = lo, pos = hi;
        for (int i = 0; i < 200; ++i) {
            const double mid = (neg + pos) / 2;
            (y(mid) < 0 ? neg : pos) = mid;
        }
        lo = pos;
    }
    if (f(lo) > 0 || f(hi) < 0) return out;
    for (int i = 0; i < 200; ++i) {
        const double mid = (lo + hi) / 2;
        (f(mid) < 0 ? lo : hi) = mid;
        if (hi - lo < 1e-12 * std::max(1.0, std::abs(mid))) break;
    }
    const double z = (lo + hi) / 2, yz = y(z);
    if (!(yz > 0)) return out;
    const double fl = 1 - yz / r1n, g = a * std::sqrt(yz / gm), gDot = 1 - yz / r2n;
    out.departureVelocityKmPerS = (r2 - r1 * fl) / g;
    out.arrivalVelocityKmPerS = (r2 * gDot - r1) / g;
    out.found = std::isfinite(out.departureVelocityKmPerS.x) && std::isfinite(out.arrivalVelocityKmPerS.x);
    return out;
}
