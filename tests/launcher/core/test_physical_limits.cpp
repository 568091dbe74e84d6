// The physical notes and orbit figures against published figures: Earth's Hill sphere (about
// 1.5 million km) holds the Moon, Saturn's main rings (74,658 to 136,775 km) lie inside its Roche
// limit for ice, a moon at two Hill radii is flagged, and Earth's orbit from the shipped data has
// the published period, semi-major axis and tilt to the equator.
#include <gtest/gtest.h>

#include <cmath>

#include "object_fixtures.h"
#include "physical_limits.h"
#include "readable_units.h"
#include "starting_state.h"

namespace {

constexpr double kEarthMassKg = 5.9722e24;
constexpr double kSunMassKg = 1.98847e30;
constexpr double kSaturnMassKg = 5.6834e26;

// Sun at the origin, Earth at 1 AU moving on a circular orbit, a moon at distance moonKm from
// Earth on a circular orbit about it.
StartingState sunEarthMoon(double moonKm) {
    SimObject sun = fixtures::star();
    sun.massKg = static_cast<float>(kSunMassKg);
    SimObject earth = fixtures::body(static_cast<float>(kAstronomicalUnitKm), 6378, static_cast<float>(kEarthMassKg));
    earth.velocityKmPerS = {0, 0, 29.78f};
    SimObject moon = fixtures::body(static_cast<float>(kAstronomicalUnitKm + moonKm), 1738, 7.342e22f);
    moon.velocityKmPerS = {0, 0, 29.78f + 1.022f};
    moon.orbitedObject = 2;
    return startingState({sun, earth, moon, fixtures::observer(1e10f)});
}

const std::vector<std::string> kNames = {"Sun", "Earth", "Moon", "Ship"};

TEST(PhysicalLimits, EarthsHillSphereHoldsTheMoonButNotAMoonAtTwoHillRadii) {
    const double hill = hillRadiusKm(kEarthMassKg, kAstronomicalUnitKm, kSunMassKg);
    EXPECT_NEAR(hill, 1.5e6, 0.02 * 1.5e6);  // published: about 1.5 million km (0.01 AU)
    EXPECT_TRUE(physicalNotes(sunEarthMoon(384400), kNames).empty());

    std::vector<std::string> notes = physicalNotes(sunEarthMoon(2 * hill), kNames);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("Moon starts 2.99 million km from Earth, outside the Hill sphere of Earth (radius 1.50 million km)"),
              std::string::npos)
        << notes[0];
}

TEST(PhysicalLimits, SaturnsMainRingsLieInsideItsRocheLimitForIce) {
    const double roche = rocheLimitForIceKm(kSaturnMassKg, 60268, 54364);
    EXPECT_GT(roche, 136775);  // outer edge of the A ring
    EXPECT_LT(roche, 1.2 * 136775);
    SimObject saturn = fixtures::body(1.4e9f, 60268, static_cast<float>(kSaturnMassKg));
    saturn.polarRadiusKm = 54364;
    saturn.hasRing = 1;
    saturn.innerRingRadiusKm = 74658;
    saturn.outerRingRadiusKm = 136775;
    const std::vector<std::string> names = {"Sun", "Saturn", "Ship"};
    EXPECT_TRUE(physicalNotes(startingState({fixtures::star(), saturn, fixtures::observer(1e10f)}), names).empty());
    // Phoebe's ring, far out, could not be held together as ice.
    saturn.innerRingRadiusKm = 6e6f;
    saturn.outerRingRadiusKm = 1.2e7f;
    std::vector<std::string> notes =
        physicalNotes(startingState({fixtures::star(), saturn, fixtures::observer(1e10f)}), names);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("The ring of Saturn begins at 6.00 million km, outside the Roche limit"),
              std::string::npos)
        << notes[0];
}

TEST(PhysicalLimits, OrbitDippingIntoItsPrimaryAndSimulatorRefusalAreNoted) {
    // Two orbital points 1 degree apart: the set-up gives only sin(1 deg) of the circular speed.
    SimObject sun = fixtures::star();
    SimObject planet = fixtures::body(0, 3000, 1e23f);
    planet.velocityKmPerS.x = kNaFloat;
    planet.orbitedObject = 1;
    planet.orbitalPosition1Km = {1e7f, 0, 0};
    planet.orbitalPosition2Km = {1e7f * std::cos(0.01745f), 0, 1e7f * std::sin(0.01745f)};
    const std::vector<std::string> names = {"Sun", "Icarus", "Ship"};
    std::vector<std::string> notes = physicalNotes(startingState({sun, planet, fixtures::observer(1e10f)}), names);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("The orbit of Icarus comes within"), std::string::npos) << notes[0];
    EXPECT_NE(notes[0].find("Icarus will strike Sun."), std::string::npos) << notes[0];

    planet.orbitalPosition2Km = {2e7f, 0, 0};  // aligned with the first point
    notes = physicalNotes(startingState({sun, planet, fixtures::observer(1e10f)}), names);
    ASSERT_FALSE(notes.empty());
    EXPECT_NE(notes[0].find("because the orbital position vectors are aligned"), std::string::npos);
}

TEST(OrbitFigures, CircularOrbitFromTwoPointsAQuarterTurnApart) {
    SimObject planet;
    planet.massKg = 1e20f;
    planet.velocityKmPerS.x = kNaFloat;
    planet.orbitalPosition1Km = {1e8f, 0, 0};
    planet.orbitalPosition2Km = {0, 0, 1e8f};
    planet.orbitedObject = 1;
    SimObject sun = fixtures::star();
    OrbitPrediction p = predictOrbit(startingState({sun, planet}), 1);
    ASSERT_TRUE(p.ok) << p.failure;
    const double gm = 6.672e-20 * (1.989e30 + 1e20);
    EXPECT_NEAR(p.figures.eccentricity, 0, 1e-5);
    EXPECT_NEAR(p.figures.semiMajorAxisKm, 1e8, 1e8 * 1e-5);
    EXPECT_NEAR(p.figures.periodS, 2 * M_PI * std::sqrt(1e24 / gm), 1e-5 * p.figures.periodS);
    EXPECT_NEAR(p.figures.periapsisAltitudeKm(), 1e8 - 696000, 1e3);
    EXPECT_TRUE(p.figures.bound);
    // Moving from +x (18 h) away from the second point at 0 h: towards -z, through 12 h, which is
    // clockwise seen from the north, a retrograde orbit in the equatorial plane.
    EXPECT_NEAR(p.figures.inclinationDeg, 180, 1e-3);
}

TEST(OrbitFigures, EarthFromTheShippedDataHasItsPublishedOrbit) {
    std::string unreadable;
    auto objects = readListObjects({"Sun", "Earth"}, CELESTRIX_DATA_SOURCE, unreadable);
    ASSERT_TRUE(objects) << unreadable;
    (*objects)[1].orbitedObject = 1;
    OrbitPrediction p = predictOrbit(startingState(std::move(*objects)), 1);
    ASSERT_TRUE(p.ok) << p.failure;
    EXPECT_NEAR(p.figures.periodS / kSecondsPerDay, 365.256, 2.0);  // sidereal year
    EXPECT_NEAR(p.figures.semiMajorAxisKm / kAstronomicalUnitKm, 1.0, 0.005);
    EXPECT_NEAR(p.figures.eccentricity, 0.0167, 0.003);
    EXPECT_NEAR(p.figures.inclinationDeg, 23.44, 0.1);  // the ecliptic's tilt to the equator
}

TEST(ReadableUnits, DistancesAndDurations) {
    EXPECT_EQ(readableDistance(6371), "6,371 km");
    EXPECT_EQ(readableDistance(1.5e6), "1.50 million km");
    EXPECT_EQ(readableDistance(7.78479e8), "5.204 AU (778.5 million km)");
    EXPECT_EQ(readableDistance(-2500), "-2,500 km");
    EXPECT_EQ(readableDuration(3.5 * 3600), "3.50 hours");
    EXPECT_EQ(readableDuration(27.32 * kSecondsPerDay), "27.32 days");
    EXPECT_EQ(readableDuration(4332.6 * kSecondsPerDay), "11.86 years (4,332.6 days)");
}

}  // namespace
