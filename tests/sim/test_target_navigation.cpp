// Target navigation on the delivered configuration: Tab reaches every body nearest first, Y puts
// the target at the screen centre, Z then Q ends at the chosen altitude above Earth, the Moon and
// Saturn, the orbit figures of a circular 400 km Earth orbit, picking by click, and the request
// bits of the exact replay file.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>

#include "frame_step.h"
#include "sky_projection.h"
#include "startup.h"
#include "target_navigation.h"
#include "navigation_figures.h"
#include "test_data_dir.h"

using testdata::TempDataDir;

namespace {

constexpr int kWidth = 1280, kHeight = 720;

struct DeliveredState {
    TempDataDir dir;
    SimState state;
    DeliveredState() {
        std::filesystem::copy(CELESTRIX_DATA_SOURCE, dir.path(), std::filesystem::copy_options::recursive);
        state.runMode = 1;
        state.dataDirectory = dir.path();
        auto error = loadStartupState(state);
        if (error) throw std::runtime_error(error->path + ": " + error->message);
        fillSceneState(state);
    }
};

int bodyNamed(const SimState& s, const std::string& name) {
    for (size_t i = 0; i < s.configEntries.size(); ++i)
        if (s.configEntries[i] == name + ".cfg") return static_cast<int>(i);
    return -1;
}

void step(SimState& s, int frames = 1) {
    FrameStepHooks none;
    FrameInput in;
    in.elapsedS = 0.02f;
    for (int i = 0; i < frames; ++i) {
        ASSERT_FALSE(stepSimulation(s, in, none).has_value());
        s.keyState.keys.fill(0);
    }
}

float altitudeAbove(const SimState& s, int body) { return surfaceDistanceKm(s, body); }

}  // namespace

TEST(TargetNavigation, TabReachesEveryBodyNearestFirstAndShiftTabGoesBack) {
    DeliveredState d;
    SimState& s = d.state;
    const int bodies = static_cast<int>(s.objects.size()) - 1;
    std::set<int> seen;
    float last = -1e30f;
    for (int i = 0; i < bodies; ++i) {
        cycleTarget(s, +1);
        ASSERT_GE(s.nav.target, 0);
        seen.insert(s.nav.target);
        EXPECT_GE(surfaceDistanceKm(s, s.nav.target), last);
        last = surfaceDistanceKm(s, s.nav.target);
    }
    EXPECT_EQ(static_cast<int>(seen.size()), bodies);
    EXPECT_EQ(s.nav.target, bodyNamed(s, "Neptune"));  // the farthest last
    cycleTarget(s, +1);
    EXPECT_EQ(s.nav.target, bodyNamed(s, "Earth"));  // wraps to the nearest
    cycleTarget(s, -1);
    EXPECT_EQ(s.nav.target, bodyNamed(s, "Neptune"));
    selectTarget(s, 99);
    EXPECT_EQ(s.nav.target, -1);
    cycleTarget(s, -1);
    EXPECT_EQ(s.nav.target, bodyNamed(s, "Neptune"));
}

TEST(TargetNavigation, FaceTargetCentresEveryBodyAndStopsTheRotation) {
    DeliveredState d;
    SimState& s = d.state;
    s.rotationRates = {0.001f, -0.002f, 0.003f};
    // Every body that Tab reaches, in turn.
    for (size_t tab = 0; tab + 1 < s.objects.size(); ++tab) {
        cycleTarget(s, +1);
        const std::string name = s.configEntries[static_cast<size_t>(s.nav.target)];
        requestFaceTarget(s);
        step(s);
        EXPECT_EQ(s.rotationRates.x, 0.0f);
        EXPECT_EQ(s.rotationRates.y, 0.0f);
        EXPECT_EQ(s.rotationRates.z, 0.0f);
        // Y points the ship: the forward thruster is aligned with the new view, as Space makes it.
        const SimObject& ship = s.observer();
        EXPECT_NEAR(dot(ship.forwardDirection, Vec3f{s.camera.m[0][2], s.camera.m[1][2], s.camera.m[2][2]}), 1.0f,
                    1e-5f)
            << name;
        EXPECT_NEAR(dot(ship.upDirection, Vec3f{s.camera.m[0][1], s.camera.m[1][1], s.camera.m[2][1]}), 1.0f, 1e-5f)
            << name;
        std::vector<BodyOnScreen> onScreen;
        placeBodiesOnScreen(s, kWidth, kHeight, onScreen);
        const BodyOnScreen& t = onScreen[static_cast<size_t>(s.nav.target)];
        ASSERT_TRUE(t.inFront) << name;
        EXPECT_NEAR(t.x, kWidth / 2.0, 1.0) << name;
        EXPECT_NEAR(t.y, kHeight / 2.0, 1.0) << name;
        // The click picks what is under the centre.
        EXPECT_EQ(pickBody(onScreen, t.x + 3, t.y - 2), s.nav.target) << name;
    }
    // The orientation stays a rotation: its rows keep unit length.
    for (int r = 0; r < 3; ++r) {
        const float* m = s.orientation.m[r];
        EXPECT_NEAR(m[0] * m[0] + m[1] * m[1] + m[2] * m[2], 1.0f, 1e-5f);
    }
}

TEST(TargetNavigation, FacingAndJumpingEndsAtTheChosenAltitude) {
    for (const char* name : {"Earth", "Moon", "Saturn"}) {
        for (int presses : {1, 2, 3}) {
            DeliveredState d;
            SimState& s = d.state;
            const int target = bodyNamed(s, name);
            selectTarget(s, target);
            const float radius = s.objects[static_cast<size_t>(target)].equatorialRadiusKm;
            const float wanted = radius * kTargetAltitudeRadii[presses - 1];
            // The jump goes forward only: an altitude above the present one is out of reach.
            if (wanted > altitudeAbove(s, target)) continue;
            // A far target takes more than one jump of at most 1e9 km.
            for (int leg = 0; leg < 3 && std::fabs(altitudeAbove(s, target) - wanted) > 0.01f * wanted; ++leg) {
                requestFaceTarget(s);
                step(s);
                for (int p = 0; p < (leg == 0 ? presses : 1); ++p) {
                    requestJumpToTarget(s);
                    step(s);
                }
                if (leg > 0) {
                    ASSERT_EQ(s.nav.altitudeChoice, presses - 1);
                }
                s.keyState.keys[KeyCode::Q] = 0x80;
                FrameStepHooks none;
                FrameInput in;
                in.elapsedS = 0.02f;
                ASSERT_FALSE(stepSimulation(s, in, none).has_value());
                s.keyState.keys.fill(0);
            }
            EXPECT_NEAR(altitudeAbove(s, target), wanted, 0.01f * wanted) << name << " " << presses;
        }
    }
}

TEST(TargetNavigation, OrbitFiguresOfACircular400KmEarthOrbit) {
    DeliveredState d;
    SimState& s = d.state;
    const int earth = bodyNamed(s, "Earth");
    SimObject& e = s.objects[static_cast<size_t>(earth)];
    ASSERT_FLOAT_EQ(e.massKg, 5.97217e24f);
    ASSERT_FLOAT_EQ(e.equatorialRadiusKm, 6378.14f);
    const double r = 6378.14 + 400.0;
    const double v = std::sqrt(kGravityKm3PerKgS2 * static_cast<double>(e.massKg) / r);
    // An orbit in the equator, eastward (RA 0 h to 6 h: +Z towards -X), then one tilted by 51.6 deg.
    SimObject& ship = s.observer();
    ship.positionKm = e.positionKm + Vec3f{0, 0, static_cast<float>(r)};
    ship.velocityKmPerS = e.velocityKmPerS + Vec3f{static_cast<float>(-v), 0, 0};
    s.integrator.setUp(s.objects);
    NavigationFigures t = computeNavigationFigures(s, earth);
    ASSERT_TRUE(t.bound);
    EXPECT_NEAR(t.periodS / 60.0, 92.58, 92.58 * 0.002);
    EXPECT_NEAR(t.periapsisAltitudeKm, 400.0, 1.0);
    EXPECT_NEAR(t.apoapsisAltitudeKm, 400.0, 1.0);
    EXPECT_NEAR(t.inclinationRad, 0.0, 1e-3);
    EXPECT_NEAR(t.relativeSpeedKmPerS, v, 1e-3);
    EXPECT_NEAR(t.closingSpeedKmPerS, 0.0, 1e-3);

    const double inc = 51.6 * M_PI / 180;
    ship.velocityKmPerS = e.velocityKmPerS + Vec3f{static_cast<float>(-v * std::cos(inc)),
                                                   static_cast<float>(v * std::sin(inc)), 0};
    s.integrator.setUp(s.objects);
    t = computeNavigationFigures(s, earth);
    EXPECT_NEAR(t.inclinationRad * 180 / M_PI, 51.6, 0.01);

    // Falling straight in: not bound above escape speed; the closest approach ahead is at the centre.
    ship.velocityKmPerS = e.velocityKmPerS + Vec3f{0, 0, -20.0f};
    s.integrator.setUp(s.objects);
    t = computeNavigationFigures(s, earth);
    EXPECT_FALSE(t.bound);
    EXPECT_EQ(t.approach, ApproachSource::StraightCourse);
    EXPECT_NEAR(t.closestInS, r / 20.0, 0.01);
    EXPECT_NEAR(t.closestCentreKm, 0.0, 1.0);
    EXPECT_NEAR(t.closingSpeedKmPerS, 20.0, 1e-3);
}

TEST(TargetNavigation, RequestsTravelThroughTheReplayFlagsAndReplayModeMakesNone) {
    NavigationState nav;
    nav.faceTargetRequest = 7;
    nav.jumpTargetRequest = 999;
    nav.jumpAltitudeChoice = 4;
    const uint32_t flags = navigationRequestFlags(nav) | 3u;  // the control-step bits stay apart
    NavigationState back;
    setNavigationRequests(back, flags);
    EXPECT_EQ(back.faceTargetRequest, 7);
    EXPECT_EQ(back.jumpTargetRequest, 999);
    EXPECT_EQ(back.jumpAltitudeChoice, 4);
    setNavigationRequests(back, 3u);
    EXPECT_EQ(back.faceTargetRequest, -1);
    EXPECT_EQ(back.jumpTargetRequest, -1);

    SimState replay;
    replay.runMode = 0;
    replay.objects.resize(3);
    replay.nav.target = 1;
    requestFaceTarget(replay);
    requestJumpToTarget(replay);
    EXPECT_EQ(navigationRequestFlags(replay.nav), 0u);
}

TEST(TargetNavigation, JumpDistanceToASphereMissedOrBehind) {
    // Straight at a sphere of radius 10 at distance 100: 90. Passing it 20 off: the closest point.
    EXPECT_FLOAT_EQ(jumpDistanceToSphere({0, 0, 0}, {0, 0, 1}, {0, 0, 100}, 10), 90);
    EXPECT_FLOAT_EQ(jumpDistanceToSphere({0, 0, 0}, {0, 0, 1}, {20, 0, 100}, 10), 100);
    EXPECT_FLOAT_EQ(jumpDistanceToSphere({0, 0, 0}, {0, 0, 1}, {0, 0, -100}, 10), 0);
    EXPECT_FLOAT_EQ(jumpDistanceToSphere({0, 0, 0}, {0, 0, 1}, {0, 0, 5e9f}, 10), kMaxJumpDistanceKm);
}
