// The observer's flight controls, once per frame: rotation increments, thrust and torque levels,
// thrusters, align request, panic stop, jump distance and jump, restore energy, and the attitude
// and camera update that follows them.
#pragma once

#include "math3d.h"
#include "sim_state.h"

// Render units per km: the camera translation scales the observer position by it.
constexpr float kCameraDisplayScale = 3.3333333e-6f;  // 1/300000
constexpr float kRestoreAltitudeKm = 20000.0f;
constexpr float kRestoreRadialSpeedKmPerS = 20.0f;
constexpr float kJumpCostKJPerKm = 10.0f;
constexpr float kTwoPiF = 6.2831855f;

struct ControlStepResult {
    Vec3f rotationIncrement;        // pitch, yaw, roll, rad per frame, added to the rates
    bool snapshotRequested = false;  // F7 or the snapshot request: the caller stores one
    bool restoreRequested = false;   // A or its latch: the caller runs restoreEnergy next
    bool jumped = false;
};

// Whether a control is active this frame: in live mode its key is down or its latch is set; in
// replay mode only the latch counts, except in an exact replay, which replays the keys too.
bool controlActive(const SimState& state, Control control, int keyCode);

// The control step (everything but the keyboard read, the snapshot and the energy restoration,
// which the caller runs in that order after it). In live mode the keys of state.keyState count;
// the caller skips this step when the keyboard could not be read. h is the frame time.
ControlStepResult applyControls(SimState& state, float hS);

// Refills the energy to 1e11 kJ when a body is within 20000 km of its equatorial radius and the
// observer is not departing from it faster than 20 km/s. True when it refilled.
bool restoreEnergy(SimState& state);

// Teleports the observer by the jump distance along the camera's forward axis, restarts the
// integrator there and charges 10 kJ per km (the energy step of the frame clamps it at 0).
void executeJump(SimState& state);

// Jump displacement: the forward axis converted to declination and right ascension and back with
// the jump distance as length (a zero axis gives zero).
Vec3f jumpDisplacement(Vec3f forward, float distanceKm);

// Rates += increment, angles += rates, wrapped angles, observer Items 33-38, orientation :=
// R * orientation, then the camera.
void updateAttitude(SimState& state, Vec3f increment);

// camera := translation(-position * display scale) * inverse(orientation); cameraCopy := camera.
void updateCamera(SimState& state);

// F8 and the panic latch: the application's rotation rates and the observer's Items 33-35 := 0.
void panicStop(SimState& state);

// Thruster directions := the camera axes (forward third column, up second, right first).
void alignThrusters(SimState& state);
