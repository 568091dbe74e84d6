// The pair-once gravity sum: the accuracy of its 1/r^3 against the correctly rounded value, the
// work split, and a year of the delivered system against the literal per-component step.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "frame_step.h"
#include "integrator.h"
#include "literal_integrator.h"
#include "pair_gravity.h"
#include "startup.h"
#include "test_data_dir.h"
#include "trajectory_prediction.h"

namespace {

int64_t ulpsApart(double a, double b) {
    const int64_t d = std::bit_cast<int64_t>(a) - std::bit_cast<int64_t>(b);  // both positive
    return d < 0 ? -d : d;
}

// (r^2)^(-3/2) rounded once from extended precision.
double correctlyRounded(double d2) {
    const long double x = d2;
    return static_cast<double>(1.0L / (x * std::sqrt(x)));
}

TEST(PairGravity, InverseCubeStaysWithinTwoUlpsFromOneMetreToAHundredAu) {
    struct Range {
        double fromKm, toKm;
    };
    // Distances from 1 m to 100 AU and a margin beyond, sampled densely on a log scale, plus the
    // powers of two (where the first guess is worst) and their neighbours.
    for (Range r : {Range{1e-3, 1.0}, Range{1.0, 1e6}, Range{1e6, 1.5e10}, Range{1e-9, 1e15}}) {
        int64_t worst = 0;
        double worstAt = 0;
        const int samples = 200000;
        for (int n = 0; n <= samples; ++n) {
            const double d = r.fromKm * std::pow(r.toKm / r.fromKm, double(n) / samples);
            for (double d2 : {d * d, std::nextafter(d * d, 0.0), std::exp2(std::round(std::log2(d * d)))}) {
                const int64_t u = ulpsApart(inverseCubeOfDistance(d2), correctlyRounded(d2));
                if (u > worst) {
                    worst = u;
                    worstAt = d2;
                }
            }
        }
        EXPECT_LE(worst, 2) << "distances " << r.fromKm << " to " << r.toKm << " km, worst at r^2 = "
                            << worstAt;
    }
}

TEST(PairGravity, SegmentsCoverEveryRowOnceWithAboutEqualWork) {
    struct Case {
        size_t count, segments;
    };
    for (Case c : {Case{0, 0}, Case{1, 1}, Case{8, 1}, Case{9, 2}, Case{100, 13}, Case{1000, 16},
                   Case{4000, 16}}) {
        const std::vector<size_t> rows = pairSegmentRows(c.count);
        ASSERT_EQ(rows.size(), c.segments + 1) << "N=" << c.count;
        const size_t blocks = (c.count + kPairBlock - 1) / kPairBlock;
        EXPECT_EQ(rows.front(), 0u);
        EXPECT_EQ(rows.back(), blocks);
        size_t most = 0, least = SIZE_MAX;
        for (size_t s = 0; s + 1 < rows.size(); ++s) {
            ASSERT_LT(rows[s], rows[s + 1]);
            size_t tiles = 0;
            for (size_t row = rows[s]; row < rows[s + 1]; ++row) tiles += blocks - row;
            most = std::max(most, tiles);
            least = std::min(least, tiles);
        }
        // Each cut falls within a row of its share: no segment two rows' worth above another.
        if (c.segments > 1) {
            EXPECT_LE(most - least, 2 * blocks) << "N=" << c.count;
        }
    }
}

// Total energy (per the masses as stored) and angular momentum of the bodies, observer left out,
// from position and velocity accessors.
template <class Get>
std::array<double, 4> invariants(const std::vector<SimObject>& objects, Get get) {
    const size_t bodies = objects.size() - 1;
    std::array<double, 4> out{};
    for (size_t i = 0; i < bodies; ++i) {
        const double m = objects[i].massKg;
        const double x = get(i, 0), y = get(i, 2), z = get(i, 4);
        const double vx = get(i, 1), vy = get(i, 3), vz = get(i, 5);
        out[0] += 0.5 * m * (vx * vx + vy * vy + vz * vz);
        out[1] += m * (y * vz - z * vy);
        out[2] += m * (z * vx - x * vz);
        out[3] += m * (x * vy - y * vx);
        for (size_t k = i + 1; k < bodies; ++k) {
            const double dx = get(k, 0) - x, dy = get(k, 2) - y, dz = get(k, 4) - z;
            out[0] -= kGravityKm3PerKgS2 * m * objects[k].massKg / std::sqrt(dx * dx + dy * dy + dz * dz);
        }
    }
    return out;
}

struct Drift {
    double energy, angularMomentum;
};

Drift driftOf(const std::array<double, 4>& a, const std::array<double, 4>& b) {
    const double l0 = std::hypot(a[1], a[2], a[3]);
    return {std::fabs(b[0] - a[0]) / std::fabs(a[0]),
            std::hypot(b[1] - a[1], b[2] - a[2], b[3] - a[3]) / l0};
}

TEST(PairGravity, AYearOfTheDeliveredSystemDriftsNoMoreThanTheLiteralStep) {
    testdata::TempDataDir dir;
    std::filesystem::copy(CELESTRIX_DATA_SOURCE, dir.path(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    SimState state;
    state.runMode = 1;
    state.dataDirectory = dir.path();
    ASSERT_FALSE(loadStartupState(state).has_value());
    fillSceneState(state);
    state.observer().actingForceKN = {};
    const std::vector<SimObject>& objects = state.objects;

    // Hour steps, where rounding dominates the drift, and six-hour steps, where the step's
    // truncation does.
    for (double h : {3600.0, 6 * 3600.0}) {
        IntegratorState fast;
        fast.setUp(objects);
        LiteralIntegrator literal(objects);
        auto fastGet = [&](size_t i, int j) { return fast.readBack(i, j); };
        auto literalGet = [&](size_t i, int j) { return literal.value(i, j); };
        const auto fastStart = invariants(objects, fastGet);
        const auto literalStart = invariants(objects, literalGet);
        const int steps = static_cast<int>(365.25 * 86400.0 / h);
        for (int n = 0; n < steps; ++n) {
            fast.step(h, objects);
            literal.step(h);
        }
        const Drift now = driftOf(fastStart, invariants(objects, fastGet));
        const Drift before = driftOf(literalStart, invariants(objects, literalGet));
        std::printf("a year in %.0f s steps: energy drift %.3e (literal %.3e), angular momentum "
                    "%.3e (literal %.3e)\n", h, now.energy, before.energy, now.angularMomentum,
                    before.angularMomentum);
        EXPECT_LE(now.energy, before.energy * 1.5 + 2e-15) << "h=" << h;
        EXPECT_LE(now.angularMomentum, before.angularMomentum * 1.5 + 2e-15) << "h=" << h;
    }
}

// A prediction leaves out the pulls between two light objects only: a belt of asteroids about a
// star with one planet, the observer last. Which objects are light, that a pair of light asteroids
// 20,000 km apart really stop pulling each other, and that the observer's path stays the same.
TEST(PairGravity, PredictionsLeaveOutOnlyThePullsAmongLightObjects) {
    std::vector<SimObject> objects;
    auto add = [&](float massKg, Vec3f positionKm, Vec3f velocityKmPerS) {
        SimObject o;
        o.massKg = massKg;
        o.positionKm = positionKm;
        o.velocityKmPerS = velocityKmPerS;
        o.equatorialRadiusKm = o.polarRadiusKm = 10;
        objects.push_back(o);
    };
    const float au = 1.496e8f;
    add(1.989e30f, {0, 0, 0}, {0, 0, 0});               // 0: the star
    add(5.97e24f, {au, 0, 0}, {0, 29.78f, 0});          // 1: a planet
    add(7.3e22f, {au + 384400, 0, 0}, {0, 30.8f, 0});   // 2: its moon: heavy
    add(1e14f, {au - 20000, 0, 0}, {0, 25.32f, 0});     // 3: a moonlet of the planet: light
    for (int k = 0; k < 36; ++k) {  // 4..39: a belt; 14 and 15 (in a block of light ones) close
        const float a = 0.17f * float(k == 11 ? 10 : k), r = 2.5f * au + (k == 11 ? 20000.0f : 0.0f);
        add(1e20f, {r * std::cos(a), r * std::sin(a), 0}, {-18.8f * std::sin(a), 18.8f * std::cos(a), 0});
    }
    add(1e5f, {au + 7000, 0, 0}, {0, 29.78f + 7.5f, 0});  // 40: the observer in a low orbit
    objects.back().isObserver = 1;

    const std::vector<bool> light = lightObjects(objects);
    for (size_t i = 0; i < objects.size(); ++i)
        EXPECT_EQ(light[i], i == 3 || (i >= 4 && i < 40)) << "object " << i;

    IntegratorState all, some;
    all.setUp(objects);
    some.setUp(objects);
    some.leaveOutPullsAmongLight(light);
    for (int s = 0; s < 864; ++s) {  // a day in 100 s steps
        all.step(100, objects);
        some.step(100, objects);
    }
    auto apart = [](const IntegratorState& st, size_t i, size_t k) {
        return std::hypot(st.readBack(i, 0) - st.readBack(k, 0), st.readBack(i, 2) - st.readBack(k, 2),
                          st.readBack(i, 4) - st.readBack(k, 4));
    };
    // Two 1e20 kg asteroids 20,000 km apart fall ~120 km towards each other in a day: not any more.
    EXPECT_GT(apart(some, 14, 15) - apart(all, 14, 15), 50.0);
    // The observer (in the heavy last block) and the planet keep their paths to well below a metre.
    for (size_t i : {size_t{1}, size_t{2}, size_t{40}})
        for (int j = 0; j < 6; j += 2)
            EXPECT_NEAR(some.readBack(i, j), all.readBack(i, j), 1e-3) << "object " << i << " axis " << j;
    // Without light objects nothing is left out: bit for bit the same.
    IntegratorState plain = all, flagged = all;
    flagged.leaveOutPullsAmongLight(std::vector<bool>(objects.size(), false));
    plain.step(100, objects);
    flagged.step(100, objects);
    for (size_t i = 0; i < objects.size(); ++i) EXPECT_EQ(plain.readBack(i, 0), flagged.readBack(i, 0));
}

}  // namespace
