// Orbit initialisation: circular-orbit velocity in the plane of the two orbital points, the three
// refusal reasons, out-of-range and self references, and objects that must be left alone.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "orbit_init.h"
#include "test_data_dir.h"

namespace {

constexpr float kMassKg = 1.989e30f;
constexpr float kDistanceKm = 1.5e8f;

SimObject body(Vec3f positionKm, Vec3f velocityKmPerS = {}) {
    SimObject o = testdata::minimalStar();
    o.positionKm = positionKm;
    o.velocityKmPerS = velocityKmPerS;
    o.ownPath = "/data/Objects/Sun.cfg";
    return o;
}

SimObject orbiter(int32_t orbited, Vec3f p1, Vec3f p2) {
    SimObject o;
    o.massKg = 6e24f;
    o.velocityKmPerS = {kNaFloat, 5, 6};
    o.orbitedObject = orbited;
    o.orbitalPosition1Km = p1;
    o.orbitalPosition2Km = p2;
    o.ownPath = "/data/Objects/Earth.cfg";
    return o;
}

float circularSpeed() { return std::sqrt(kGravityFloatKm3PerKgS2 * kMassKg / kDistanceKm); }

}  // namespace

TEST(OrbitInit, CircularVelocityAboutABody) {
    const Vec3f b{10, 20, 30};
    // P1 = (d, 0, 0), P2 = (0, 0, d) relative to a body at rest: (0, 0, -sqrt(GM/d)).
    std::vector<SimObject> objects{body(b), orbiter(1, b + Vec3f{kDistanceKm, 0, 0}, b + Vec3f{0, 0, kDistanceKm})};
    ASSERT_FALSE(initialiseOrbits(objects).has_value());
    const SimObject& a = objects[1];
    EXPECT_EQ(a.positionKm.x, b.x + kDistanceKm);
    EXPECT_EQ(a.positionKm.z, b.z);
    EXPECT_NEAR(a.velocityKmPerS.x, 0.0f, 1e-6f);
    EXPECT_NEAR(a.velocityKmPerS.y, 0.0f, 1e-6f);
    EXPECT_NEAR(a.velocityKmPerS.z, -circularSpeed(), 1e-4f);
    EXPECT_NEAR(circularSpeed(), 29.75f, 0.05f);  // Earth's orbital speed, as a sanity check of G

    // P2 at an angle theta from P1 and at another distance: the speed is sqrt(GM / |r1|) sin theta,
    // perpendicular to r1 in the plane of both points, away from P2.
    struct Tilted {
        float r1Km, r2Km, thetaDeg;
    };
    for (const Tilted& t : {Tilted{kDistanceKm, kDistanceKm, 45}, Tilted{kDistanceKm, 4 * kDistanceKm, 30},
                            Tilted{2 * kDistanceKm, 0.5f * kDistanceKm, 120}}) {
        SCOPED_TRACE(testing::Message() << t.r1Km << " km, " << t.r2Km << " km, " << t.thetaDeg << " degrees");
        const double theta = t.thetaDeg * M_PI / 180;
        const Vec3f p2{static_cast<float>(t.r2Km * std::cos(theta)), 0, static_cast<float>(t.r2Km * std::sin(theta))};
        objects = {body(b), orbiter(1, b + Vec3f{t.r1Km, 0, 0}, b + p2)};
        ASSERT_FALSE(initialiseOrbits(objects).has_value());
        const Vec3f v = objects[1].velocityKmPerS;
        const double speed = std::sqrt(kGravityFloatKm3PerKgS2 * double(kMassKg) / t.r1Km) * std::sin(theta);
        EXPECT_NEAR(v.x, 0.0, 1e-5 * speed);
        EXPECT_NEAR(v.y, 0.0, 1e-5 * speed);
        EXPECT_NEAR(v.z, -speed, 1e-5 * speed);
    }

    // B's velocity is added; a body below the orbiter with a given velocity works too.
    objects = {orbiter(2, {0, kDistanceKm, 0}, {kDistanceKm, 0, 0}), body({}, {1, 2, 3})};
    ASSERT_FALSE(initialiseOrbits(objects).has_value());
    EXPECT_NEAR(objects[0].velocityKmPerS.x, 1.0f - circularSpeed(), 1e-4f);
    EXPECT_NEAR(objects[0].velocityKmPerS.y, 2.0f, 1e-5f);
    EXPECT_NEAR(objects[0].velocityKmPerS.z, 3.0f, 1e-5f);
}

TEST(OrbitInit, ChainUsesTheFinalStateOfTheObjectAbove) {
    // A moon orbits a planet that itself orbits the star; the planet is handled first.
    const float moonDistanceKm = 384400;
    std::vector<SimObject> objects{
        body({}),
        orbiter(1, {kDistanceKm, 0, 0}, {0, 0, kDistanceKm}),
        orbiter(2, {kDistanceKm + moonDistanceKm, 0, 0}, {kDistanceKm, 0, moonDistanceKm})};
    ASSERT_FALSE(initialiseOrbits(objects).has_value());
    const float moonSpeed = std::sqrt(kGravityFloatKm3PerKgS2 * 6e24f / moonDistanceKm);
    EXPECT_NEAR(objects[2].velocityKmPerS.z, objects[1].velocityKmPerS.z - moonSpeed, 1e-3f);
    EXPECT_EQ(objects[2].positionKm.x, kDistanceKm + moonDistanceKm);
}

TEST(OrbitInit, ObjectsLeftAlone) {
    // Velocity given: untouched, whatever Item 8 says (even an impossible one).
    SimObject given = orbiter(99, {1, 2, 3}, {4, 5, 6});
    given.velocityKmPerS = {1, kNaFloat, 3};
    given.positionKm = {7, 8, 9};
    // "na" velocity and "na" Item 8: moved to P1, keeps the marker.
    SimObject free = orbiter(kNaInt, {11, 12, 13}, {});
    std::vector<SimObject> objects{body({}), given, free};
    ASSERT_FALSE(initialiseOrbits(objects).has_value());
    EXPECT_EQ(objects[1].positionKm.x, 7.0f);
    EXPECT_EQ(objects[1].velocityKmPerS.y, kNaFloat);
    EXPECT_EQ(objects[2].positionKm.y, 12.0f);
    EXPECT_EQ(objects[2].velocityKmPerS.x, kNaFloat);
    EXPECT_EQ(objects[2].velocityKmPerS.y, 5.0f);
}

TEST(OrbitInit, RefusalsNameTheObjectAndTheReason) {
    const std::string start =
        "Unable to compute the initial orbital velocity for the object\n\n/data/Objects/Earth.cfg\n\n";
    auto failure = [](std::vector<SimObject> objects) { return initialiseOrbits(objects); };

    auto f = failure({body({5, 5, 5}), orbiter(1, {5, 5, 5}, {1, 0, 0})});
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->objectIndex, 1u);
    EXPECT_EQ(f->message, start + "because the orbiting bodies are located at the same position.");

    f = failure({body({}), orbiter(1, {1, 0, 0}, {0, 0, 0})});
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->message, start + "because the orbiting bodies are located at the same position.");

    const std::string aligned = start + "because the orbital position vectors are aligned (the cross product vanishes).";
    f = failure({body({}), orbiter(1, {kDistanceKm, 0, 0}, {2 * kDistanceKm, 0, 0})});
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->message, aligned);
    f = failure({body({}), orbiter(1, {0, kDistanceKm, 0}, {0, -kDistanceKm, 0})});
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->message, aligned);

    // Out of range and self references are refused without reading outside the array.
    for (int32_t bad : {0, -1, 3, 1000, kNaInt - 1}) {
        f = failure({body({}), orbiter(bad, {1, 0, 0}, {0, 1, 0})});
        ASSERT_TRUE(f.has_value()) << bad;
        EXPECT_EQ(f->message, start + "because its orbital relationship names no object of the configuration.");
    }
    f = failure({body({}), orbiter(2, {1, 0, 0}, {0, 1, 0})});
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->message, start + "because its orbital relationship names the object itself.");
}
