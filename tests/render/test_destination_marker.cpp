// Tests of the destination marker's geometry: its corners, orientation and placement; no GL needed.
#include <gtest/gtest.h>

#include <cmath>

#include "destination_marker.h"

namespace {

constexpr float kTol = 1e-6f;

}  // namespace

TEST(DestinationMarkerGeometry, SquareOnItsCornerFacingTheCamera) {
    auto v = destinationMarkerVertices(Mat4f{});
    EXPECT_NEAR(v[0].x, -0.0275f, kTol);  // -right
    EXPECT_NEAR(v[1].y, 0.0275f, kTol);   // +up
    EXPECT_NEAR(v[2].y, -0.0275f, kTol);  // -up
    EXPECT_NEAR(v[3].x, 0.0275f, kTol);   // +right
    EXPECT_FLOAT_EQ(v[1].u, 0);
    EXPECT_FLOAT_EQ(v[1].v, 1);
    EXPECT_FLOAT_EQ(v[2].u, 1);
    EXPECT_FLOAT_EQ(v[2].v, 0);
    for (const VertexPnt& p : v) {
        EXPECT_FLOAT_EQ(p.nx, 1);
        EXPECT_FLOAT_EQ(p.ny, 0);
        EXPECT_FLOAT_EQ(p.nz, 0);
    }
    // Diagonal 0.055 render units.
    EXPECT_NEAR(v[3].x - v[0].x, kDestinationMarkerSize, kTol);

    // With a turned camera the square stays perpendicular to the view direction (third column).
    Mat4f view = rotationY(0.7f) * rotationX(-0.4f) * translation(5, 6, 7);
    Vec3f viewDir{view.m[0][2], view.m[1][2], view.m[2][2]};
    for (const VertexPnt& p : destinationMarkerVertices(view)) {
        EXPECT_NEAR(dot(Vec3f{p.x, p.y, p.z}, viewDir), 0.0f, kTol);
        EXPECT_NEAR(length(Vec3f{p.x, p.y, p.z}), 0.0275f, kTol);
    }

    // Placed one render unit along the direction of motion; nothing to mark at rest.
    std::optional<Mat4f> world = destinationMarkerWorld({0, 0, 5});
    ASSERT_TRUE(world.has_value());
    EXPECT_FLOAT_EQ(world->m[3][2], 1);
    EXPECT_FLOAT_EQ(world->m[3][0], 0);
    world = destinationMarkerWorld({-3, 4, 0});
    ASSERT_TRUE(world.has_value());
    EXPECT_FLOAT_EQ(world->m[3][0], -0.6f);
    EXPECT_FLOAT_EQ(world->m[3][1], 0.8f);
    EXPECT_FALSE(destinationMarkerWorld({0, 0, 0}).has_value());
}
