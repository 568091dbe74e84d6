// Ring radii, the two opposite strips and the shadow quads.
#include <gtest/gtest.h>

#include <cmath>

#include "ring_model.h"
#include "scene_placement.h"

TEST(RingModel, RadiiAreInDisplayRadiiAfterTheUnitScale) {
    const float r = 60268, meshRadius = 3.7f;
    const RingRadii radii = ringRadiiInMeshUnits(1.5f * r, 2.5f * r, r, meshRadius);
    const Mat4f unit = unitScaleMatrix(meshRadius, r, r);
    EXPECT_NEAR(transformPoint({radii.inner, 0, 0}, unit).x, 1.5f * kBodyDisplayRadius, 1e-4);
    EXPECT_NEAR(transformPoint({0, 0, radii.outer}, unit).z, 2.5f * kBodyDisplayRadius, 1e-4);
    EXPECT_FLOAT_EQ(ringRadiiInMeshUnits(1, 2, 0, 1).outer, 0);
}

TEST(RingModel, TwoStripsWithOppositeNormals) {
    RingModel ring({1.5f, 2.5f}, "ring.png");
    const std::vector<VertexPnt> v = ring.ringVertices();
    ASSERT_EQ(v.size(), 404u);
    for (int k = 0; k <= 100; ++k) {
        const VertexPnt& in = v[2 * k];
        const VertexPnt& out = v[2 * k + 1];
        EXPECT_NEAR(std::hypot(in.x, in.z), 1.5f, 1e-5);
        EXPECT_NEAR(std::hypot(out.x, out.z), 2.5f, 1e-5);
        EXPECT_EQ(in.ny, -1);
        EXPECT_EQ(v[202 + 2 * k].ny, 1);
        EXPECT_EQ(v[202 + 2 * k].x, in.x);
        EXPECT_EQ(in.u, 0);
        EXPECT_EQ(out.u, 1);
        EXPECT_FLOAT_EQ(in.v, k / 100.0f);
    }
    EXPECT_NEAR(v[200].x, v[0].x, 1e-5);  // the strip closes
    EXPECT_NEAR(v[200].z, v[0].z, 1e-5);
}

TEST(RingModel, ShadowQuadsAndInnerEdgesInsideThePlanet) {
    const float r = 60000;
    RingModel ring(ringRadiiInMeshUnits(1.5f * r, 2.5f * r, r, 1.0f), "ring.png");
    std::vector<VertexPnt> s = ring.shadowVertices(r, 1.5f * r, 2.5f * r);
    ASSERT_EQ(s.size(), 12u);
    const float f = std::atan(std::asin(1 / 1.5f) / 2) * 1.5f * 1.2f + 1.0f;
    EXPECT_FLOAT_EQ(s[0].x, -1.0f);  // l: the equatorial radius in ring units
    EXPECT_FLOAT_EQ(s[0].z, 2.5f);
    EXPECT_NEAR(s[1].z, 2.5f - f, 1e-5);
    EXPECT_FLOAT_EQ(s[4].x, 1.0f);
    EXPECT_FLOAT_EQ(s[0].y, -0.005f);
    EXPECT_FLOAT_EQ(s[6].y, 0.005f);
    for (const VertexPnt& p : s) EXPECT_EQ(p.nx * p.nx + p.ny * p.ny + p.nz * p.nz, 0.0f);

    // Inner radius at or inside the equator, or unset: the shadow of a ring touching the planet.
    for (float inner : {r, 0.5f * r, 0.0f}) {
        RingModel low(ringRadiiInMeshUnits(inner, 2.5f * r, r, 1.0f), "ring.png");
        s = low.shadowVertices(r, inner, 2.5f * r);
        const float expected = std::atan(1.5707964f / 2) * (inner / r) * 1.2f + (2.5f - inner / r);
        for (const VertexPnt& p : s) {
            EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.z) && std::isfinite(p.u)) << inner;
        }
        EXPECT_NEAR(s[1].z, 2.5f - expected, 1e-5) << inner;
    }
}

TEST(RingModel, ShadowReadsTheRingTextureAtItsOwnRadius) {
    // Saturn's proportions. Interpolating the corners' u over the strips' triangles, as the
    // rasteriser does, must give about the radial coordinate where the quads lie on the ring,
    // and values in the texture's transparent outer margin (above 0.98) beyond the outer edge.
    const float r = 60268, inner = 74500, outer = 140220;
    const RingModel ring(ringRadiiInMeshUnits(inner, outer, r, 1.0f), "ring.png");
    const float rIn = ring.radii().inner, rOut = ring.radii().outer, planet = 1.0f;
    const std::vector<VertexPnt> s = ring.shadowVertices(r, inner, outer);
    ASSERT_EQ(s.size(), 12u);
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(s[i].u, s[i + 6].u) << "both strips read alike";
    double squares = 0, worstOnRing = 0, lowestBeyond = 2;
    int onRing = 0, beyond = 0;
    constexpr int kSteps = 40;
    for (size_t t = 0; t < 4; ++t)
        for (int i = 0; i <= kSteps; ++i)
            for (int j = 0; i + j <= kSteps; ++j) {
                const float w[3] = {float(i) / kSteps, float(j) / kSteps, 1 - float(i + j) / kSteps};
                float x = 0, z = 0, u = 0;
                for (size_t k = 0; k < 3; ++k) {
                    x += w[k] * s[t + k].x;
                    z += w[k] * s[t + k].z;
                    u += w[k] * s[t + k].u;
                }
                const float radius = std::hypot(x, z);
                if (radius > rOut * 1.0001f) {
                    lowestBeyond = std::min(lowestBeyond, double(u));
                    ++beyond;
                } else if (radius >= rIn && radius >= planet) {
                    const double error = u - (radius - rIn) / (rOut - rIn);
                    squares += error * error;
                    worstOnRing = std::max(worstOnRing, std::fabs(error));
                    ++onRing;
                }
            }
    ASSERT_GT(onRing, 100);
    ASSERT_GT(beyond, 10);
    EXPECT_LT(std::sqrt(squares / onRing), 0.04);
    EXPECT_LT(worstOnRing, 0.2);
    EXPECT_GT(lowestBeyond, 0.98);
}
