// Step bound of a warped frame from the dominant pair of every object.
#include "step_bound.h"

#include <cmath>
#include <limits>

#include "integrator.h"

double stepBoundS(const std::vector<SimObject>& objects) {
    const size_t n = objects.size();
    if (n < 2) return std::numeric_limits<double>::infinity();
    const size_t bodies = n - 1;  // the observer attracts nothing
    double shortest = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < n; ++i) {
        const SimObject& a = objects[i];
        const double ax = a.positionKm.x, ay = a.positionKm.y, az = a.positionKm.z;
        double strongest = -1, dominantR2 = 0, dominantMass = 0;
        for (size_t j = 0; j < bodies; ++j) {
            if (j == i) continue;
            const SimObject& b = objects[j];
            const double dx = b.positionKm.x - ax, dy = b.positionKm.y - ay, dz = b.positionKm.z - az;
            const double r2 = dx * dx + dy * dy + dz * dz;
            const double m = b.massKg;
            if (!(m > 0)) continue;
            if (r2 == 0) return kShortestStepBoundS;
            const double pull = m / r2;
            if (pull > strongest) {
                strongest = pull;
                dominantR2 = r2;
                dominantMass = m;
            }
        }
        if (strongest < 0) continue;
        const double ownMass = i < bodies && a.massKg > 0 ? static_cast<double>(a.massKg) : 0.0;
        const double mu = kGravityKm3PerKgS2 * (dominantMass + ownMass);
        const double r = std::sqrt(dominantR2);
        const double t = std::sqrt(dominantR2 * r / mu);
        if (t < shortest) shortest = t;
    }
    if (!std::isfinite(shortest)) return std::numeric_limits<double>::infinity();
    return std::fmax(shortest * kStepBoundFraction, kShortestStepBoundS);
}

int substepCount(const std::vector<SimObject>& objects, double hS) {
    if (!(hS > 0)) return 1;
    const double bound = stepBoundS(objects);
    if (!(hS > bound)) return 1;
    const double n = std::ceil(hS / bound);
    return n >= 1e9 ? 1000000000 : static_cast<int>(n);
}
