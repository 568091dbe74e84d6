// A transfer to the Moon planned from a circular orbit 2,000 km above Earth in the delivered sky:
// the nodes it holds, and the path with them (as the panel shows it) reaching the chosen altitude
// at the capture and ending on a circular orbit about the Moon there.
#include <gtest/gtest.h>

#include <cmath>

#include "planned_path.h"
#include "startup.h"
#include "transfer_plan.h"

namespace {

int indexOf(const SimState& s, const std::string& entry) {
    for (size_t i = 0; i + 1 < s.objects.size(); ++i)
        if (s.configEntries[i] == entry) return static_cast<int>(i);
    return -1;
}

}  // namespace

TEST(TransferPlan, MoonPlanHoldsCorrectionsAndItsPathApproachesAtTheCapture) {
    SimState s;
    s.runMode = 1;
    s.dataDirectory = CELESTRIX_DATA_SOURCE;
    ASSERT_FALSE(loadStartupState(s).has_value());
    const int earth = indexOf(s, "Earth.cfg"), moon = indexOf(s, "Moon.cfg");
    ASSERT_GE(earth, 0);
    ASSERT_GE(moon, 0);
    SimObject& ship = s.observer();
    const float r = 6378.14f + 2000;
    ship.positionKm = s.objects[static_cast<size_t>(earth)].positionKm + Vec3f{0, 0, r};
    ship.velocityKmPerS = s.objects[static_cast<size_t>(earth)].velocityKmPerS + Vec3f{-std::sqrt(398463.0f / r), 0, 0};
    s.integrator.setUp(s.objects);

    TransferRequest request;
    request.objects = s.objects;
    request.integrator = s.integrator;
    request.nowS = 1000;
    request.target = moon;
    request.altitudeKm = s.objects[static_cast<size_t>(moon)].equatorialRadiusKm;
    request.leadS = 120;
    const TransferResult result = planTransfer(request);
    ASSERT_TRUE(result.plan.found) << result.plan.summary;
    // Departure, three corrections to be worked out on the way, capture about the Moon.
    const std::vector<BurnNode>& nodes = result.plan.nodes;
    ASSERT_EQ(nodes.size(), 5u);
    EXPECT_EQ(nodes[0].kind, NodeKind::Fixed);
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(nodes[i].kind, NodeKind::Correction);
        EXPECT_GT(nodes[i].timeS, nodes[i - 1].timeS);
    }
    EXPECT_EQ(nodes[4].kind, NodeKind::Circularise);
    EXPECT_EQ(nodes[4].primary, moon);
    EXPECT_GT(nodes[4].timeS, nodes[3].timeS);

    // The path with all five nodes: the approach ends at the capture (not on the orbit after it),
    // at the chosen altitude, and the orbit after it is circular about the Moon there.
    PlannedPathRequest path = plannedPathRequest(s, nodes, nodes[4].timeS - request.nowS + 86400, moon);
    path.nowS = request.nowS;
    const PlannedPath planned = predictPlannedPath(path);
    ASSERT_TRUE(planned.path.valid);
    const double radius = s.objects[static_cast<size_t>(moon)].equatorialRadiusKm;
    EXPECT_NEAR(planned.closestAltitudeKm, radius, 0.01 * radius);
    EXPECT_NEAR(planned.closestTimeS + request.nowS, nodes[4].timeS, 120);
    ASSERT_TRUE(planned.finalOrbit.known);
    EXPECT_EQ(planned.finalOrbit.body, moon);
    EXPECT_NEAR(planned.finalOrbit.periapsisAltitudeKm, radius, 0.02 * radius);
    EXPECT_NEAR(planned.finalOrbit.apoapsisAltitudeKm, radius, 0.02 * radius);
}
