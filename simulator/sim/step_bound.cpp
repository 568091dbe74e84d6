// Step bound of a warped frame from the pairs that matter, and the bodies that make them.
#include "step_bound.h"

#include <algorithm>
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

// The partners of every object at once, the same as partnersOf for each, without visiting every
// pair. Every object but the star feels the star's pull, so a body k can pull an object harder
// (or hold it in its Hill sphere) only within reach_k = max(hill_k, sqrt(m_k / weakest star
// pull)). The objects are sorted along x, and each body visits only the objects within its reach
// there. Returns false when the figures do not allow it (no star, or a value out of range); the
// caller then visits every pair.
bool allPartners(const std::vector<SimObject>& objects, size_t star, const std::vector<double>& hill,
                 std::vector<Partners>& partners) {
    const size_t n = objects.size(), bodies = n - 1;
    if (star == bodies) return false;
    partners.assign(n, Partners{});
    std::vector<double> strongest(n, -1), nearest(n, kInf);
    auto consider = [&](size_t i, size_t k, double r2) {
        Partners& p = partners[i];
        const double ownMass = i < bodies ? double(objects[i].massKg) : 0.0;
        if (r2 == 0) {
            p.coincides = true;
            return;
        }
        const double pull = objects[k].massKg / r2;
        if (pull > strongest[i] || (pull == strongest[i] && static_cast<int>(k) < p.dominant)) {
            strongest[i] = pull;
            p.dominant = static_cast<int>(k);
        }
        if (k != star && objects[k].massKg > ownMass && r2 < hill[k] * hill[k] &&
            (r2 < nearest[i] || (r2 == nearest[i] && static_cast<int>(k) < p.primary))) {
            nearest[i] = r2;
            p.primary = static_cast<int>(k);
        }
    };
    // The star's pull on every other object, and the weakest of them.
    double weakest = kInf;
    for (size_t i = 0; i < n; ++i) {
        if (i == star) continue;
        const double r2 = distance2(objects[i], objects[star]);
        consider(i, star, r2);
        if (r2 > 0) weakest = std::fmin(weakest, objects[star].massKg / r2);
    }
    if (!(weakest > 0) || !std::isfinite(weakest)) return false;
    std::vector<size_t> order(n);
    for (size_t i = 0; i < n; ++i) order[i] = i;
    std::vector<double> xs(n);
    for (size_t i = 0; i < n; ++i) {
        xs[i] = objects[i].positionKm.x;
        if (!std::isfinite(xs[i])) return false;
    }
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return xs[a] < xs[b]; });
    std::vector<double> sortedX(n);
    for (size_t s = 0; s < n; ++s) sortedX[s] = xs[order[s]];
    for (size_t k = 0; k < bodies; ++k) {
        if (k == star || !(objects[k].massKg > 0)) continue;
        // A little more than the reach, so that rounding never leaves out a pair that matters.
        const double reach = std::fmax(hill[k], std::sqrt(objects[k].massKg / weakest)) * 1.000001 + 1.0;
        if (!std::isfinite(reach)) return false;
        const auto from = std::lower_bound(sortedX.begin(), sortedX.end(), xs[k] - reach);
        const auto to = std::upper_bound(sortedX.begin(), sortedX.end(), xs[k] + reach);
        for (auto it = from; it != to; ++it) {
            const size_t i = order[static_cast<size_t>(it - sortedX.begin())];
            if (i != k && i != star) consider(i, k, distance2(objects[i], objects[k]));
        }
    }
    // The star itself: every body is a candidate.
    partners[star] = partnersOf(objects, star, star, hill);
    for (size_t i = 0; i < n; ++i)
        if (partners[i].primary < 0 && i != star) partners[i].primary = static_cast<int>(star);
    return true;
}

}  // namespace

namespace {

std::vector<Partners> partnersOfAll(const std::vector<SimObject>& objects, size_t star) {
    const std::vector<double> hill = hillRadii(objects, star);
    std::vector<Partners> partners;
    if (!allPartners(objects, star, hill, partners)) {
        partners.resize(objects.size());
        for (size_t i = 0; i < objects.size(); ++i) partners[i] = partnersOf(objects, i, star, hill);
    }
    return partners;
}

}  // namespace

double stepBoundS(const std::vector<SimObject>& objects) {
    if (objects.size() < 2) return kInf;
    const std::vector<Partners> partners = partnersOfAll(objects, starOf(objects));
    double shortest = kInf;
    for (size_t i = 0; i < objects.size(); ++i) {
        const Partners& p = partners[i];
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

std::vector<int> primaryBodies(const std::vector<SimObject>& objects) {
    if (objects.size() < 2) return std::vector<int>(objects.size(), -1);
    std::vector<int> primaries;
    primaries.reserve(objects.size());
    for (const Partners& p : partnersOfAll(objects, starOf(objects)))
        primaries.push_back(p.primary >= 0 ? p.primary : p.dominant);
    return primaries;
}

int primaryBody(const std::vector<SimObject>& objects, size_t i) {
    if (objects.size() < 2 || i >= objects.size()) return -1;
    const size_t star = starOf(objects);
    const Partners p = partnersOf(objects, i, star, hillRadii(objects, star));
    return p.primary >= 0 ? p.primary : p.dominant;
}
