// Step bound of a warped frame from the pairs that matter, and the bodies that make them.
#include "step_bound.h"

#include <cmath>
#include <limits>

#include "integrator.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

double distance2(const SimObject& a, const SimObject& b) {
    const double dx = double(b.positionKm.x) - a.positionKm.x;
    const double dy = double(b.positionKm.y) - a.positionKm.y;
    const double dz = double(b.positionKm.z) - a.positionKm.z;
    return dx * dx + dy * dy + dz * dz;
}

// The most massive body, or bodies (= none) when no body has a positive mass.
size_t starOf(const std::vector<SimObject>& objects) {
    const size_t bodies = objects.size() - 1;
    size_t star = bodies;
    for (size_t k = 0; k < bodies; ++k)
        if (objects[k].massKg > 0 && (star == bodies || objects[k].massKg > objects[star].massKg)) star = k;
    return star;
}

// Hill radius of every body about the star (0 for the star itself and for massless bodies).
std::vector<double> hillRadii(const std::vector<SimObject>& objects, size_t star) {
    const size_t bodies = objects.size() - 1;
    std::vector<double> hill(bodies, 0.0);
    if (star == bodies) return hill;
    for (size_t k = 0; k < bodies; ++k)
        if (k != star && objects[k].massKg > 0)
            hill[k] = std::sqrt(distance2(objects[k], objects[star])) *
                      std::cbrt(double(objects[k].massKg) / (3.0 * objects[star].massKg));
    return hill;
}

struct Partners {
    int dominant = -1;  // pulls hardest
    int primary = -1;   // orbited
    bool coincides = false;
};

Partners partnersOf(const std::vector<SimObject>& objects, size_t i, size_t star,
                    const std::vector<double>& hill) {
    Partners p;
    const size_t bodies = objects.size() - 1;
    const double ownMass = i < bodies ? double(objects[i].massKg) : 0.0;
    double strongest = -1, nearest = kInf;
    for (size_t k = 0; k < bodies; ++k) {
        if (k == i || !(objects[k].massKg > 0)) continue;
        const double r2 = distance2(objects[i], objects[k]);
        if (r2 == 0) {
            p.coincides = true;
            continue;
        }
        const double pull = objects[k].massKg / r2;
        if (pull > strongest) {
            strongest = pull;
            p.dominant = static_cast<int>(k);
        }
        if (k != star && objects[k].massKg > ownMass && r2 < hill[k] * hill[k] && r2 < nearest) {
            nearest = r2;
            p.primary = static_cast<int>(k);
        }
    }
    if (p.primary < 0 && star != bodies && star != i) p.primary = static_cast<int>(star);
    return p;
}

double dynamicalTime(const std::vector<SimObject>& objects, size_t i, int k) {
    if (k < 0) return kInf;
    const size_t bodies = objects.size() - 1;
    const double ownMass = i < bodies && objects[i].massKg > 0 ? double(objects[i].massKg) : 0.0;
    const double r2 = distance2(objects[i], objects[static_cast<size_t>(k)]);
    const double mu = kGravityKm3PerKgS2 * (double(objects[static_cast<size_t>(k)].massKg) + ownMass);
    return std::sqrt(r2 * std::sqrt(r2) / mu);
}

}  // namespace

double stepBoundS(const std::vector<SimObject>& objects) {
    if (objects.size() < 2) return kInf;
    const size_t star = starOf(objects);
    const std::vector<double> hill = hillRadii(objects, star);
    double shortest = kInf;
    for (size_t i = 0; i < objects.size(); ++i) {
        const Partners p = partnersOf(objects, i, star, hill);
        if (p.coincides) return kShortestStepBoundS;
        shortest = std::fmin(shortest, dynamicalTime(objects, i, p.dominant));
        shortest = std::fmin(shortest, dynamicalTime(objects, i, p.primary));
    }
    double bound = shortest * kStepBoundFraction;
    // A burn that empties the energy ends within a substep of a sixty-fourth of the time it has
    // left. The drain r |v| |F| grows as the burn speeds the ship up: with v = v0 + a t the
    // energy lasts t = (sqrt(v0^2 + 2 a E / (r F)) - v0) / a.
    const SimObject& ship = objects.back();
    const double force = length(ship.actingForceKN), v0 = length(ship.velocityKmPerS);
    const double rf = double(relativisticFactor(ship.velocityKmPerS)) * force;
    if (rf > 0 && ship.energyKJ > 0 && ship.massKg > 0) {
        const double a = force / ship.massKg, e = ship.energyKJ / rf;
        const double lasts = a > 0 ? (std::sqrt(v0 * v0 + 2 * a * e) - v0) / a : e / v0;
        if (lasts > 0) bound = std::fmin(bound, lasts * kStepBoundFraction);
    }
    if (!std::isfinite(bound)) return kInf;
    return std::fmax(bound, kShortestStepBoundS);
}

int substepCount(const std::vector<SimObject>& objects, double hS) {
    if (!(hS > 0)) return 1;
    const double bound = stepBoundS(objects);
    if (!(hS > bound)) return 1;
    const double count = static_cast<double>(objects.size());
    const double cap = std::fmax(64.0, std::floor(kSubstepPairCap / (count * count)));
    const double n = std::ceil(hS / bound);
    return static_cast<int>(n > cap ? cap : n);
}

int dominantBody(const std::vector<SimObject>& objects, size_t i) {
    if (objects.size() < 2 || i >= objects.size()) return -1;
    const size_t star = starOf(objects);
    return partnersOf(objects, i, star, hillRadii(objects, star)).dominant;
}

int primaryBody(const std::vector<SimObject>& objects, size_t i) {
    if (objects.size() < 2 || i >= objects.size()) return -1;
    const size_t star = starOf(objects);
    const Partners p = partnersOf(objects, i, star, hillRadii(objects, star));
    return p.primary >= 0 ? p.primary : p.dominant;
}
