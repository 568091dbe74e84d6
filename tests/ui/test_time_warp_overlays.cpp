// The warp line's text and the prediction line's placement: the ship's path starts at the eye and
// keeps the reference body's stretch, the target's path goes round the body it orbits, and the
// closest approach is marked.
#include <gtest/gtest.h>

#include <cmath>

#include "drift_gauge.h"
#include "prediction_line.h"
#include "scene_placement.h"
#include "warp_indicator.h"

namespace {

SimObject body(float massKg, float radiusKm, Vec3f position) {
    SimObject o;
    o.massKg = massKg;
    o.equatorialRadiusKm = o.polarRadiusKm = radiusKm;
    o.positionKm = position;
    return o;
}

}  // namespace

TEST(WarpIndicator, FactorTextOnlyAboveOne) {
    TimeWarp warp;
    EXPECT_EQ(warpFactorText(warp), "");
    warp.level = 3;
    EXPECT_EQ(warpFactorText(warp), "Time warp 1,000x");
    warp.level = 5;
    EXPECT_EQ(warpFactorText(warp), "Time warp 100,000x");
    EXPECT_EQ(horizonText(3 * 3600), "3 h");
    EXPECT_EQ(horizonText(900), "15 min");
    EXPECT_EQ(horizonText(30 * 86400), "30 d");
    EXPECT_EQ(driftGaugeText({1.2e-9, 3.4e-10}), "Energy drift +1.2e-09\nAngular momentum drift 3.4e-10");
}

TEST(PredictionLine, PathStartsAtTheEyeAndKeepsTheReferenceStretch) {
    SimState s;
    // Earth, a moon 384,000 km out, the ship 10,000 km from Earth's centre.
    s.objects = {body(5.97e24f, 6378, {1e5f, 0, 0}), body(7.3e22f, 1738, {1e5f + 384000, 0, 0}),
                 body(1e5f, 0, {1e5f - 10000, 0, 0})};
    s.objects.back().isObserver = 1;
    PredictedPath path;
    path.valid = true;
    path.referenceIndex = 0;
    path.timesS = {0, 100, 200};
    // Earth has moved by 1000 km in x at the later points; the ship goes round it.
    path.reference = {{1e5, 0, 0}, {1e5 + 1000, 0, 0}, {1e5 + 1000, 0, 0}};
    path.ship = {{1e5 - 10000, 0, 0}, {1e5 + 1000, 0, 10000}, {1e5 + 11000, 0, 0}};
    std::vector<VertexPc> v = predictionLineVertices(path, s);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_NEAR(v[0].x, 0, 1e-6);  // the eye
    const double e = kDistanceCompression / 6378.0 * kDisplayScale;
    // Earth is drawn at 10,000 km * e; the point beside it 10,000 km * e further along z.
    EXPECT_NEAR(v[1].x, 10000 * e, 1e-3);
    EXPECT_NEAR(v[1].z, 10000 * e, 1e-3);
    EXPECT_NEAR(v[3].x, 20000 * e, 1e-3);  // across Earth: the ellipse closes round the drawn body
    EXPECT_TRUE(predictionLineVertices(PredictedPath{}, s).empty());

    // A target (the moon) round Earth, and the ship's closest approach to it marked by a cross.
    path.targetIndex = 1;
    path.targetReferenceIndex = 0;
    path.target = {{1e5 + 384000, 0, 0}, {1e5 + 384000, 0, 1000}, {1e5 + 384000, 0, 2000}};
    path.targetReference = path.reference;
    path.closestKm = 370000;
    path.closestTimeS = 200;
    v = predictionLineVertices(path, s);
    ASSERT_EQ(v.size(), 4u + 4u + 6u);
    EXPECT_NEAR(v[4].x, (10000 + 384000) * e, 1);
    EXPECT_NEAR(v[8].x + v[9].x, 2 * 20000 * e, 1e-3);  // the cross is centred on the last point
}
