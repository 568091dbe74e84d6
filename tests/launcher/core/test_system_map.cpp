// The map's geometry on the delivered system: which body each object circles (by sphere of
// influence, or by Item 8), the view from above the system's plane with prograde motion turning
// counterclockwise, closed and open paths, and the map of an edited object.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "object_file.h"
#include "system_map.h"
#include "test_data_dir.h"

namespace {

const std::vector<std::string> kDelivered = {"Sun",  "Mercury", "Venus",  "Earth",   "Moon",    "Mars",
                                             "Jupiter", "Saturn", "Uranus", "Neptune", "Observer"};

class SystemMapCore : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(CELESTRIX_DATA_SOURCE, dir.path(), std::filesystem::copy_options::recursive);
    }
    testdata::TempDataDir dir;
};

// Signed area of a path: positive when it turns counterclockwise on the map.
double turning(const std::vector<MapPoint>& path) {
    double area = 0;
    for (size_t k = 0; k < path.size(); ++k) {
        const MapPoint& a = path[k];
        const MapPoint& b = path[(k + 1) % path.size()];
        area += a.x * b.y - b.x * a.y;
    }
    return area / 2;
}

}  // namespace

TEST_F(SystemMapCore, TheDeliveredSystemCirclesTheSunSeenFromAboveItsPlane) {
    const SystemMap map = systemMapOfList(kDelivered, dir.path());
    ASSERT_TRUE(map.failure.empty()) << map.failure;
    ASSERT_EQ(map.bodies.size(), kDelivered.size());
    EXPECT_EQ(map.centre, 0);
    const std::map<std::string, std::string> parent = {
        {"Sun", ""},          {"Mercury", "Sun"}, {"Venus", "Sun"},   {"Earth", "Sun"},
        {"Moon", "Earth"},    {"Mars", "Sun"},    {"Jupiter", "Sun"}, {"Saturn", "Sun"},
        {"Uranus", "Sun"},    {"Neptune", "Sun"}, {"Observer", "Earth"}};
    for (const MapBody& b : map.bodies) {
        SCOPED_TRACE(b.name);
        EXPECT_EQ(b.parent < 0 ? "" : map.bodies[static_cast<size_t>(b.parent)].name, parent.at(b.name));
        if (b.parent < 0) continue;
        EXPECT_TRUE(b.bound);
        ASSERT_EQ(b.orbit.size(), static_cast<size_t>(kMapOrbitPoints));
        // Every planet, the Moon and the ship go round counterclockwise seen from the north.
        EXPECT_GT(turning(b.orbit), 0);
        // The planets' orbits lie within a few degrees of the view plane: their drawn shape keeps
        // nearly its true size (seen from the celestial pole, Earth's would shrink to 0.92).
        if (parent.at(b.name) == "Sun") {
            double smallest = INFINITY, largest = 0;
            for (const MapPoint& p : b.orbit) {
                smallest = std::min(smallest, std::hypot(p.x, p.y));
                largest = std::max(largest, std::hypot(p.x, p.y));
            }
            EXPECT_GT(largest / b.apoapsisKm, 0.99);
            if (b.name == "Earth") {
                EXPECT_GT(smallest / largest, 0.96);
            }
        }
    }
    const std::vector<int> earthMoons = satellitesOf(map, 3);
    EXPECT_EQ(earthMoons, (std::vector<int>{4, 10}));
}

TEST_F(SystemMapCore, Item8NamesTheParentAndAFastObjectGetsAnOpenPath) {
    // The Moon's file names Ref-No 1 (the Sun) as what it circles: the map follows the file.
    // A candidate that moves far too fast for Earth gets an open path from the edited values.
    SimObject moon;
    ASSERT_TRUE(readObjectFile(moon, dir.path() + "Objects/Moon.cfg", dir.path()));
    SimObject earth;
    ASSERT_TRUE(readObjectFile(earth, dir.path() + "Objects/Earth.cfg", dir.path()));
    moon.orbitedObject = 1;
    testdata::writeObject(dir.path(), "Objects/Moon.cfg", moon);
    SystemMap map = systemMapOfList(kDelivered, dir.path());
    EXPECT_EQ(map.bodies[4].parent, 0);
    EXPECT_TRUE(map.bodies[4].orbitsByItem8);

    SimObject fast = moon;
    fast.velocityKmPerS = earth.velocityKmPerS + Vec3f{0, 0, 5};
    map = candidateSystemMap(kDelivered, dir.path(), fast, 4, "Probe");
    ASSERT_EQ(map.bodies.size(), 5u);
    const MapBody& probe = map.bodies[4];
    EXPECT_EQ(probe.name, "Probe");
    EXPECT_EQ(probe.parent, 3);
    EXPECT_FALSE(probe.bound);
    EXPECT_FALSE(probe.orbit.empty());
    EXPECT_LT(probe.orbit.size(), static_cast<size_t>(kMapOrbitPoints));
    // No map for a parent outside the list, and a named unreadable file.
    EXPECT_TRUE(candidateSystemMap(kDelivered, dir.path(), fast, 40, "Probe").bodies.empty());
    EXPECT_NE(systemMapOfList({"Sun", "Nowhere"}, dir.path()).failure.find("Nowhere.cfg"), std::string::npos);
}
