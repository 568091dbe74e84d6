// A scripted flight run without a window: turning, thrusting, a jump, aligning and restoring
// energy. The saved object file must hold what the flight rules give, computed here by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "object_file.h"
#include "simulator_runs.h"
#include "view_files.h"

using testdata::TempDataDir;

namespace {

constexpr double kH = 0.02;              // s per frame
constexpr double kTorque = 0.001;        // rad/s^2, the observer's torque level
constexpr double kMassKg = 1000;
constexpr double kStartEnergyKJ = 5e6;
constexpr double kJumpKm = 1e5;

// Six significant digits: half a unit in the sixth digit of the larger of value and scale.
void expectSix(double actual, double expected, double scale, const char* what) {
    double tol = 5e-6 * std::max(std::fabs(expected), scale);
    EXPECT_NEAR(actual, expected, tol) << what;
}

// An observer 1e8 km out on +x, at rest, and a massless marker body 10000 km ahead of it (it
// attracts nothing, so the flight is pure thrust, and it lets the energy be restored).
void writeFlightData(const std::string& dir) {
    SimObject ship = testdata::minimalObserver();
    ship.massKg = kMassKg;
    ship.torqueLevel = static_cast<float>(kTorque);
    ship.forceFactorKNPerS = 1e5f;
    ship.energyKJ = static_cast<float>(kStartEnergyKJ);
    ship.jumpDistanceKm = static_cast<float>(kJumpKm);
    SimObject marker = testdata::masslessMarker();
    testdata::writeLiveDataDir(dir, {{"Marker", marker}, {"Ship", ship}});
}

// Frames 0-4 pitch down (W); 5-9 raise the forward thrust level (U); 10-19 fire forward (R);
// 25 jump (Q); 27 align (Space); 30 frames in all. withRestore adds A at frame 22.
std::string flightScript(bool withRestore) {
    std::string s =
        "# scripted flight\n"
        "0 key W down\n5 key W up\n"
        "5 key U down\n10 key U up\n"
        "10 key R down\n20 key R up\n"
        "25 key Q down\n26 key Q up\n"
        "27 key Space down\n28 key Space up\n";
    if (withRestore) s += "22 key A down\n23 key A up\n";
    return s;
}

SimObject runFlight(const std::string& dir, bool withRestore) {
    writeFlightData(dir);
    testdata::writeText(dir + "script.txt", flightScript(withRestore));
    testrun::RunResult r = e2e::runCorvane(
        dir, {"--no-render", "--fixed-dt", "0.02", "--frames", "30", "--input", dir + "script.txt"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    SimObject ship;
    EXPECT_TRUE(readObjectFile(ship, dir + "Objects/Ship.cfg", dir));
    return ship;
}

}  // namespace

TEST(ScriptedFlight, SavedStateFollowsTheFlightRules) {
    TempDataDir dir;
    SimObject ship = runFlight(dir.path(), false);

    // Attitude: five frames of W add torque * h each to the pitch rate; the angle sums the rate
    // of every frame.
    const double rate = 5 * kTorque * kH;
    auto pitchAfter = [&](int frames) {  // accumulated pitch after frames 0..frames-1
        double a = 0;
        for (int k = 0; k < frames; ++k) a += std::min(k + 1, 5) * kTorque * kH;
        return a;
    };
    expectSix(ship.ratesRadPerFrame.x, rate, 0, "pitch rate");
    expectSix(ship.ratesRadPerFrame.y, 0, 1e-12, "yaw rate");
    expectSix(ship.ratesRadPerFrame.z, 0, 1e-12, "roll rate");
    expectSix(ship.anglesRad.x, pitchAfter(30), 0, "pitch");
    expectSix(ship.anglesRad.y, 0, 1e-12, "yaw");
    expectSix(ship.anglesRad.z, 0, 1e-12, "roll");

    // Thrust: the level rises by 1e5 * h = 2000 kN per frame and stops at exactly 10000; ten
    // frames of 10 km/s^2 forward (+z) give 2 km/s and 0.2 km, then the ship coasts ten frames.
    EXPECT_EQ(ship.nominalForceKN.x, 10000.0f);
    EXPECT_EQ(ship.nominalForceKN.y, 0.0f);
    EXPECT_EQ(ship.actingForceKN.x, 0.0f);
    const double accel = 10000 / kMassKg;
    const double v = accel * 10 * kH;
    // The jump at frame 25 goes along the view's forward axis, pitched by the angle of frame 24.
    const double theta = pitchAfter(25);
    const double z = 0.5 * accel * std::pow(10 * kH, 2) + v * 10 * kH + kJumpKm * std::cos(theta);
    const double y = -kJumpKm * std::sin(theta);
    expectSix(ship.positionKm.x, 1e8, 0, "x");
    expectSix(ship.positionKm.y, y, kJumpKm, "y");
    expectSix(ship.positionKm.z, z, kJumpKm, "z");
    expectSix(ship.velocityKmPerS.x, 0, 1e-9, "vx");
    expectSix(ship.velocityKmPerS.y, 0, 1e-9, "vy");
    expectSix(ship.velocityKmPerS.z, v, 0, "vz");

    // Energy: the drain r |v| |F| h over the ten firing frames (|v| of each frame's start:
    // 0, 0.2, ..., 1.8 km/s), then 10 kJ per km of the jump.
    double drain = 0;
    for (int k = 0; k < 10; ++k) drain += (accel * kH * k) * 10000 * kH;
    expectSix(ship.energyKJ, kStartEnergyKJ - drain - 10 * kJumpKm, 0, "energy");
    expectSix(ship.jumpDistanceKm, kJumpKm, 0, "jump distance");
    expectSix(ship.torqueLevel, kTorque, 0, "torque level");

    // Align at frame 27: forward and up follow the view, pitched by the angle after frame 27.
    const double a27 = pitchAfter(28);
    expectSix(ship.forwardDirection.y, -std::sin(a27), 1, "forward y");
    expectSix(ship.forwardDirection.z, std::cos(a27), 1, "forward z");
    expectSix(ship.upDirection.y, std::cos(a27), 1, "up y");
    expectSix(ship.upDirection.z, std::sin(a27), 1, "up z");

    // The orientation saved for the next run is the same pitch rotation.
    Mat4f view;
    ASSERT_TRUE(readLastView(dir / "last_view.cfg", view));
    expectSix(view.m[2][1], -std::sin(pitchAfter(30)), 1, "orientation forward y");
    expectSix(view.m[1][1], std::cos(pitchAfter(30)), 1, "orientation up y");
    expectSix(std::stod(testdata::readText(dir / "time.cfg")), 30 * kH, 0, "mission time");
}

TEST(ScriptedFlight, RestoringEnergyNearABodyRefillsTheStore) {
    TempDataDir dir;
    SimObject ship = runFlight(dir.path(), true);
    // Refilled to 1e11 kJ 10000 km from the marker at frame 22, then the jump's 1e6 kJ.
    expectSix(ship.energyKJ, 1e11 - 10 * kJumpKm, 0, "energy");
}
