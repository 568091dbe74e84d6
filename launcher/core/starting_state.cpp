// Starting states through the simulator's reader and orbit set-up, and the orbit they give.
#include "starting_state.h"

#include <cmath>
#include <cstdio>

#include "integrator.h"
#include "object_file.h"
#include "orbit_init.h"
#include "readable_units.h"

namespace {


bool given(float value) { return value != kNaFloat && std::isfinite(value); }

}  // namespace

std::optional<std::vector<SimObject>> readListObjects(const std::vector<std::string>& names,
                                                      const std::string& dataDirectory,
                                                      std::string& unreadable) {
    std::vector<SimObject> objects(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string path = dataDirectory + "Objects/" + names[i] + ".cfg";
        if (!readObjectFile(objects[i], path, dataDirectory)) {
            unreadable = path;
            return std::nullopt;
        }
    }
    return objects;
}

StartingState startingState(std::vector<SimObject> objects) {
    StartingState state;
    state.objects = std::move(objects);
    state.finalCount = state.objects.size();
    if (std::optional<OrbitFailure> failure = initialiseOrbits(state.objects)) {
        state.finalCount = failure->objectIndex;
        state.setupFailure = failure->message;
    }
    return state;
}

std::optional<size_t> orbitedIndex(const SimObject& object, size_t ownIndex, size_t count) {
    const int32_t number = object.orbitedObject;
    if (number == kNaInt || number < 1 || static_cast<size_t>(number) > count) return std::nullopt;
    const size_t index = static_cast<size_t>(number) - 1;
    if (index == ownIndex) return std::nullopt;
    return index;
}

OrbitPrediction predictOrbit(const StartingState& state, size_t index) {
    OrbitPrediction p;
    const std::vector<SimObject>& objects = state.objects;
    if (index >= objects.size()) return p;
    const SimObject& a = objects[index];
    std::optional<size_t> primary = orbitedIndex(a, index, objects.size());
    if (!primary) {
        p.failure = "it orbits no other object of the list.";
        return p;
    }
    if (index >= state.finalCount || *primary >= state.finalCount) {
        // The simulator's message names the file; here only its reason is news to the user.
        const size_t reason = state.setupFailure.rfind("\n\n");
        p.failure = "the simulator will stop at the start, " +
                    (reason == std::string::npos ? state.setupFailure : state.setupFailure.substr(reason + 2));
        return p;
    }
    const SimObject& b = objects[*primary];
    if (!given(a.massKg) || !given(b.massKg) || !given(a.velocityKmPerS.x) ||
        !given(a.velocityKmPerS.y) || !given(a.velocityKmPerS.z) || !given(b.velocityKmPerS.x) ||
        !given(b.velocityKmPerS.y) || !given(b.velocityKmPerS.z)) {
        p.failure = "its mass, its velocity or those of the object it orbits are not given.";
        return p;
    }
    const Vec3f r = a.positionKm - b.positionKm;
    const Vec3f v = a.velocityKmPerS - b.velocityKmPerS;
    const double gm = kGravityKm3PerKgS2 * (static_cast<double>(b.massKg) + a.massKg);
    const double radius = given(b.equatorialRadiusKm) ? b.equatorialRadiusKm : 0.0;
    p.figures = orbitFiguresFromState(widen(r), widen(v), gm, radius);
    p.ok = true;
    return p;
}

OrbitPrediction predictCandidateOrbit(const std::vector<std::string>& namesAbove,
                                      const std::string& dataDirectory, SimObject candidate,
                                      int orbitedRefNo) {
    OrbitPrediction p;
    if (orbitedRefNo < 1 || static_cast<size_t>(orbitedRefNo) > namesAbove.size()) {
        p.failure = "the object to be orbited (Ref-No " + std::to_string(orbitedRefNo) +
                    ") is not in the 'Selected objects'-list.";
        return p;
    }
    std::vector<std::string> names(namesAbove.begin(), namesAbove.begin() + orbitedRefNo);
    std::string unreadable;
    std::optional<std::vector<SimObject>> objects = readListObjects(names, dataDirectory, unreadable);
    if (!objects) {
        p.failure = "the file " + unreadable + " cannot be read.";
        return p;
    }
    candidate.orbitedObject = orbitedRefNo;
    objects->push_back(std::move(candidate));
    const size_t index = objects->size() - 1;
    return predictOrbit(startingState(std::move(*objects)), index);
}

std::vector<std::string> orbitFigureLines(const OrbitFigures& f) {
    char buffer[128];
    std::vector<std::string> lines;
    if (f.bound) {
        lines.push_back("Semi-major axis: " + readableDistance(f.semiMajorAxisKm));
    } else {
        lines.push_back("Not bound: the object escapes on an open path.");
    }
    std::snprintf(buffer, sizeof buffer, "Eccentricity: %.4f", f.eccentricity);
    lines.push_back(buffer);
    std::snprintf(buffer, sizeof buffer, "Inclination to the reference plane (x-z): %.2f degrees%s",
                  f.inclinationDeg, f.inclinationDeg > 90 ? " (retrograde)" : "");
    lines.push_back(buffer);
    if (f.bound) lines.push_back("Period: " + readableDuration(f.periodS));
    lines.push_back("Periapsis altitude: " + readableDistance(f.periapsisAltitudeKm()) +
                    (f.periapsisAltitudeKm() < 0 ? " (inside the primary)" : ""));
    if (f.bound) lines.push_back("Apoapsis altitude: " + readableDistance(f.apoapsisAltitudeKm()));
    lines.push_back(f.bound ? "Bound: yes" : "Bound: no");
    return lines;
}
