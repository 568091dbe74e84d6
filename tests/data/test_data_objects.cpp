// Checks of the delivered default configuration: its object files read with the simulator's
// reader, are written in the writer's exact layout, name existing media and form a sane system.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "config_file.h"
#include "object_file.h"
#include "sim_object.h"
#include "test_data_dir.h"

namespace {

const std::string kData = CELESTRIX_DATA_SOURCE;
constexpr double kAuKm = 149597870.7;
constexpr double kEarthGmKm3PerS2 = 6.672e-20 * 5.97217e24;

std::vector<std::string> defaultEntries() {
    std::vector<std::string> entries;
    std::string reason;
    EXPECT_TRUE(readConfigurationFile(kData + "Configurations/Default Configuration.cfg", entries,
                                      &reason))
        << reason;
    return entries;
}

SimObject readObject(const std::string& entry) {
    SimObject obj;
    std::string reason;
    EXPECT_TRUE(readObjectFile(obj, kData + "Objects/" + entry, kData, &reason))
        << entry << ": " << reason;
    return obj;
}

double distanceKm(const Vec3f& a, const Vec3f& b) {
    double dx = double(a.x) - b.x, dy = double(a.y) - b.y, dz = double(a.z) - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double lengthOf(const Vec3f& v) { return std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z); }

}  // namespace

TEST(DefaultConfiguration, EveryObjectReadsAndNamesExistingMedia) {
    std::vector<std::string> entries = defaultEntries();
    ASSERT_EQ(entries.size(), 11u);
    EXPECT_EQ(entries.front(), "Sun.cfg");
    EXPECT_EQ(entries.back(), "Observer.cfg");
    for (size_t i = 0; i < entries.size(); ++i) {
        SimObject obj = readObject(entries[i]);
        EXPECT_EQ(obj.ownPath, kData + "Objects/" + entries[i]) << "Item 0 names the file itself";
        bool last = i + 1 == entries.size();
        EXPECT_EQ(obj.isObserver, last ? 1 : 0) << entries[i];
        EXPECT_EQ(obj.isStar + obj.isPlanet + obj.isObserver, 1) << entries[i] << " has one type";
        EXPECT_EQ(obj.orbitedObject, kNaInt) << entries[i] << " starts with a given velocity";
        EXPECT_NE(obj.velocityKmPerS.x, kNaFloat) << entries[i];
        if (last) {
            EXPECT_FALSE(obj.hasMesh());
            continue;
        }
        EXPECT_TRUE(testdata::exists(obj.meshPath)) << obj.meshPath;
        EXPECT_TRUE(testdata::exists(obj.texturePath)) << obj.texturePath;
        EXPECT_GT(obj.equatorialRadiusKm, 0) << entries[i];
        EXPECT_GT(obj.polarRadiusKm, 0.9f * obj.equatorialRadiusKm) << entries[i];
        EXPECT_LE(obj.polarRadiusKm, obj.equatorialRadiusKm) << entries[i];
        EXPECT_GT(obj.massKg, 1e22f) << entries[i];
        EXPECT_LT(std::fabs(obj.spinAngleRad), 6.2831855f) << entries[i];
        if (obj.hasRing) {
            EXPECT_TRUE(testdata::exists(obj.ringTexturePath)) << obj.ringTexturePath;
            EXPECT_GT(obj.innerRingRadiusKm, obj.equatorialRadiusKm);
            EXPECT_GT(obj.outerRingRadiusKm, obj.innerRingRadiusKm);
        }
        if (obj.isStar) {
            EXPECT_FLOAT_EQ(obj.lightRed, 1);
            EXPECT_FLOAT_EQ(obj.lightIntensity, 1);
        }
    }
}

TEST(DefaultConfiguration, ObjectFilesAreInTheWritersExactLayout) {
    // Reading a delivered file and formatting it again must give the same bytes: labels, section
    // lines, "na" markers and six-digit numbers are those the simulator itself writes on exit.
    for (const std::string& entry : defaultEntries()) {
        SimObject obj = readObject(entry);
        EXPECT_EQ(formatObjectFile(obj, kData), testdata::readText(kData + "Objects/" + entry))
            << entry;
    }
    std::string templateText = testdata::readText(kData + "CfgTemplate.cfg");
    const auto& labels = objectItemLabels();
    size_t position = 0;
    for (int item = 0; item < kObjectItemCount; ++item) {
        size_t found = templateText.find(std::string("\n") + labels[size_t(item)], position);
        ASSERT_NE(found, std::string::npos) << "template lacks the line of Item " << item;
        position = found + 1;
    }
    SimObject blank;
    std::string reason;
    ASSERT_TRUE(readObjectFile(blank, kData + "CfgTemplate.cfg", kData, &reason)) << reason;
    EXPECT_EQ(formatObjectFile(blank, kData), templateText);
    EXPECT_EQ(blank.meshPath, kNaPath);
    EXPECT_EQ(blank.massKg, kNaFloat);
    EXPECT_EQ(blank.orbitedObject, kNaInt);
}

TEST(DefaultConfiguration, SolarSystemIsPhysicallySound) {
    std::vector<std::string> entries = defaultEntries();
    std::vector<SimObject> objects;
    for (const std::string& entry : entries) objects.push_back(readObject(entry));
    const SimObject& sun = objects[0];
    const SimObject& earth = objects[3];
    const SimObject& moon = objects[4];
    const SimObject& observer = objects.back();
    ASSERT_EQ(entries[3], "Earth.cfg");
    ASSERT_EQ(entries[4], "Moon.cfg");

    // Earth in early January: near perihelion, 0.983 AU from the Sun at about 30 km/s, on the
    // far side of the Sun from its direction in the sky (right ascension about 18.75 h).
    double earthSunAu = distanceKm(earth.positionKm, sun.positionKm) / kAuKm;
    EXPECT_NEAR(earthSunAu, 0.9833, 0.001);
    EXPECT_NEAR(lengthOf(earth.velocityKmPerS), 30.27, 0.1);
    EXPECT_NEAR(distanceKm(moon.positionKm, earth.positionKm), 402450, 2000);

    // Total momentum vanishes, so the system's centre of mass stays put.
    double px = 0, py = 0, pz = 0, mass = 0;
    for (size_t i = 0; i + 1 < objects.size(); ++i) {
        px += double(objects[i].massKg) * objects[i].velocityKmPerS.x;
        py += double(objects[i].massKg) * objects[i].velocityKmPerS.y;
        pz += double(objects[i].massKg) * objects[i].velocityKmPerS.z;
        mass += objects[i].massKg;
    }
    EXPECT_LT(std::sqrt(px * px + py * py + pz * pz) / mass, 1e-5);

    // The observer orbits Earth low enough to refill its energy (at most 20000 km above the
    // surface) but above the 1500 km surface limit, and sees Earth ahead (+z), right of centre.
    Vec3f toEarth{earth.positionKm.x - observer.positionKm.x, earth.positionKm.y - observer.positionKm.y,
                  earth.positionKm.z - observer.positionKm.z};
    double altitude = lengthOf(toEarth) - earth.equatorialRadiusKm;
    EXPECT_GT(altitude, 1500);
    EXPECT_LE(altitude, 20000);
    EXPECT_GT(toEarth.z / lengthOf(toEarth), 0.95);
    EXPECT_GT(toEarth.x, 0);
    Vec3f relVelocity{observer.velocityKmPerS.x - earth.velocityKmPerS.x,
                      observer.velocityKmPerS.y - earth.velocityKmPerS.y,
                      observer.velocityKmPerS.z - earth.velocityKmPerS.z};
    double circular = std::sqrt(kEarthGmKm3PerS2 / lengthOf(toEarth));
    EXPECT_NEAR(lengthOf(relVelocity), circular, 0.01 * circular);
    EXPECT_FLOAT_EQ(observer.forwardDirection.z, 1);
    EXPECT_FLOAT_EQ(observer.upDirection.y, 1);
    EXPECT_FLOAT_EQ(observer.rightDirection.x, 1);
    EXPECT_LE(observer.energyKJ, 1e11f);
    EXPECT_LE(observer.torqueLevel, 0.009f);
    EXPECT_LE(observer.nominalForceKN.x, 10000);

    // No two objects overlap at the start, judged by polar radii as the launcher's check does.
    for (size_t a = 0; a < objects.size(); ++a)
        for (size_t b = a + 1; b < objects.size(); ++b) {
            float ra = objects[a].isObserver ? 0 : objects[a].polarRadiusKm;
            float rb = objects[b].isObserver ? 0 : objects[b].polarRadiusKm;
            EXPECT_GT(distanceKm(objects[a].positionKm, objects[b].positionKm), ra + rb)
                << entries[a] << " and " << entries[b];
        }

    // Earth turns eastward once per sidereal day, which in this frame is a negative rate.
    EXPECT_NEAR(earth.spinRate, -1.0 / 86164.1, 1e-9);
    EXPECT_FLOAT_EQ(earth.tiltRad, 0);
}
