// Tests of the heads-up display's text: the direction conversion and the composed lines of a
// known configuration, compared whole, plus the limits of the text store.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "hud_text.h"

namespace {

constexpr float kAngleTolRad = 1e-6f;

// Sun straight ahead along +Z, Earth behind along -Z, the observer at rest at the origin.
struct KnownSystem {
    std::vector<SimObject> objects;
    std::vector<std::string> names{"Sun.cfg", "Earth.cfg", "Ship.cfg"};
    Mat4f view;  // identity: looking along +Z

    KnownSystem() {
        SimObject sun;
        sun.positionKm = {0, 0, 1000};
        sun.velocityKmPerS = {0, 0, 5};  // moving away at 5 km/s
        sun.equatorialRadiusKm = 100;
        SimObject earth;
        earth.positionKm = {0, 0, -2000};
        earth.equatorialRadiusKm = 50;
        SimObject ship;
        ship.massKg = 1000;
        ship.forwardDirection = {0, 0, 1};
        ship.upDirection = {0, 1, 0};
        ship.rightDirection = {1, 0, 0};
        ship.actingForceKN = {10, 0, 0};
        ship.nominalForceKN = {20, 30, 40};
        ship.torqueLevel = 0.005f;
        ship.jumpDistanceKm = 1234.5f;
        objects = {sun, earth, ship};
    }
};

}  // namespace

TEST(DirectionToDecRa, AxesAndDegenerateInput) {
    DecRa zero = directionToDecRa({0, 0, 0});
    EXPECT_EQ(zero.length, 0.0f);
    EXPECT_EQ(zero.declinationRad, 0.0f);
    EXPECT_EQ(zero.rightAscensionRad, 0.0f);

    DecRa plusZ = directionToDecRa({0, 0, 2});
    EXPECT_FLOAT_EQ(plusZ.length, 2.0f);
    EXPECT_NEAR(plusZ.declinationRad, 0.0f, kAngleTolRad);
    EXPECT_NEAR(plusZ.rightAscensionRad * kHoursPerRad, 24.0f, 1e-4f);
    EXPECT_NEAR(directionToDecRa({0, 0, -1}).rightAscensionRad * kHoursPerRad, 12.0f, 1e-4f);
    EXPECT_NEAR(directionToDecRa({-1, 0, 0}).rightAscensionRad * kHoursPerRad, 6.0f, 1e-4f);
    EXPECT_NEAR(directionToDecRa({1, 0, 0}).rightAscensionRad * kHoursPerRad, 18.0f, 1e-4f);
    EXPECT_NEAR(directionToDecRa({0, 3, 0}).declinationRad * kDegreesPerRad, 90.0f, 1e-4f);
    EXPECT_NEAR(directionToDecRa({0, -3, 0}).declinationRad * kDegreesPerRad, -90.0f, 1e-4f);

    // 45 degrees north, between -X (6 h) and +Z (0 h): right ascension 3 h.
    DecRa mid = directionToDecRa({-1, std::sqrt(2.0f), 1});
    EXPECT_NEAR(mid.declinationRad * kDegreesPerRad, 45.0f, 1e-3f);
    EXPECT_NEAR(mid.rightAscensionRad * kHoursPerRad, 3.0f, 1e-4f);
    // A vector whose y / r rounds past 1 still gives a finite declination.
    EXPECT_TRUE(std::isfinite(directionToDecRa({1e-30f, 1, 0}).declinationRad));
}

TEST(ComposeHud, KnownConfigurationWholeLines) {
    KnownSystem s;
    HudText text;
    size_t count = composeHud(text, s.objects, s.names, s.view, 90061.5f,
                              Vec3f{1.5f, 0.25f, 6.0f}, 0.0f);
    ASSERT_EQ(count, 15u);  // n + 12
    ASSERT_EQ(text.lines.size(), 15u);
    const std::string rule(64, '_');
    const std::vector<std::string> expected = {
        "MISSION TIME:  1 : 01 : 01 : 01                 ENERGY:   0.00 %",
        rule,
        "OBJECTS            Dec [o]     RA [h]         R [km]   R' [km/s]",
        "Sun                   0.00      24.00       9.00e+02    5.00e+00",
        "Earth                 0.00      12.00       1.95e+03    0.00e+00",
        rule,
        "DIRECTIONS         Dec [o]     RA [h]      ACCELERATION [km/s^2]",
        "Thruster 1 (fw)       0.00      24.00       1.00e-02 /  2.00e-02",
        "Thruster 2 (rt)       0.00      18.00       0.00e+00 /  4.00e-02",
        "Thruster 3 (up)      90.00      12.00       0.00e+00 /  3.00e-02",
        "Ship motion           0.00       0.00         JUMP DISTANCE [km]",
        "View                  0.00      24.00              1.2345000e+03",
        rule,
        "SHIP ORIENTATION     Pitch        Yaw       Roll",
        "5.0e-03 rad/s^2      1.50       0.25       6.00",
    };
    for (size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(text.lines[k], expected[k]) << "line " << k;

    // The state overload reads the same fields.
    SimState state;
    state.objects = s.objects;
    state.configEntries = s.names;
    state.missionTimeS = 90061.5f;
    state.wrappedAngles = {1.5f, 0.25f, 6.0f};
    HudText fromState;
    EXPECT_EQ(composeHud(fromState, state), 15u);
    EXPECT_EQ(fromState.lines, text.lines);
    EXPECT_EQ(joinHudLines(text).substr(0, 70),
              expected[0] + "\n\n" + rule.substr(0, 70 - expected[0].size() - 2));
}

TEST(ComposeHud, TimeEnergyAndSpeedFactor) {
    KnownSystem s;
    HudText text;
    composeHud(text, s.objects, s.names, s.view, 86400.0f, {}, 1e11f);
    EXPECT_EQ(text.lines[0], "MISSION TIME:  1 : 00 : 00 : 00                 ENERGY: 100.00 %");
    composeHud(text, s.objects, s.names, s.view, 59.999f, {}, 5e10f);
    EXPECT_EQ(text.lines[0], "MISSION TIME:  0 : 00 : 00 : 59                 ENERGY:  50.00 %");
    // Just below a full hour: every field stays in range (never "60" minutes or seconds).
    composeHud(text, s.objects, s.names, s.view, 3599.9998f, {}, 0);
    EXPECT_EQ(text.lines[0].substr(0, 31), "MISSION TIME:  0 : 00 : 59 : 59");
    composeHud(text, s.objects, s.names, s.view, 32399.998f, {}, 0);
    EXPECT_EQ(text.lines[0].substr(0, 31), "MISSION TIME:  0 : 08 : 59 : 59");
    composeHud(text, s.objects, s.names, s.view, 3.0f * 86400 + 23 * 3600 + 59 * 60 + 7, {}, 0);
    EXPECT_EQ(text.lines[0].substr(0, 31), "MISSION TIME:  3 : 23 : 59 : 07");

    // At 0.6 c the thrust acts with factor 0.8; the nominal value is unscaled. The motion
    // direction is then +X (18 h).
    s.objects.back().velocityKmPerS = {0.6f * 299972.0f, 0, 0};
    composeHud(text, s.objects, s.names, s.view, 0, {}, 0);
    EXPECT_EQ(text.lines[7], "Thruster 1 (fw)       0.00      24.00       8.00e-03 /  2.00e-02");
    EXPECT_EQ(text.lines[10], "Ship motion           0.00      18.00         JUMP DISTANCE [km]");
    // The observer's sideways motion adds nothing to the Sun's radial speed of 5 km/s.
    EXPECT_EQ(text.lines[3].substr(17), "     0.00      24.00       9.00e+02    5.00e+00");
    // At or above the limit speed thrust has no effect.
    s.objects.back().velocityKmPerS = {299972.0f, 0, 0};
    composeHud(text, s.objects, s.names, s.view, 0, {}, 0);
    EXPECT_EQ(text.lines[7].substr(44), "0.00e+00 /  2.00e-02");
}

TEST(ComposeHud, NameColumnAndDegenerateGeometry) {
    // The observer alone: an empty object table, still 13 lines.
    std::vector<SimObject> alone(1);
    alone[0].massKg = 1;
    HudText text;
    EXPECT_EQ(composeHud(text, alone, {"Ship.cfg"}, Mat4f{}, 0, {}, 0), 13u);
    EXPECT_EQ(text.lines[2].substr(0, 7), "OBJECTS");
    EXPECT_EQ(text.lines[3], std::string(64, '_'));
    EXPECT_EQ(text.lines[8], "Ship motion           0.00       0.00         JUMP DISTANCE [km]");

    // A name longer than 16 characters widens the column for every line; a name with no '.' is
    // shown whole; a body at the observer's position gives angles 0 and radial speed 0.
    KnownSystem s;
    s.names = {"TheVeryLongNameOfASun.cfg", "Earth", "Ship.cfg"};
    s.objects[1].positionKm = {0, 0, 0};
    s.objects[1].velocityKmPerS = {7, 7, 7};
    composeHud(text, s.objects, s.names, s.view, 0, {}, 0);
    const size_t column = std::string("TheVeryLongNameOfASun").size() + 1;
    EXPECT_EQ(text.lines[3].substr(0, column), "TheVeryLongNameOfASun ");
    EXPECT_EQ(text.lines[4], "Earth" + std::string(column - 5, ' ') +
                                 "     0.00       0.00      -5.00e+01    0.00e+00");
    EXPECT_EQ(text.lines[7].substr(0, column + 9),
              "Thruster 1 (fw)" + std::string(column - 15, ' ') + "     0.00");
    EXPECT_EQ(text.lines[11].substr(0, column), "View" + std::string(column - 4, ' '));

    // No objects at all gives no lines rather than reading past the list.
    EXPECT_EQ(composeHud(text, {}, {}, Mat4f{}, 0, {}, 0), 0u);
    EXPECT_TRUE(text.lines.empty());
}

TEST(ComposeHud, TextStoreLimits) {
    // 600 objects would need 612 lines: the first 500 are shown.
    std::vector<SimObject> many(600);
    std::vector<std::string> names;
    for (size_t i = 0; i < many.size(); ++i) {
        many[i].positionKm = {0, 0, static_cast<float>(i + 1)};
        names.push_back("Body" + std::to_string(i) + ".cfg");
    }
    many.back().massKg = 1;
    HudText text;
    EXPECT_EQ(composeHud(text, many, names, Mat4f{}, 0, {}, 0), kHudMaxLines);
    EXPECT_EQ(text.lines.size(), kHudMaxLines);
    EXPECT_EQ(text.lines[499].substr(0, 8), "Body496 ");

    // A 2000-character name is cut so that no line exceeds the line store.
    KnownSystem s;
    s.names[0] = std::string(2000, 'N') + ".cfg";
    composeHud(text, s.objects, s.names, s.view, 0, {}, 0);
    ASSERT_EQ(text.lines.size(), 15u);
    for (const std::string& line : text.lines) EXPECT_LE(line.size(), kHudMaxLineChars);
    EXPECT_EQ(text.lines[3], std::string(kHudMaxLineChars, 'N'));
    EXPECT_EQ(text.lines[7], "Thruster 1 (fw)" + std::string(kHudMaxLineChars - 15, ' '));

    // Composing a small system after a big one shrinks the store back.
    KnownSystem small;
    EXPECT_EQ(composeHud(text, small.objects, small.names, small.view, 0, {}, 0), 15u);
    EXPECT_EQ(text.lines[3].substr(0, 4), "Sun ");
}
