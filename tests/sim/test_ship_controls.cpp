// Tests of the observer's control step: keys and latches, level limits, thrusters and energy,
// jump and restore energy, panic, and the attitude and camera update.
#include <gtest/gtest.h>

#include <cmath>

#include "ship_controls.h"

namespace {

// An observer alone (or after the given bodies), torque level 0.005, live mode.
SimState makeShipState(std::vector<SimObject> bodies = {}) {
    SimState state;
    state.runMode = 1;
    SimObject ship;
    ship.isObserver = 1;
    ship.massKg = 1000;
    ship.torqueLevel = 0.005f;
    ship.angularAccelFactor = 0.001f;
    ship.forceFactorKNPerS = 100;
    ship.nominalForceKN = {500, 600, 700};
    ship.bigJumpFactorKmPerS = 1e6f;
    ship.smallJumpFactorKmPerS = 1e3f;
    ship.forwardDirection = {0, 0, 1};
    ship.upDirection = {0, 1, 0};
    ship.rightDirection = {1, 0, 0};
    ship.energyKJ = 1e6f;
    state.objects = std::move(bodies);
    state.objects.push_back(ship);
    state.energyKJ = ship.energyKJ;
    state.integrator.setUp(state.objects);
    return state;
}

void press(SimState& s, int code) { s.keyState.keys[static_cast<size_t>(code)] = 0x80; }
void releaseAll(SimState& s) { s.keyState.keys.fill(0); }

TEST(ShipControls, RotationIncrementsAndTheNegativeControlWinning) {
    SimState s = makeShipState();
    press(s, KeyCode::W);
    ControlStepResult r = applyControls(s, 0.02f);
    EXPECT_EQ(r.rotationIncrement.x, 0.005f * 0.02f);
    EXPECT_NEAR(r.rotationIncrement.x, 0.0001f, 1e-10f);
    updateAttitude(s, r.rotationIncrement);
    EXPECT_EQ(s.rotationRates.x, r.rotationIncrement.x);
    EXPECT_EQ(s.observer().ratesRadPerFrame.x, s.rotationRates.x);
    // Released: the ship keeps turning by the rate every frame.
    releaseAll(s);
    r = applyControls(s, 0.02f);
    EXPECT_EQ(r.rotationIncrement.x, 0.0f);
    updateAttitude(s, r.rotationIncrement);
    EXPECT_FLOAT_EQ(s.accumulatedAngles.x, 2 * 0.005f * 0.02f);

    // W and E together: E (negative) wins; likewise D over S and C over X.
    for (auto [plus, minus] : {std::pair{KeyCode::W, KeyCode::E}, std::pair{KeyCode::S, KeyCode::D},
                               std::pair{KeyCode::X, KeyCode::C}}) {
        releaseAll(s);
        press(s, plus);
        press(s, minus);
        r = applyControls(s, 0.02f);
        float sum = r.rotationIncrement.x + r.rotationIncrement.y + r.rotationIncrement.z;
        EXPECT_EQ(sum, -0.005f * 0.02f);
    }
    // A latch acts like its key; in replay mode only latches count.
    releaseAll(s);
    s.latches[kYawRight] = 1;
    EXPECT_EQ(applyControls(s, 0.02f).rotationIncrement.y, 0.005f * 0.02f);
    s.latches[kYawRight] = 0;
    s.runMode = 0;
    press(s, KeyCode::S);
    EXPECT_EQ(applyControls(s, 0.02f).rotationIncrement.y, 0.0f);
}

TEST(ShipControls, LevelsClampExactlyAndRaiseWins) {
    SimState s = makeShipState();
    SimObject& ship = s.observer();
    ship.nominalForceKN.x = 9999;
    press(s, KeyCode::U);
    press(s, KeyCode::I);  // raise wins
    applyControls(s, 0.02f);
    EXPECT_EQ(ship.nominalForceKN.x, 10000.0f);
    releaseAll(s);
    ship.nominalForceKN.y = 1;
    press(s, KeyCode::J);
    applyControls(s, 0.02f);
    EXPECT_EQ(ship.nominalForceKN.y, 0.0f);
    releaseAll(s);
    press(s, KeyCode::N);
    applyControls(s, 0.02f);
    EXPECT_EQ(ship.nominalForceKN.z, 702.0f);

    // Torque level: from 0.0089 with a large factor it stops at exactly 0.009; the rotation
    // increments of that frame still use the old level.
    releaseAll(s);
    ship.torqueLevel = 0.0089f;
    ship.angularAccelFactor = 1000;
    press(s, KeyCode::Up);
    press(s, KeyCode::W);
    ControlStepResult r = applyControls(s, 0.02f);
    EXPECT_EQ(ship.torqueLevel, 0.009f);
    EXPECT_EQ(r.rotationIncrement.x, 0.0089f * 0.02f);
    releaseAll(s);
    press(s, KeyCode::Down);
    applyControls(s, 0.02f);
    EXPECT_EQ(ship.torqueLevel, 0.0f);

    // Jump distance: fast then slow, independently; clamps at 1e9 and 0.
    releaseAll(s);
    ship.jumpDistanceKm = 1000;
    press(s, KeyCode::P);
    press(s, KeyCode::O);
    applyControls(s, 0.5f);
    EXPECT_EQ(ship.jumpDistanceKm, 1000 + 5e5f + 500);
    ship.jumpDistanceKm = 9.999e8f;
    applyControls(s, 0.5f);
    EXPECT_EQ(ship.jumpDistanceKm, 1e9f);
    releaseAll(s);
    press(s, KeyCode::L);
    ship.jumpDistanceKm = 2e5f;
    applyControls(s, 0.5f);
    EXPECT_EQ(ship.jumpDistanceKm, 0.0f);
}

TEST(ShipControls, ThrustersFollowKeysLatchesAndEnergy) {
    SimState s = makeShipState();
    SimObject& ship = s.observer();
    press(s, KeyCode::R);
    press(s, KeyCode::T);
    applyControls(s, 0.02f);
    EXPECT_EQ(ship.actingForceKN.x, 500.0f);  // first key wins
    releaseAll(s);
    press(s, KeyCode::G);
    press(s, KeyCode::B);
    applyControls(s, 0.02f);
    EXPECT_EQ(ship.actingForceKN.x, 0.0f);
    EXPECT_EQ(ship.actingForceKN.y, -600.0f);
    EXPECT_EQ(ship.actingForceKN.z, -700.0f);

    // At zero energy the latch does not fire, the key does.
    releaseAll(s);
    s.energyKJ = 0;
    s.latches[kRightThrusterRight] = 1;
    applyControls(s, 0.02f);
    EXPECT_EQ(ship.actingForceKN.z, 0.0f);
    press(s, KeyCode::V);
    applyControls(s, 0.02f);
    EXPECT_EQ(ship.actingForceKN.z, 700.0f);
    releaseAll(s);
    s.energyKJ = 1;
    applyControls(s, 0.02f);
    EXPECT_EQ(ship.actingForceKN.z, 700.0f);
    // Replay: the key is ignored, the latch fires.
    s.runMode = 0;
    s.latches[kRightThrusterRight] = 0;
    press(s, KeyCode::V);
    applyControls(s, 0.02f);
    EXPECT_EQ(ship.actingForceKN.z, 0.0f);
}

TEST(ShipControls, AlignPanicAndFlags) {
    SimState s = makeShipState();
    s.rotationRates = {0.1f, 0.2f, 0.3f};
    s.observer().ratesRadPerFrame = s.rotationRates;
    press(s, KeyCode::Space);
    s.latches[kPanic] = 1;
    ControlStepResult r = applyControls(s, 0.02f);
    EXPECT_EQ(s.alignRequest, 1);
    EXPECT_EQ(s.rotationRates.y, 0.0f);
    EXPECT_EQ(s.observer().ratesRadPerFrame.z, 0.0f);
    EXPECT_FALSE(r.snapshotRequested);
    releaseAll(s);
    press(s, KeyCode::F7);
    press(s, KeyCode::A);
    r = applyControls(s, 0.02f);
    EXPECT_EQ(s.alignRequest, 0);
    EXPECT_TRUE(r.snapshotRequested);
    EXPECT_TRUE(r.restoreRequested);
    EXPECT_EQ(s.keyState.f7Down, 1);

    s.rotationRates = {1, 1, 1};
    panicStop(s);
    EXPECT_EQ(s.rotationRates.x, 0.0f);
}

TEST(ShipControls, JumpAlongTheViewAndItsCost) {
    EXPECT_NEAR(jumpDisplacement({0, 0, 1}, 100).z, 100.0f, 1e-4f);
    EXPECT_NEAR(jumpDisplacement({1, 0, 0}, 100).x, 100.0f, 1e-4f);
    EXPECT_NEAR(jumpDisplacement({-2, 0, 0}, 100).x, -100.0f, 1e-4f);
    EXPECT_NEAR(jumpDisplacement({0, 0, -1}, 100).z, -100.0f, 1e-4f);
    EXPECT_NEAR(jumpDisplacement({0, 3, 0}, 100).y, 100.0f, 1e-4f);
    Vec3f d = jumpDisplacement({1, -1, 1}, 300);
    EXPECT_NEAR(d.x, 300 / std::sqrt(3.0f), 1e-3f);
    EXPECT_NEAR(d.y, -300 / std::sqrt(3.0f), 1e-3f);
    EXPECT_NEAR(d.z, 300 / std::sqrt(3.0f), 1e-3f);
    Vec3f zero = jumpDisplacement({0, 0, 0}, 300);
    EXPECT_EQ(zero.x + zero.y + zero.z, 0.0f);

    // A 1e9 km jump with 5e9 kJ: costs 1e10, leaves -5e9 for the energy step to clamp.
    SimState s = makeShipState();
    s.observer().positionKm = {10, 20, 30};
    s.observer().jumpDistanceKm = 1e9f;
    s.observer().energyKJ = 5e9f;
    s.energyKJ = 5e9f;
    updateCamera(s);  // the previous frame's camera, looking along +z
    press(s, KeyCode::Q);
    ControlStepResult r = applyControls(s, 0.02f);
    EXPECT_TRUE(r.jumped);
    EXPECT_EQ(s.observer().positionKm.z, 30 + 1e9f);
    EXPECT_EQ(s.observer().positionKm.x, 10.0f);
    EXPECT_EQ(s.observer().energyKJ, -5e9f);
    EXPECT_EQ(s.energyKJ, -5e9f);
    EXPECT_EQ(s.integrator.origin.z, 30 + 1e9f);
    // The jump latch alone jumps too.
    releaseAll(s);
    s.latches[kJump] = 1;
    s.observer().jumpDistanceKm = 5;
    EXPECT_TRUE(applyControls(s, 0.02f).jumped);
}

TEST(ShipControls, RestoreEnergyNearApproachingBodies) {
    auto stateAt = [](float altitudeKm, float closingSpeed) {
        SimObject body;
        body.massKg = 1;
        body.equatorialRadiusKm = 6000;
        body.positionKm = {0, 0, 6000 + altitudeKm};
        body.velocityKmPerS = {0, 0, -closingSpeed};  // positive closing speed: approaching
        SimState s = makeShipState({body});
        s.energyKJ = 5;
        s.observer().energyKJ = 5;
        return s;
    };
    SimState s = stateAt(19999, 100);
    EXPECT_TRUE(restoreEnergy(s));
    EXPECT_EQ(s.energyKJ, 1e11f);
    EXPECT_EQ(s.observer().energyKJ, 1e11f);
    s = stateAt(20001, 100);
    EXPECT_FALSE(restoreEnergy(s));
    EXPECT_EQ(s.energyKJ, 5.0f);
    s = stateAt(100, -25);  // departing faster than 20 km/s
    EXPECT_FALSE(restoreEnergy(s));
    s = stateAt(100, -15);
    EXPECT_TRUE(restoreEnergy(s));
}

TEST(ShipControls, AttitudeWrapsAnglesAndTurnsOrientationAndCamera) {
    SimState s = makeShipState();
    s.observer().positionKm = {300000, -600000, 0};
    updateAttitude(s, {0.25f, 0, 0});
    Mat4f expected = rotationX(0.25f);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(s.orientation.m[i][j], expected.m[i][j], 1e-6f);
    updateAttitude(s, {0, 0, 0});
    expected = rotationX(0.5f);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(s.orientation.m[i][j], expected.m[i][j], 1e-6f);
    // Camera: translation by -position / 300000, then the inverse orientation.
    Vec3f p = transformPoint({1, -2, 0}, s.camera);
    EXPECT_NEAR(p.x, 0, 1e-5f);
    EXPECT_NEAR(p.y, 0, 1e-5f);
    EXPECT_EQ(s.cameraCopy, s.camera);

    // Negative accumulated angles wrap into [0, 2 pi).
    s.rotationRates = {};
    updateAttitude(s, {0, -1, 0});
    EXPECT_FLOAT_EQ(s.wrappedAngles.y, 6.2831855f - 1);
    EXPECT_EQ(s.observer().anglesRad.y, s.wrappedAngles.y);
    EXPECT_EQ(s.accumulatedAngles.y, -1.0f);
    // A rate turns the ship in its own axes: yaw after a pitch is about the ship's up axis.
    SimState t = makeShipState();
    updateAttitude(t, {0.3f, 0, 0});
    t.rotationRates = {};
    updateAttitude(t, {0, 0.2f, 0});
    Mat4f composed = rotationY(0.2f) * rotationX(0.3f);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(t.orientation.m[i][j], composed.m[i][j], 1e-6f);
}

}  // namespace
