// A list of objects as the simulator would start it: each object file read with the simulator's
// own reader, then the simulator's own orbit set-up (circular-orbit velocities from two orbital
// points). The wizard, the orbit dialog and the check's notes all predict from this.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "orbit_figures.h"
#include "sim_object.h"

struct StartingState {
    std::vector<SimObject> objects;  // in list order, after the orbit set-up
    size_t finalCount = 0;           // objects [0, finalCount) hold their starting values
    std::string setupFailure;        // the simulator's message when its set-up stops, else empty
};

// Reads dataDirectory + "Objects/" + name + ".cfg" for every name. nullopt when a file cannot be
// read by the simulator's reader; unreadable then names that file.
std::optional<std::vector<SimObject>> readListObjects(const std::vector<std::string>& names,
                                                      const std::string& dataDirectory,
                                                      std::string& unreadable);

StartingState startingState(std::vector<SimObject> objects);

// 1-based Item 8 turned into an index of the list, when it names another object of it.
std::optional<size_t> orbitedIndex(const SimObject& object, size_t ownIndex, size_t count);

struct OrbitPrediction {
    bool ok = false;
    std::string failure;  // why there is no orbit to show
    OrbitFigures figures;
};

// The orbit objects[index] starts on about the object its Item 8 names.
OrbitPrediction predictOrbit(const StartingState& state, size_t index);

// The prediction for a new or edited object orbiting Ref-No orbitedRefNo: the list's objects from
// Ref-No 1 to orbitedRefNo (names), then the candidate with its entered values and Item 8 set.
OrbitPrediction predictCandidateOrbit(const std::vector<std::string>& namesAbove,
                                      const std::string& dataDirectory, SimObject candidate,
                                      int orbitedRefNo);

// The figures as lines a user reads: semi-major axis, eccentricity, inclination, period,
// periapsis and apoapsis altitude, bound or not.
std::vector<std::string> orbitFigureLines(const OrbitFigures& figures);
