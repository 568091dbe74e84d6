// The map of a system as the simulator will start it: every object's place seen from above the
// system's own plane (the plane of its total angular momentum, for the solar system within two
// degrees of the ecliptic), which object each one circles, and the path of that orbit, all in km.
// The drawing lives in the launcher's map widget; here is only the geometry.
#pragma once

#include <string>
#include <vector>

#include "starting_state.h"

struct MapPoint {
    double x = 0, y = 0;  // km; x toward the vernal equinox, y 90 degrees ahead (counterclockwise)
};

struct MapBody {
    std::string name;
    MapPoint place;
    bool placed = false;    // it has a starting place (the set-up reached it)
    double radiusKm = 0;    // equatorial radius, 0 when not given
    double massKg = 0;
    int parent = -1;        // index of the object it circles, -1 for none (a top object)
    bool orbitsByItem8 = false;  // the parent is the one its Item 8 names (else: the one whose
                                 // sphere of influence holds it)
    bool bound = false;     // its orbit about the parent is closed
    double distanceKm = 0;  // from the parent's centre at the start
    double apoapsisKm = 0;  // farthest distance from the parent (bound), else its distance
    std::vector<MapPoint> orbit;  // the path about the parent, relative to the parent's place
    int kind = 0;           // 0 none, 1 star, 2 planet, 3 observer
};

struct SystemMap {
    std::vector<MapBody> bodies;  // in list order
    int centre = -1;              // the heaviest object: the Sun, or the top object
    std::string failure;          // why objects from some index on hold no starting values
};

// Points on each closed orbit (the first point is periapsis; open paths get fewer, up to the
// point where they leave ten times the start distance).
inline constexpr int kMapOrbitPoints = 256;

// The map of state's objects; objects past state.finalCount are left without a place.
SystemMap buildSystemMap(const StartingState& state, const std::vector<std::string>& names);

// Reads the names' object files and builds the map. failure names an unreadable file.
SystemMap systemMapOfList(const std::vector<std::string>& names, const std::string& dataDirectory);

// The map around a new or edited object orbiting Ref-No orbitedRefNo: the list's objects from Ref-No
// 1 to orbitedRefNo, then the candidate (last, named candidateName) with its entered values.
SystemMap candidateSystemMap(const std::vector<std::string>& namesAbove, const std::string& dataDirectory,
                             SimObject candidate, int orbitedRefNo, const std::string& candidateName);

// The indices of body i's satellites (bodies whose parent is i).
std::vector<int> satellitesOf(const SystemMap& map, int i);
