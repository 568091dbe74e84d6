// Hill spheres, Roche limits and orbits that reach into their primary.
#include "physical_limits.h"

#include <cmath>
#include <numbers>

#include "readable_units.h"

namespace {

bool given(float value) { return value != kNaFloat && std::isfinite(value); }

double distanceKm(const SimObject& a, const SimObject& b) {
    const double dx = static_cast<double>(a.positionKm.x) - b.positionKm.x;
    const double dy = static_cast<double>(a.positionKm.y) - b.positionKm.y;
    const double dz = static_cast<double>(a.positionKm.z) - b.positionKm.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// The body whose tide bounds b's Hill sphere: the one b orbits, else the heaviest other object
// when it is heavier than b (the system's central star).
std::optional<size_t> tidalPrimary(const StartingState& state, size_t b) {
    const std::vector<SimObject>& objects = state.objects;
    if (std::optional<size_t> named = orbitedIndex(objects[b], b, objects.size())) return named;
    std::optional<size_t> heaviest;
    for (size_t i = 0; i < objects.size(); ++i) {
        if (i == b || !given(objects[i].massKg)) continue;
        if (!heaviest || objects[i].massKg > objects[*heaviest].massKg) heaviest = i;
    }
    if (heaviest && objects[*heaviest].massKg > objects[b].massKg) return heaviest;
    return std::nullopt;
}

void addHillNote(const StartingState& state, const std::vector<std::string>& names, size_t a,
                 size_t b, std::vector<std::string>& notes) {
    std::optional<size_t> c = tidalPrimary(state, b);
    if (!c || *c == a || *c >= state.finalCount) return;
    const std::vector<SimObject>& o = state.objects;
    if (!given(o[b].massKg) || !given(o[*c].massKg)) return;
    const double hill = hillRadiusKm(o[b].massKg, distanceKm(o[b], o[*c]), o[*c].massKg);
    const double d = distanceKm(o[a], o[b]);
    if (d <= hill) return;
    notes.push_back("\nNote: " + names[a] + " starts " + readableDistance(d) + " from " + names[b] +
                    ", outside the Hill sphere of " + names[b] + " (radius " +
                    readableDistance(hill) + "): the pull of " + names[*c] + " will take " +
                    names[a] + " out of its orbit around " + names[b] + ".");
}

void addPeriapsisNote(const std::vector<std::string>& names, size_t a, size_t b,
                      const OrbitFigures& f, std::vector<std::string>& notes) {
    if (f.periapsisKm >= f.primaryRadiusKm || (!f.bound && !f.approaching)) return;
    notes.push_back("\nNote: The orbit of " + names[a] + " comes within " +
                    readableDistance(f.periapsisKm) + " of the centre of " + names[b] +
                    ", inside its radius of " + readableDistance(f.primaryRadiusKm) + ": " +
                    names[a] + " will strike " + names[b] + ".");
}

void addRocheNote(const SimObject& p, const std::string& name, std::vector<std::string>& notes) {
    if (p.hasRing != 1 || !given(p.innerRingRadiusKm) || !given(p.massKg) ||
        !given(p.equatorialRadiusKm) || p.equatorialRadiusKm <= 0)
        return;
    const double polar = given(p.polarRadiusKm) ? p.polarRadiusKm : p.equatorialRadiusKm;
    const double roche = rocheLimitForIceKm(p.massKg, p.equatorialRadiusKm, polar);
    if (p.innerRingRadiusKm <= roche) return;
    notes.push_back("\nNote: The ring of " + name + " begins at " +
                    readableDistance(p.innerRingRadiusKm) + ", outside the Roche limit of " + name +
                    " for ice (" + readableDistance(roche) +
                    "): a ring there would gather into moons.");
}

}  // namespace

double hillRadiusKm(double massKg, double distanceKm, double primaryMassKg) {
    if (primaryMassKg <= 0) return INFINITY;
    return distanceKm * std::cbrt(massKg / (3 * primaryMassKg));
}

double rocheLimitForIceKm(double massKg, double equatorialRadiusKm, double polarRadiusKm) {
    if (polarRadiusKm <= 0 || polarRadiusKm > equatorialRadiusKm) polarRadiusKm = equatorialRadiusKm;
    const double volumeM3 = 4.0 / 3.0 * std::numbers::pi * equatorialRadiusKm * equatorialRadiusKm *
                            polarRadiusKm * 1e9;
    const double density = massKg / volumeM3;
    const double flattening = 1 - polarRadiusKm / equatorialRadiusKm;
    return 2.423 * equatorialRadiusKm * std::cbrt(density / kWaterIceDensityKgPerM3) *
           std::cbrt((1 + flattening / 3) / (1 - flattening));
}

std::vector<std::string> physicalNotes(const StartingState& state,
                                       const std::vector<std::string>& names) {
    std::vector<std::string> notes;
    const std::vector<SimObject>& objects = state.objects;
    if (!state.setupFailure.empty())
        notes.push_back("\nNote: The simulator will refuse to start this list:\n" + state.setupFailure);
    for (size_t a = 0; a < objects.size() && a < names.size(); ++a) {
        addRocheNote(objects[a], names[a], notes);
        std::optional<size_t> b = orbitedIndex(objects[a], a, objects.size());
        if (!b || *b >= names.size() || a >= state.finalCount || *b >= state.finalCount) continue;
        OrbitPrediction p = predictOrbit(state, a);
        if (p.ok) addPeriapsisNote(names, a, *b, p.figures, notes);
        addHillNote(state, names, a, *b, notes);
    }
    return notes;
}
