// Compressed placement, tessellation levels, ring turn, star lights and the draw order.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scene_placement.h"

namespace {

SimObject body(Vec3f positionKm, float equatorialKm, float polarKm) {
    SimObject o;
    o.meshPath = "/m.x";
    o.positionKm = positionKm;
    o.equatorialRadiusKm = equatorialKm;
    o.polarRadiusKm = polarKm;
    return o;
}

SimObject observerAt(Vec3f p) {
    SimObject o;
    o.isObserver = 1;
    o.positionKm = p;
    return o;
}

// Render-unit position of the body's centre as the camera sees it (observer at the origin of view).
Vec3f displayOffset(const Mat4f& world, Vec3f observerKm) {
    Vec3f centre = transformPoint({0, 0, 0}, world);
    return centre - observerKm * kDisplayScale;
}

}  // namespace

TEST(ScenePlacement, TessellationLevelFollowsApparentSize) {
    const float r = 6378;
    EXPECT_EQ(tessellationLevel(1.01f * r, r), 3);   // q = 100
    EXPECT_EQ(tessellationLevel(51 * r, r), 2);      // q = 0.02 is not above 0.02
    EXPECT_EQ(tessellationLevel(40 * r, r), 3);
    EXPECT_EQ(tessellationLevel(101 * r, r), 1);     // q = 0.01 is not above 0.01
    EXPECT_EQ(tessellationLevel(80 * r, r), 2);
    EXPECT_EQ(tessellationLevel(1e9f, r), 1);
}

TEST(ScenePlacement, CompressedPositionKeepsTrueAngleAndDirection) {
    const Vec3f observer{1.0e8f, 2.0e7f, -3.0e7f};
    const float r = 69911, d = 4.2e6f;
    const Vec3f dir = normalize(Vec3f{0.6f, 0.0f, 0.8f});
    const SimObject b = body(observer + dir * d, r, r);
    const Mat4f unit = unitScaleMatrix(1.0f, r, r);  // a mesh of radius 1
    const Mat4f world = bodyWorldMatrix(b, observer, rotationX(0.3f), unit);
    const Vec3f offset = displayOffset(world, observer);
    const float distanceUnits = length(offset);
    // Drawn with the display radius at this distance, the body shows its true angle R / d.
    EXPECT_NEAR(kBodyDisplayRadius / distanceUnits, r / d, 1e-4 * r / d);
    EXPECT_NEAR(dot(normalize(offset), dir), 1.0f, 1e-5);
    // The scaled mesh: a vertex at the mesh equator lands at the display radius from the centre.
    const Vec3f rim = transformPoint({1, 0, 0}, world) - transformPoint({0, 0, 0}, world);
    EXPECT_NEAR(length(rim), kBodyDisplayRadius, 1e-4);
}

TEST(ScenePlacement, FlattenedBodyHasItsVerticalOffsetAndPolarAxisScaled) {
    const Vec3f observer{0, 0, 0};
    const float r = 60000;
    const SimObject round = body({0, 3.0e6f, 4.0e6f}, r, r);
    const SimObject flat = body({0, 3.0e6f, 4.0e6f}, r, r / 2);
    const Vec3f a = compressedPositionKm(round, observer), b = compressedPositionKm(flat, observer);
    EXPECT_FLOAT_EQ(b.y, a.y / 2);
    EXPECT_FLOAT_EQ(b.z, a.z);
    const Mat4f unitFlat = unitScaleMatrix(2.0f, r / 2, r);
    const Mat4f unitRound = unitScaleMatrix(2.0f, r, r);
    EXPECT_NEAR(transformPoint({0, 2, 0}, unitRound).y, kBodyDisplayRadius, 1e-5);
    EXPECT_NEAR(transformPoint({0, 2, 0}, unitFlat).y, kBodyDisplayRadius / 2, 1e-5);
    // The body's own spin turns the mesh about Y before the tilt.
    SimObject spun = round;
    spun.spinAngleRad = 1.5707964f;
    const Mat4f w = bodyWorldMatrix(spun, observer, Mat4f::identity(), unitRound);
    const Vec3f x = transformPoint({2, 0, 0}, w) - transformPoint({0, 0, 0}, w);
    EXPECT_NEAR(x.z, -kBodyDisplayRadius, 1e-4);  // +X turned to -Z in left-handed axes
}

TEST(ScenePlacement, RingTurnPointsAwayFromTheStars) {
    EXPECT_FLOAT_EQ(ringTurnRad({0, 0, 5}, {}), 0);
    EXPECT_FLOAT_EQ(ringTurnRad({0, 0, -5}, {}), 3.1415927f);
    EXPECT_FLOAT_EQ(ringTurnRad({0, 0, 0}, {}), 3.1415927f);
    EXPECT_NEAR(ringTurnRad({5, 0, 0}, {}), 1.5707964f, 1e-6);
    EXPECT_NEAR(ringTurnRad({-5, 0, 0}, {}), -1.5707964f, 1e-6);
    // The ring's +Z (where its shadow quad lies) turns to the body's direction from a central star.
    const Vec3f p{3, 0, 4};
    const Vec3f z = transformNormal({0, 0, 1}, rotationY(ringTurnRad(p, {})));
    EXPECT_NEAR(z.x, 0.6f, 1e-6);
    EXPECT_NEAR(z.z, 0.8f, 1e-6);

    std::vector<SimObject> objects{body({0, 0, 0}, 1, 1), body({10, 0, 0}, 1, 1), body({0, 0, 20}, 1, 1),
                                   observerAt({1, 1, 1})};
    objects[0].isStar = 1;
    objects[1].isStar = 1;
    const Vec3f mean = meanStarDirection(objects);  // (0 + (1, 0, 0)) / 2
    EXPECT_FLOAT_EQ(mean.x, 0.5f);
    EXPECT_FLOAT_EQ(mean.z, 0);
    // Without stars the ring is not turned.
    const Mat4f unit = unitScaleMatrix(1, 1, 1);
    const Mat4f noStars = ringWorldMatrix(objects[2], {0, 0, 0}, Mat4f::identity(), unit, 0, mean);
    EXPECT_NEAR(transformNormal({1, 0, 0}, noStars).x, kBodyDisplayRadius, 1e-5);
}

TEST(ScenePlacement, OneDirectionalLightPerStarTowardsTheObserver) {
    std::vector<SimObject> objects{body({0, 0, 0}, 1, 1), body({5, 0, 0}, 1, 1), body({0, 100, 0}, 1, 1),
                                   observerAt({0, 0, 10})};
    objects[0].isStar = 1;
    objects[0].lightRed = 1, objects[0].lightGreen = 0.5f, objects[0].lightBlue = 0.25f, objects[0].lightIntensity = 2;
    objects[2].isStar = 1;
    objects[2].lightRed = objects[2].lightGreen = objects[2].lightBlue = objects[2].lightIntensity = 1;
    objects[3].isStar = 1;  // the observer's flag never makes a light
    const std::vector<StarLight> lights = starLights(objects);
    ASSERT_EQ(lights.size(), 2u);
    EXPECT_EQ(lights[0].index, 0);
    EXPECT_EQ(lights[1].index, 1);
    EXPECT_FLOAT_EQ(lights[0].diffuseRgb.x, 2);
    EXPECT_FLOAT_EQ(lights[0].diffuseRgb.z, 0.5f);
    EXPECT_FLOAT_EQ(lights[0].direction.z, 1);
    EXPECT_NEAR(dot(lights[1].direction, normalize(Vec3f{0, -100, 10})), 1, 1e-6);
    objects[0].isStar = objects[2].isStar = 0;
    EXPECT_TRUE(starLights(objects).empty());
}

TEST(ScenePlacement, DrawOrderIsFarthestFirstWithTheObserverLast) {
    // A small near body and a big far body in one direction: the far one is drawn first,
    // whatever their compressed positions.
    std::vector<SimObject> objects{body({0, 0, 1000}, 10, 10), body({0, 0, 1e6f}, 60000, 60000),
                                   body({0, 0, 5e4f}, 1, 1), observerAt({0, 0, 0})};
    EXPECT_GT(length(compressedPositionKm(objects[0], {})), length(compressedPositionKm(objects[1], {})));
    std::vector<int> order{0, 1, 2, 3};
    sortFarthestFirst(order, objects);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 0, 3}));
    EXPECT_EQ(compareFarthestFirst(objects, 0, 1), 1);
    EXPECT_EQ(compareFarthestFirst(objects, 1, 0), -1);
    EXPECT_EQ(compareFarthestFirst(objects, 2, 2), 0);
    // Positions that are no longer numbers sort first instead of breaking the sort.
    objects[0].positionKm.x = std::numeric_limits<float>::quiet_NaN();
    sortFarthestFirst(order, objects);
    EXPECT_EQ(order.front(), 0);
    EXPECT_EQ(order.back(), 3);
}
