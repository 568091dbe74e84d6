// Object files for the launcher's core tests, written with the simulator's writer into a
// temporary data directory: a star, planets and an observer that pass every check rule, which a
// test then spoils one item at a time.
#pragma once

#include <string>
#include <vector>

#include "consistency_check.h"
#include "object_file.h"
#include "sim_object.h"
#include "test_data_dir.h"

namespace fixtures {

inline SimObject body(float xKm, float radiusKm, float massKg) {
    SimObject o;
    o.massKg = massKg;
    o.positionKm = {xKm, 0, 0};
    o.orbitalPosition1Km = o.positionKm;
    o.velocityKmPerS = {0, 0, 0};
    o.equatorialRadiusKm = radiusKm;
    o.polarRadiusKm = radiusKm;
    o.isPlanet = 1;
    return o;
}

inline SimObject star() {
    SimObject o = body(0, 696000, 1.989e30f);
    o.isPlanet = 0;
    o.isStar = 1;
    return o;
}

inline SimObject observer(float xKm = 5e8f) {
    SimObject o = body(xKm, 0.01f, 1000);
    o.isPlanet = 0;
    o.isObserver = 1;
    return o;
}

// Writes o as dataDir + "Objects/" + name + ".cfg".
inline void writeObject(const std::string& dataDir, const std::string& name, SimObject o) {
    std::filesystem::create_directories(dataDir + "Objects");
    o.ownPath = dataDir + "Objects/" + name + ".cfg";
    if (!writeObjectFile(o, dataDir)) throw std::runtime_error("cannot write " + o.ownPath);
}

// Rows named in order, Ref-No from 1, orbits "none" unless given.
inline std::vector<CheckRow> rows(const std::vector<std::string>& names,
                                  const std::vector<std::string>& orbits = {}) {
    std::vector<CheckRow> out;
    for (size_t i = 0; i < names.size(); ++i)
        out.push_back({names[i], std::to_string(i + 1), i < orbits.size() ? orbits[i] : "none"});
    return out;
}

}  // namespace fixtures
