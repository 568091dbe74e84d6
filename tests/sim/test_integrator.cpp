// Tests of the RK4 gravity integrator: agreement with a literal per-component implementation,
// bitwise identity of every kernel path and thread count, and the physics it must reproduce.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "integrator.h"
#include "literal_integrator.h"

namespace {

SimObject makeBody(float massKg, Vec3f posKm, Vec3f velKmPerS = {}) {
    SimObject o;
    o.massKg = massKg;
    o.positionKm = posKm;
    o.velocityKmPerS = velKmPerS;
    return o;
}

SimObject makeObserver(Vec3f posKm, Vec3f velKmPerS = {}, float massKg = 1e5f) {
    SimObject o = makeBody(massKg, posKm, velKmPerS);
    o.isObserver = 1;
    o.forwardDirection = {0, 0, 1};
    o.upDirection = {0, 1, 0};
    o.rightDirection = {1, 0, 0};
    return o;
}

std::vector<SimObject> randomSystem(size_t count, unsigned seed, float spreadKm = 1e8f) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> pos(-spreadKm, spreadKm), vel(-30.0f, 30.0f), mass(1e22f, 1e27f);
    std::vector<SimObject> objects;
    for (size_t i = 0; i + 1 < count; ++i)
        objects.push_back(makeBody(mass(rng), {pos(rng), pos(rng), pos(rng)},
                                   {vel(rng), vel(rng), vel(rng)}));
    SimObject ship = makeObserver({pos(rng), pos(rng), pos(rng)}, {1, 2, 3});
    ship.actingForceKN = {300, -50, 20};
    objects.push_back(ship);
    return objects;
}

int64_t ulpDistance(double a, double b) {
    auto ordered = [](double x) {
        int64_t i = std::bit_cast<int64_t>(x);
        return i < 0 ? std::numeric_limits<int64_t>::min() - i : i;
    };
    int64_t d = ordered(a) - ordered(b);
    return d < 0 ? -d : d;
}

// The full state after `steps` steps of h with the given path and thread count.
std::vector<uint64_t> runBits(const std::vector<SimObject>& objects, IntegratorPath path,
                              int threads, int steps, double h) {
    IntegratorState s;
    s.setPath(path);
    s.setThreadCount(threads);
    s.setUp(objects);
    for (int n = 0; n < steps; ++n) s.step(h, objects);
    std::vector<uint64_t> bits;
    for (size_t i = 0; i < s.count(); ++i)
        for (int j = 0; j < 6; ++j) bits.push_back(std::bit_cast<uint64_t>(s.readBack(i, j)));
    return bits;
}

TEST(Integrator, EveryPathAndThreadCountGivesBitwiseIdenticalResults) {
    std::vector<IntegratorPath> paths = {IntegratorPath::Scalar};
    if (IntegratorState::pathSupported(IntegratorPath::Avx2)) paths.push_back(IntegratorPath::Avx2);
    if (IntegratorState::pathSupported(IntegratorPath::Avx512))
        paths.push_back(IntegratorPath::Avx512);
    struct Case { size_t count; int steps; };
    for (Case c : {Case{7, 200}, Case{100, 40}, Case{1000, 3}}) {
        auto objects = randomSystem(c.count, 7 + static_cast<unsigned>(c.count));
        auto reference = runBits(objects, IntegratorPath::Scalar, 1, c.steps, 37.5);
        for (IntegratorPath path : paths)
            for (int threads : {1, 2})
                EXPECT_EQ(runBits(objects, path, threads, c.steps, 37.5), reference)
                    << "N=" << c.count << " path=" << int(path) << " threads=" << threads;
        EXPECT_EQ(runBits(objects, IntegratorPath::Auto, 0, c.steps, 37.5), reference);
    }
}

TEST(Integrator, AgreesWithTheLiteralFormulaWithinAFewUlps) {
    // Wide systems where thrust dominates and tight ones where gravity does.
    for (float spread : {1e8f, 3e6f}) {
        for (size_t count : {2u, 7u, 60u}) {
        auto objects = randomSystem(count, 99 + static_cast<unsigned>(count), spread);
        IntegratorState fast;
        fast.setUp(objects);
        LiteralIntegrator literal(objects);
        for (int n = 0; n < 30; ++n) {
            fast.step(60.0, objects);
            literal.step(60.0);
        }
        int64_t worst = 0;
        Vec3f o = fast.origin;
        for (size_t i = 0; i < count; ++i)
            for (int j = 0; j < 6; ++j) {
                double offset = j == 0 ? o.x : j == 2 ? o.y : j == 4 ? o.z : 0.0;
                // Both sides with the origin added back, as readBack rounds it. The pair-once sum
                // adds in another order and its 1/r^3 is within 2 ulps, so a few more roundings.
                int64_t d = ulpDistance(fast.readBack(i, j), literal.value(i, j) + offset);
                if (d > 8)
                    ADD_FAILURE() << i << "," << j << ": " << fast.readBack(i, j) << " vs "
                                  << literal.value(i, j) + offset;
                worst = std::max(worst, d);
            }
        EXPECT_LE(worst, 8) << "N=" << count;
        }
    }
}

TEST(Integrator, SetUpReadBackAndTheObserverAsPureTestParticle) {
    // A body at rest and the observer at rest 1e6 km away.
    std::vector<SimObject> objects = {makeBody(5.97e24f, {1000, 2000, 3000}),
                                      makeObserver({1000, 2000, 1003000})};
    IntegratorState s;
    s.setUp(objects);
    EXPECT_EQ(s.count(), 2u);
    EXPECT_EQ(s.origin.z, 1003000.0f);
    EXPECT_EQ(s.readBack(0, 0), 1000.0);
    EXPECT_EQ(s.readBack(0, 4), 3000.0);
    EXPECT_EQ(s.readBack(1, 4), 1003000.0);
    s.step(1.0, objects);
    // The observer falls toward the body with G M / d^2; the body feels nothing.
    double expected = kGravityKm3PerKgS2 * double(5.97e24f) / 1e12;
    EXPECT_NEAR(s.readBack(1, 5), -expected, expected * 1e-9);
    EXPECT_EQ(s.readBack(1, 1), 0.0);
    EXPECT_EQ(s.readBack(1, 3), 0.0);
    EXPECT_EQ(s.readBack(0, 5), 0.0);
    EXPECT_EQ(s.readBack(0, 4), 3000.0);
    // h = 0 changes nothing.
    double before = s.readBack(1, 4);
    s.step(0.0, objects);
    EXPECT_EQ(s.readBack(1, 4), before);
}

TEST(Integrator, ThrustUsesTheRelativisticFactorAndDirections) {
    EXPECT_EQ(relativisticFactor({0, 0, 0}), 1.0f);
    EXPECT_EQ(relativisticFactor({299972.0f, 0, 0}), 0.0f);
    EXPECT_EQ(relativisticFactor({0, 400000.0f, 0}), 0.0f);
    EXPECT_NEAR(relativisticFactor({0.6f * 299972.0f, 0, 0}), 0.8f, 1e-6f);

    // The observer alone, 300 kN on 1000 kg: 0.3 km/s^2 along the thruster's own axis, each thruster
    // on its own. The axes are turned away from the coordinate axes: forward along +y, up along
    // -x, right along +z.
    struct Axis {
        Vec3f forceKN;
        int component;  // readBack's velocity component that gains 0.6 km/s in 2 s (1, 3, 5: x, y, z)
        double sign;
    };
    std::vector<SimObject> objects = {makeObserver({0, 0, 0}, {}, 1000.0f)};
    objects[0].forwardDirection = {0, 1, 0};
    objects[0].upDirection = {-1, 0, 0};
    objects[0].rightDirection = {0, 0, 1};
    IntegratorState s;
    for (const Axis& a : {Axis{{300, 0, 0}, 3, 1}, Axis{{0, 300, 0}, 1, -1}, Axis{{0, 0, 300}, 5, 1},
                          Axis{{0, 0, -300}, 5, -1}}) {
        SCOPED_TRACE(testing::Message() << "force " << a.forceKN.x << " " << a.forceKN.y << " " << a.forceKN.z);
        objects[0].actingForceKN = a.forceKN;
        s.setUp(objects);
        s.step(2.0, objects);
        for (int j = 1; j < 6; j += 2) {
            EXPECT_NEAR(s.readBack(0, j), j == a.component ? 0.6 * a.sign : 0.0, 1e-12) << j;
            EXPECT_NEAR(s.readBack(0, j - 1), j == a.component ? 0.6 * a.sign : 0.0, 1e-12) << j;  // a t^2 / 2
        }
    }

    // At the limit speed the thrust does nothing.
    objects = {makeObserver({0, 0, 0}, {0, 0, 299972.0f}, 1000.0f)};
    objects[0].actingForceKN = {300, 0, 0};
    s.setUp(objects);
    s.step(2.0, objects);
    EXPECT_EQ(s.readBack(0, 5), 299972.0);
    EXPECT_EQ(s.readBack(0, 4), 2 * 299972.0);
}

TEST(Integrator, CoincidentBodiesGiveTheCoincidenceResultOnEveryPath) {
    std::vector<SimObject> objects = {makeBody(1e20f, {5, 5, 5}), makeBody(1e20f, {5, 5, 5}),
                                      makeBody(1e20f, {500, 5, 5}), makeObserver({0, 0, 1e6f})};
    for (IntegratorPath path : {IntegratorPath::Scalar, IntegratorPath::Avx2,
                                IntegratorPath::Avx512}) {
        IntegratorState s;
        s.setPath(path);
        s.setUp(objects);
        s.step(1e-300, objects);
        // k1 of the coincident pair is the largest double; h/6 of it stays finite here.
        EXPECT_GT(s.readBack(0, 1), 1.0);
        EXPECT_GT(s.readBack(1, 3), 1.0);
        EXPECT_TRUE(std::isfinite(s.readBack(2, 1)));
        EXPECT_LT(std::abs(s.readBack(2, 1)), 1e-200);
        s.step(1.0, objects);  // non-finite from here on, without a crash
        EXPECT_FALSE(std::isfinite(s.readBack(0, 1)));
    }
}

// Circular orbit of a test particle (the observer) around a fixed body; period from the
// semi-major axis of the actual double initial conditions.
TEST(Integrator, OrbitClosesAndRk4ErrorShrinksSixteenfold) {
    const float massKg = 5.97e24f;
    const float radiusKm = 7000.0f;
    double gm = kGravityKm3PerKgS2 * double(massKg);
    float speed = static_cast<float>(std::sqrt(gm / radiusKm));
    std::vector<SimObject> objects = {makeBody(massKg, {0, 0, 0}),
                                      makeObserver({radiusKm, 0, 0}, {0, 0, speed})};
    double r = radiusKm, v = speed;
    double a = 1.0 / (2.0 / r - v * v / gm);
    double period = 2 * M_PI * std::sqrt(a * a * a / gm);

    auto run = [&](int steps, double duration) {
        IntegratorState s;
        s.setUp(objects);
        for (int n = 0; n < steps; ++n) s.step(duration / steps, objects);
        return std::array<double, 3>{s.readBack(1, 0), s.readBack(1, 2), s.readBack(1, 4)};
    };
    auto end = run(4000, period);
    double miss = std::hypot(end[0] - r, end[1], end[2]);
    EXPECT_LT(miss, 1e-6 * r);

    // Error at a quarter period against a fine reference: halving h divides it by about 16.
    auto reference = run(6400, period / 4);
    auto error = [&](int steps) {
        auto p = run(steps, period / 4);
        return std::hypot(p[0] - reference[0], p[1] - reference[1], p[2] - reference[2]);
    };
    double e1 = error(25), e2 = error(50), e3 = error(100);
    EXPECT_GT(e1 / e2, 12.0);
    EXPECT_LT(e1 / e2, 20.0);
    EXPECT_GT(e2 / e3, 12.0);
    EXPECT_LT(e2 / e3, 20.0);
}

TEST(Integrator, TwoBodiesConserveMomentumAndEnergyAndPullEqually) {
    const float m = 1e24f;
    std::vector<SimObject> objects = {makeBody(m, {-5000, 0, 0}, {0, 0, -1.2f}),
                                      makeBody(m, {5000, 0, 0}, {0, 0, 1.2f}),
                                      makeObserver({0, 3e7f, 0})};
    IntegratorState s;
    s.setUp(objects);
    s.step(10.0, objects);
    // Equal masses: equal and opposite velocity changes.
    EXPECT_NEAR(s.readBack(0, 1), -s.readBack(1, 1), 1e-15);
    EXPECT_GT(s.readBack(0, 1), 0.0);

    double gm = kGravityKm3PerKgS2 * double(m);
    auto energy = [&] {
        double dx = s.readBack(1, 0) - s.readBack(0, 0), dy = s.readBack(1, 2) - s.readBack(0, 2),
               dz = s.readBack(1, 4) - s.readBack(0, 4);
        double kinetic = 0;
        for (size_t i = 0; i < 2; ++i)
            for (int j : {1, 3, 5}) kinetic += 0.5 * s.readBack(i, j) * s.readBack(i, j);
        return kinetic - gm / std::sqrt(dx * dx + dy * dy + dz * dz);  // per unit mass
    };
    double e0 = energy();
    for (int n = 0; n < 2000; ++n) s.step(5.0, objects);
    EXPECT_NEAR(energy(), e0, std::abs(e0) * 1e-8);
    for (int j : {1, 3, 5}) EXPECT_NEAR(s.readBack(0, j) + s.readBack(1, j), 0.0, 1e-13);
}

}  // namespace
