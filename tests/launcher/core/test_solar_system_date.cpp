// "Set date" on a copy of the delivered data with objects of the user's: the delivered bodies move
// to their places of the date (the places themselves are checked against ERFA by the Python test),
// Earth stays the origin, every other object keeps its place and motion relative to the body that
// pulls hardest on it, and a damaged delivered file stops the change before anything is written.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "mission_date.h"
#include "object_file.h"
#include "solar_system_date.h"
#include "test_data_dir.h"

namespace {

class SetDate : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(CELESTRIX_DATA_SOURCE, dir.path(), std::filesystem::copy_options::recursive);
    }
    SimObject read(const std::string& name) {
        SimObject o;
        EXPECT_TRUE(readObjectFile(o, dir.path() + "Objects/" + name + ".cfg", dir.path())) << name;
        return o;
    }
    void write(const std::string& name, const SimObject& o) { testdata::writeObject(dir.path(), "Objects/" + name + ".cfg", o); }
    testdata::TempDataDir dir;
};

double distance(Vec3f a, Vec3f b) { return std::sqrt(double(a.x - b.x) * (a.x - b.x) + double(a.y - b.y) * (a.y - b.y) + double(a.z - b.z) * (a.z - b.z)); }

}  // namespace

TEST_F(SetDate, UserObjectsStayWithTheBodyThatHoldsThem) {
    // Io beside Jupiter, a probe set up by orbital points near Earth, a drifter 2 AU from the Sun.
    const SimObject jupiter = read("Jupiter"), earth = read("Earth"), sun = read("Sun");
    SimObject io = jupiter;
    io.massKg = 8.93e22f;
    io.positionKm = jupiter.positionKm + Vec3f{421700, 0, 0};
    io.velocityKmPerS = jupiter.velocityKmPerS + Vec3f{0, 0, 17.33f};
    write("Io", io);
    SimObject probe = earth;
    probe.massKg = 1000;
    probe.velocityKmPerS = {kNaFloat, kNaFloat, kNaFloat};
    probe.orbitedObject = 4;
    probe.positionKm = probe.orbitalPosition1Km = earth.positionKm + Vec3f{10000, 0, 0};
    probe.orbitalPosition2Km = earth.positionKm + Vec3f{0, 0, 10000};
    write("Probe", probe);
    SimObject drifter = sun;
    drifter.massKg = 1e15f;
    drifter.positionKm = sun.positionKm + Vec3f{0, 0, 2.99e8f};
    drifter.velocityKmPerS = sun.velocityKmPerS + Vec3f{21, 0, 0};
    write("Drifter", drifter);
    const SimObject observer = read("Observer");

    const SetDateResult result = setSolarSystemDate(dir.path(), {2026, 12, 8, 0, 0, 0});
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.bodiesMoved, 10);
    EXPECT_EQ(result.objectsCarried, 4);  // the observer and the three above

    const SimObject earthNow = read("Earth");
    EXPECT_EQ(distance(earthNow.positionKm, {0, 0, 0}), 0);  // the origin stays Earth's centre
    EXPECT_GT(distance(read("Jupiter").positionKm, jupiter.positionKm), 1e8);  // the planets moved
    struct Carried {
        const char* name;
        const char* holder;
        SimObject before;
        bool velocityGiven;
    };
    const Carried carried[] = {{"Io", "Jupiter", io, true},
                               {"Probe", "Earth", probe, false},
                               {"Drifter", "Sun", drifter, true},
                               {"Observer", "Earth", observer, true}};
    for (const Carried& c : carried) {
        SCOPED_TRACE(c.name);
        const SimObject now = read(c.name);
        const SimObject holderBefore = c.holder == std::string("Jupiter") ? jupiter
                                       : c.holder == std::string("Earth") ? earth
                                                                          : sun;
        const SimObject holderNow = read(c.holder);
        const Vec3f offsetBefore = c.before.positionKm - holderBefore.positionKm;
        const Vec3f offsetNow = now.positionKm - holderNow.positionKm;
        // Six digits of places up to 1e9 km from the origin.
        EXPECT_LT(distance(offsetNow, offsetBefore), 2e-6 * (1e9 + distance(c.before.positionKm, {0, 0, 0})));
        if (c.velocityGiven) {
            EXPECT_LT(distance(now.velocityKmPerS - holderNow.velocityKmPerS,
                               c.before.velocityKmPerS - holderBefore.velocityKmPerS), 1e-3);
        } else {
            EXPECT_EQ(now.velocityKmPerS.x, kNaFloat);  // still set up from its orbital points
            EXPECT_LT(distance(now.orbitalPosition2Km - holderNow.positionKm,
                               c.before.orbitalPosition2Km - holderBefore.positionKm), 1);
        }
    }
    EXPECT_EQ(testdata::readText(dir.path() + "time.cfg"), "0");
    EXPECT_EQ(testdata::readText(dir.path() + kMissionDateFile), "2026-12-08T00:00\n");
}

TEST_F(SetDate, ADamagedDeliveredBodyStopsTheChangeBeforeAnyWrite) {
    struct Case {
        const char* file;
        const char* damage;  // new text of the file, or nullptr to delete it
        const char* reason;
    };
    const Case cases[] = {
        {"Earth.cfg", nullptr, "Earth.cfg is missing"},
        {"Mars.cfg", "Item 2. position.x [km] = na\n-999\n", "not given"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        testdata::TempDataDir copy;
        std::filesystem::copy(CELESTRIX_DATA_SOURCE, copy.path(), std::filesystem::copy_options::recursive);
        const std::string path = copy.path() + "Objects/" + c.file;
        if (c.damage) testdata::writeText(path, c.damage);
        else std::filesystem::remove(path);
        const std::string venus = testdata::readText(copy.path() + "Objects/Venus.cfg");
        const SetDateResult result = setSolarSystemDate(copy.path(), {1950, 1, 1, 0, 0, 0});
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find(c.reason), std::string::npos) << result.error;
        EXPECT_EQ(testdata::readText(copy.path() + "Objects/Venus.cfg"), venus);
        EXPECT_FALSE(testdata::exists(copy.path() + kMissionDateFile));
    }
}

TEST_F(SetDate, AtJ2000TheTheoriesGiveTheDeliveredWorld) {
    // The delivered files were made from the same theories at J2000.0 with the same frame, origin,
    // centre of mass and velocity scale: every body agrees to the six digits of the files.
    const std::map<std::string, BodyState> world = solarSystemAt(j2000Utc());
    for (const char* name : deliveredBodyNames()) {
        SCOPED_TRACE(name);
        const SimObject file = read(name);
        const BodyState& s = world.at(name);
        EXPECT_LT(length(s.positionKm - widen(file.positionKm)), 1e-5 * length(s.positionKm) + 1e-3);
        EXPECT_LT(length(s.velocityKmPerS - widen(file.velocityKmPerS)), 1e-5 * length(s.velocityKmPerS) + 1e-6);
    }
    // The delivered Earth faces the sidereal time of 12:00 UT1, 64 s after the epoch.
    EXPECT_NEAR(earthSpinAngleRad({2000, 1, 1, 12, 0, 0}), read("Earth").spinAngleRad, 1e-4);
    EXPECT_NEAR(moonSpinAngleRad(world.at("Earth"), world.at("Moon")), read("Moon").spinAngleRad, 1e-4);
}
