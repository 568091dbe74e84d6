// Time warp and trajectory prediction against finely stepped references: orbit shape and period
// under warp, the Moon after 30 days at the top factor, the drop rules, thrust and drain through
// substeps, the system's invariants, and the predicted path against the path flown afterwards.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <random>

#include "frame_step.h"
#include "prediction_worker.h"
#include "startup.h"
#include "state_digest.h"
#include "step_bound.h"
#include "system_invariants.h"
#include "test_data_dir.h"
#include "time_warp.h"
#include "trajectory_prediction.h"
#include "warped_substeps.h"

namespace {

constexpr double kEarthMu = kGravityKm3PerKgS2 * static_cast<double>(5.9736e24f);

SimObject shipObject(Vec3f position, Vec3f velocity) {
    SimObject ship;
    ship.isObserver = 1;
    ship.massKg = 1e5f;
    ship.positionKm = position;
    ship.velocityKmPerS = velocity;
    ship.forwardDirection = {0, 0, 1};
    ship.upDirection = {0, 1, 0};
    ship.rightDirection = {1, 0, 0};
    return ship;
}

// Earth at rest and the ship at periapsis of an orbit with the given periapsis and apoapsis radii.
SimState earthOrbit(double periKm, double apoKm) {
    SimState s;
    SimObject earth;
    earth.massKg = 5.9736e24f;
    earth.equatorialRadiusKm = 6378.14f;
    earth.polarRadiusKm = 6356.75f;
    const double a = (periKm + apoKm) / 2;
    const double v = std::sqrt(kEarthMu * (2 / periKm - 1 / a));
    s.objects = {earth, shipObject({static_cast<float>(periKm), 0, 0}, {0, 0, static_cast<float>(v)})};
    s.energyKJ = kMaxEnergyKJ;
    s.integrator.setUp(s.objects);
    return s;
}

struct OrbitFigures {
    double periKm = 1e300, apoKm = 0, periodS = 0;
};

// Runs frames of h (split like a warped frame when warped) and measures the extreme radii and the
// mean period between upward crossings of the x axis (z from - to +, interpolated).
OrbitFigures flyOrbit(SimState& s, double h, double totalS, bool warped) {
    FrameStepHooks hooks;
    FrameInput in;
    in.elapsedS = static_cast<float>(h);
    OrbitFigures f;
    double t = 0, lastZ = 0, firstCross = -1, lastCross = -1;
    int crossings = 0;
    while (t < totalS) {
        s.warp.frameWarped = warped;
        stepSimulation(s, in, hooks);
        t += h;
        const double x = s.integrator.readBack(1, 0) - s.integrator.readBack(0, 0);
        const double y = s.integrator.readBack(1, 2) - s.integrator.readBack(0, 2);
        const double z = s.integrator.readBack(1, 4) - s.integrator.readBack(0, 4);
        const double r = std::sqrt(x * x + y * y + z * z);
        f.periKm = std::fmin(f.periKm, r);
        f.apoKm = std::fmax(f.apoKm, r);
        if (lastZ < 0 && z >= 0 && x > 0) {
            const double crossing = t - h * z / (z - lastZ);
            if (firstCross < 0) firstCross = crossing;
            lastCross = crossing;
            ++crossings;
        }
        lastZ = z;
    }
    if (crossings > 1) f.periodS = (lastCross - firstCross) / (crossings - 1);
    return f;
}

struct OsculatingOrbit {
    double periKm = 0, apoKm = 0, periodS = 0;
};

// Periapsis, apoapsis and period of the two-body orbit through the ship's present state.
OsculatingOrbit osculating(const SimState& s) {
    double r[3], v[3];
    for (int k = 0; k < 3; ++k) {
        r[k] = s.integrator.readBack(1, 2 * k) - s.integrator.readBack(0, 2 * k);
        v[k] = s.integrator.readBack(1, 2 * k + 1) - s.integrator.readBack(0, 2 * k + 1);
    }
    const double rl = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
    const double v2 = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
    const double a = 1 / (2 / rl - v2 / kEarthMu);
    const double hx = r[1] * v[2] - r[2] * v[1], hy = r[2] * v[0] - r[0] * v[2], hz = r[0] * v[1] - r[1] * v[0];
    const double h2 = hx * hx + hy * hy + hz * hz;
    const double e = std::sqrt(std::fmax(0.0, 1 - h2 / (kEarthMu * a)));
    return {a * (1 - e), a * (1 + e), 2 * M_PI * std::sqrt(a * a * a / kEarthMu)};
}

// The shipped default configuration, loaded as a live run would load it.
class DefaultSystem : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(CELESTRIX_DATA_SOURCE, dir.path(),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        state.runMode = 1;
        state.dataDirectory = dir.path();
        auto error = loadStartupState(state);
        ASSERT_FALSE(error.has_value()) << error->path;
        fillSceneState(state);
        // Nothing fires: the thrusters of the shipped observer may be latched.
        state.observer().actingForceKN = {};
        for (int c : {kForwardThrusterForward, kForwardThrusterBackward, kUpThrusterUp,
                      kUpThrusterDown, kRightThrusterRight, kRightThrusterLeft})
            state.latches[static_cast<size_t>(c)] = 0;
    }
    size_t indexOf(const std::string& entry) const {
        for (size_t i = 0; i < state.configEntries.size(); ++i)
            if (state.configEntries[i] == entry) return i;
        return state.objects.size();
    }
    testdata::TempDataDir dir;
    SimState state;
};

}  // namespace

TEST(TimeWarp, LowOrbitKeepsItsShapeAndPeriodAtWarp1000) {
    // 400 km periapsis, 2000 km apoapsis; ten orbits at 60 frames a second.
    const double frame = 1.0 / 60, total = 10 * 2 * M_PI * std::sqrt(std::pow(7578.14, 3) / kEarthMu);
    SimState slow = earthOrbit(6778.14, 8378.14);
    SimState fast = earthOrbit(6778.14, 8378.14);
    OrbitFigures one = flyOrbit(slow, frame, total, false);
    OrbitFigures warped = flyOrbit(fast, frame * 1000, total, true);
    EXPECT_GT(fast.warp.substeps, 1);  // the bound did split the warped frames
    EXPECT_NEAR(warped.periKm, one.periKm, 1.0);
    EXPECT_NEAR(warped.apoKm, one.apoKm, 1.0);
    ASSERT_GT(one.periodS, 0);
    EXPECT_LT(std::fabs(warped.periodS / one.periodS - 1), 1e-3);
    // At warp 100,000 a frame is 1,667 s, a third of an orbit: only the substeps keep the orbit.
    // Frames that long sample the orbit too coarsely, so compare the osculating elements.
    SimState top = earthOrbit(6778.14, 8378.14);
    flyOrbit(top, frame * 100000, total, true);
    const OsculatingOrbit a = osculating(slow), b = osculating(top);
    EXPECT_NEAR(b.periKm, a.periKm, 1.0);
    EXPECT_NEAR(b.apoKm, a.apoKm, 1.0);
    EXPECT_LT(std::fabs(b.periodS / a.periodS - 1), 1e-3);
    std::printf("warp 1: peri %.4f apo %.4f period %.4f; warp 1000: peri %.4f apo %.4f period %.4f; "
                "warp 100000 elements: peri %.4f apo %.4f period %.4f (warp 1 elements %.4f %.4f %.4f)\n",
                one.periKm, one.apoKm, one.periodS, warped.periKm, warped.apoKm, warped.periodS,
                b.periKm, b.apoKm, b.periodS, a.periKm, a.apoKm, a.periodS);
}

TEST_F(DefaultSystem, MoonAfterThirtyDaysAtWarp100000MatchesTheBoundStepReference) {
    const size_t moon = indexOf("Moon.cfg"), earth = indexOf("Earth.cfg");
    ASSERT_LT(moon, state.objects.size());
    const SystemInvariants start = systemInvariants(state);
    SimState reference = state;
    SimState unsplit = state;
    const double total = 30 * 86400.0;
    // Reference: one continuous integration with steps of the bound, read back after each.
    for (double t = 0; t < total;) {
        const double h = std::fmin(stepBoundS(reference.objects), total - t);
        advanceGravityBy(reference, h);
        t += h;
    }
    // Warped: frames of 0.016 s times 100,000, split by the same rule.
    FrameStepHooks hooks;
    FrameInput in;
    in.elapsedS = 1600.0f;
    int frames = 0;
    for (double t = 0; t < total; t += 1600.0, ++frames) {
        state.warp.frameWarped = true;
        stepSimulation(state, in, hooks);
    }
    ASSERT_EQ(frames, 1620);
    // The same frames unsplit: one 1600 s RK4 step each.
    for (double t = 0; t < total; t += 1600.0) {
        unsplit.warp.frameWarped = false;
        stepSimulation(unsplit, in, hooks);
    }
    auto apart = [](const SimState& a, const SimState& b, size_t i) {
        double d2 = 0;
        for (int j = 0; j < 6; j += 2) {
            const double dj = a.integrator.readBack(i, j) - b.integrator.readBack(i, j);
            d2 += dj * dj;
        }
        return std::sqrt(d2);
    };
    const size_t ship = state.objects.size() - 1;
    std::printf("after 30 days: Moon %.6f km, ship %.3f km from the reference; unsplit: Moon %.3f km, "
                "ship %.1f km\n", apart(state, reference, moon), apart(state, reference, ship),
                apart(unsplit, reference, moon), apart(unsplit, reference, ship));
    EXPECT_LT(apart(state, reference, ship), 100.0);
    // The bodies' energy and angular momentum hold; a nudged planet shows in the gauge.
    const InvariantDrift drift = invariantDrift(start, systemInvariants(state));
    std::printf("drift after 30 days: energy %.3e, angular momentum %.3e\n", drift.energy, drift.angularMomentum);
    EXPECT_LT(std::fabs(drift.energy), 1e-9);
    EXPECT_LT(drift.angularMomentum, 1e-9);
    SimState nudged = state;
    nudged.objects[earth].velocityKmPerS.x += 0.1f;
    nudged.integrator.setUp(nudged.objects);
    EXPECT_GT(std::fabs(invariantDrift(start, systemInvariants(nudged)).energy), 1e-7);
    EXPECT_GT(apart(unsplit, reference, ship), 100 * apart(state, reference, ship));
    double d2 = 0, span2 = 0;
    for (int j = 0; j < 6; j += 2) {
        const double dj = state.integrator.readBack(moon, j) - reference.integrator.readBack(moon, j);
        const double sj = reference.integrator.readBack(moon, j) - reference.integrator.readBack(earth, j);
        d2 += dj * dj;
        span2 += sj * sj;
    }
    EXPECT_LT(std::sqrt(d2), 100.0);
    std::printf("Moon after 30 days at warp 100000: %.3f km from the bound-step reference\n", std::sqrt(d2));
    EXPECT_GT(std::sqrt(span2), 300000.0);  // the Moon is still in orbit of Earth
}

TEST(TimeWarp, KeysStepTheFactorAndTheDropRulesHold) {
    // Far out in space: nothing near, so the warp is kept.
    SimState s = earthOrbit(1e6, 1e6);
    const float dt = 1.0f / 60;
    EXPECT_EQ(resolveWarpedFrameTime(s, dt), dt);  // warp 1: exactly the elapsed time
    EXPECT_FALSE(s.warp.frameWarped);
    for (int i = 0; i < 7; ++i) {  // a press is an edge: held keys step once
        s.keyState.keys[kWarpPeriodKey] = 0x80;
        resolveWarpedFrameTime(s, dt);
        resolveWarpedFrameTime(s, dt);
        s.keyState.keys[kWarpPeriodKey] = 0;
        resolveWarpedFrameTime(s, dt);
    }
    EXPECT_EQ(s.warp.factor(), 100000);  // the top factor stops the steps
    EXPECT_EQ(resolveWarpedFrameTime(s, dt), static_cast<float>(dt * 100000.0));
    EXPECT_TRUE(s.warp.frameWarped);
    s.keyState.keys[kWarpCommaKey] = 0x80;
    resolveWarpedFrameTime(s, dt);
    EXPECT_EQ(s.warp.factor(), 10000);

    // A thruster latch keeps firing under warp; a level latch or a flying key drops it.
    s.keyState.keys[kWarpCommaKey] = 0;
    s.latches[kForwardThrusterForward] = 1;
    resolveWarpedFrameTime(s, dt);
    EXPECT_EQ(s.warp.factor(), 10000);
    s.keyState.keys[KeyCode::U] = 0x80;
    EXPECT_EQ(resolveWarpedFrameTime(s, dt), dt);
    EXPECT_EQ(s.warp.factor(), 1);
    EXPECT_EQ(s.warp.lastDrop, WarpDrop::FlyingControl);
    EXPECT_GT(s.warp.messageLeftS, 0);
    EXPECT_NE(warpDropMessage(s.warp.lastDrop), nullptr);

    // 3000 km above Earth, falling at 5 km/s: warp 10,000 cannot reach the 1500 km shell within
    // its frame (1,167 km with the pull), warp 100,000 can.
    SimState low = earthOrbit(9378.14, 9378.14);
    low.observer().velocityKmPerS = {-5, 0, 0};
    low.warp.level = 4;
    EXPECT_FLOAT_EQ(resolveWarpedFrameTime(low, dt), dt * 10000);
    low.warp.level = 5;
    EXPECT_EQ(resolveWarpedFrameTime(low, dt), dt);
    EXPECT_EQ(low.warp.lastDrop, WarpDrop::Surface);

    // A recorded frame time out of all reason is split into a bounded number of substeps.
    EXPECT_EQ(substepCount(low.objects, 1e30), static_cast<int>(kSubstepPairCap / 4));
    EXPECT_EQ(substepCount(low.objects, std::numeric_limits<double>::infinity()),
              static_cast<int>(kSubstepPairCap / 4));
    EXPECT_EQ(substepCount(low.objects, std::nan("")), 1);
}

TEST(TimeWarp, AThousandObjectsDropTheWarpWhenItsSubstepsExceedTheAllowance) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> pos(-1e9f, 1e9f), mass(1e20f, 1e24f);
    SimState s;
    s.objects.resize(1000);
    for (SimObject& o : s.objects) {
        o.massKg = mass(rng);
        o.positionKm = {pos(rng), pos(rng), pos(rng)};
        o.equatorialRadiusKm = 100;
    }
    // A close pair far from the ship: 1e24 kg each, 10,240 km apart. Its dynamical time
    // sqrt(r^3 / (G (m1 + m2))) is 2,837 s, so a 1,667 s frame at warp 100,000 needs at least 38
    // substeps of 1/64 of it, while a frame at warp 10 fits in one.
    const double apartKm = 10240;
    s.objects[0].massKg = s.objects[1].massKg = 1e24f;
    s.objects[0].positionKm = {5e8f, 0, 0};
    s.objects[1].positionKm = {5e8f + static_cast<float>(apartKm), 0, 0};
    s.objects.back() = shipObject({0, 0, 0}, {});
    s.integrator.setUp(s.objects);
    const float dt = 1.0f / 60;
    const double dynamicalS = std::sqrt(std::pow(apartKm, 3) / (kGravityKm3PerKgS2 * 2e24));
    const double least = std::ceil(dt * 100000.0 / (dynamicalS / 64));
    ASSERT_EQ(least, 38);
    struct Case {
        int32_t level;
        double allowedSubsteps;
        bool warped;
    } cases[] = {{5, 1, false}, {5, least - 1, false}, {5, 1e9, true}, {1, 1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << ", allowed " << c.allowedSubsteps);
        s.warp = {};
        s.warp.level = c.level;
        const float h = resolveWarpedFrameTime(s, dt, c.allowedSubsteps);
        EXPECT_EQ(s.warp.frameWarped, c.warped);
        EXPECT_EQ(h, c.warped ? static_cast<float>(static_cast<double>(dt) * kWarpFactors[static_cast<size_t>(c.level)]) : dt);
        EXPECT_EQ(s.warp.lastDrop, c.warped ? WarpDrop::None : WarpDrop::CannotKeepUp);
        EXPECT_EQ(s.warp.factor(), c.warped ? kWarpFactors[static_cast<size_t>(c.level)] : 1);
    }
}

TEST(TimeWarp, ThrustAndDrainActOnEverySubstep) {
    // A latched forward thruster far from anything: a warped frame of 1000 s against 1000 frames
    // of 1 s. The energy runs out after about 136 s: the burn must stop inside the warped frame.
    auto burning = [] {
        SimState s = earthOrbit(1e7, 1e7);
        SimObject& ship = s.observer();
        ship.nominalForceKN = {1000, 0, 0};
        ship.actingForceKN = {1000, 0, 0};
        s.latches[kForwardThrusterForward] = 1;
        s.energyKJ = ship.energyKJ = 0;
        // 600 s of drain at the start speed; less, as |v| grows while the ship burns.
        const float v = length(ship.velocityKmPerS);
        s.energyKJ = ship.energyKJ = 600.0f * v * 1000.0f;
        return s;
    };
    FrameStepHooks hooks;
    FrameInput in;
    SimState slow = burning();
    in.elapsedS = 1.0f;
    for (int i = 0; i < 1000; ++i) stepSimulation(slow, in, hooks);
    SimState fast = burning();
    fast.warp.frameWarped = true;
    in.elapsedS = 1000.0f;
    // Far from every body only the burn bounds the substeps: a 64th of the time it can last
    // (136 s, as the speed it gains raises the drain).
    EXPECT_NEAR(stepBoundS(fast.objects), 136.2 / 64, 0.05);
    stepSimulation(fast, in, hooks);
    EXPECT_GE(fast.warp.substeps, 100);
    EXPECT_EQ(fast.energyKJ, 0.0f);
    SimState split = burning();
    drainEnergy(split, 1.0f);
    advanceSubsteps(split, 1000.0, 1000);
    const auto dv = [](const SimState& s) {
        return s.integrator.readBack(1, 5) - s.integrator.readBack(0, 5);
    };
    const double start = dv(burning());
    const double slowGain = dv(slow) - start;
    EXPECT_GT(slowGain, 0.0);
    EXPECT_EQ(slow.energyKJ, 0.0f);
    EXPECT_EQ(split.energyKJ, 0.0f);
    EXPECT_NEAR(dv(split) - start, slowGain, slowGain * 0.01);
    EXPECT_NEAR(dv(fast) - start, slowGain, slowGain * 0.02);
    // One unsplit 1000 s frame would burn the whole frame: the substeps are what stop the burn.
    SimState whole = burning();
    whole.warp.frameWarped = false;
    stepSimulation(whole, in, hooks);
    EXPECT_GT(dv(whole) - start, slowGain * 1.3);
}

TEST_F(DefaultSystem, PredictedPathMatchesThePathFlownAfterwards) {
    const size_t earth = indexOf("Earth.cfg");
    const size_t ship = state.objects.size() - 1;
    PredictionRequest request = predictionRequest(state, 3 * 3600.0, -1);
    request.pointCount = 240;  // 45 s between points
    PredictedPath path = predictTrajectory(std::move(request));
    ASSERT_TRUE(path.valid);
    EXPECT_EQ(path.referenceIndex, static_cast<int>(earth));
    ASSERT_EQ(path.ship.size(), 241u);

    // Fly it at warp 1 with 0.05 s frames; 900 frames between points.
    FrameStepHooks hooks;
    FrameInput in;
    in.elapsedS = 0.05f;
    double worst = 0, travelled = 0;
    for (size_t k = 1; k < path.ship.size(); ++k) {
        for (int f = 0; f < 900; ++f) stepSimulation(state, in, hooks);
        PointKm actual{}, earthNow{};
        actual = {state.integrator.readBack(ship, 0), state.integrator.readBack(ship, 2),
                  state.integrator.readBack(ship, 4)};
        earthNow = {state.integrator.readBack(earth, 0), state.integrator.readBack(earth, 2),
                    state.integrator.readBack(earth, 4)};
        // Distances relative to Earth: far stricter than the path's length in the Sun's frame.
        const PointKm& p = path.ship[k];
        const PointKm& e = path.reference[k];
        const double ex = (p.x - e.x) - (actual.x - earthNow.x);
        const double ey = (p.y - e.y) - (actual.y - earthNow.y);
        const double ez = (p.z - e.z) - (actual.z - earthNow.z);
        worst = std::fmax(worst, std::sqrt(ex * ex + ey * ey + ez * ez));
        const PointKm& q = path.ship[k - 1];
        const PointKm& eq = path.reference[k - 1];
        const double tx = (p.x - e.x) - (q.x - eq.x), ty = (p.y - e.y) - (q.y - eq.y),
                     tz = (p.z - e.z) - (q.z - eq.z);
        travelled += std::sqrt(tx * tx + ty * ty + tz * tz);
    }
    EXPECT_GT(travelled, 10000.0);
    std::printf("prediction over 3 h: worst %.4f km over %.1f km travelled relative to Earth\n", worst, travelled);
    EXPECT_LT(worst, 1e-3 * travelled) << "worst " << worst << " km over " << travelled << " km";
}

TEST_F(DefaultSystem, PredictionRunsOnItsOwnCopyAndMarksTheClosestApproach) {
    const size_t moon = indexOf("Moon.cfg");
    const uint64_t before = digestSimState(state);
    PredictionWorker worker;
    PredictionTrigger trigger;
    ASSERT_TRUE(trigger.wanted(state, 86400.0 * 5, static_cast<int>(moon)));
    worker.submit(predictionRequest(state, 86400.0 * 5, static_cast<int>(moon)));
    EXPECT_FALSE(trigger.wanted(state, 86400.0 * 5, static_cast<int>(moon)));
    EXPECT_TRUE(trigger.wanted(state, 86400.0 * 10, static_cast<int>(moon)));  // a new horizon
    worker.waitIdle();
    std::optional<PredictedPath> path = worker.take();
    ASSERT_TRUE(path.has_value());
    EXPECT_FALSE(worker.take().has_value());  // taken once
    EXPECT_EQ(digestSimState(state), before);
    EXPECT_EQ(path->referenceIndex, static_cast<int>(moon));
    ASSERT_EQ(path->target.size(), path->ship.size());
    double closest = 1e300;
    for (size_t k = 0; k < path->ship.size(); ++k) {
        const double dx = path->ship[k].x - path->target[k].x, dy = path->ship[k].y - path->target[k].y,
                     dz = path->ship[k].z - path->target[k].z;
        closest = std::fmin(closest, std::sqrt(dx * dx + dy * dy + dz * dz));
    }
    EXPECT_DOUBLE_EQ(path->closestKm, closest);
    EXPECT_GE(path->closestTimeS, 0);
    EXPECT_LE(path->closestTimeS, 86400.0 * 5);
}
