// The observer's flight controls and attitude update: what each key or latch does to the levels,
// thrusters, jump drive and energy, and how the rotation rates turn the orientation and camera.
#include "ship_controls.h"

#include <cmath>
#include <numbers>

#include "target_navigation.h"

namespace {

// The polled keys act in live mode, and in an exact replay, which plays the recorded keys.
bool keysCount(const SimState& state) { return state.isLive() || state.replay.exactInput; }

// A rate-driven level: the raising control wins; the upper limit applies at or past it, the lower
// limit (0) when a decrease leaves the value at or below 0.
void adjustLevel(float& level, bool raise, bool lower, float rate, float hS, float upper) {
    if (raise) {
        level += rate * hS;
        if (level >= upper) level = upper;
    } else if (lower) {
        level -= rate * hS;
        if (level <= 0) level = 0;
    }
}

// Acting force of one thruster: the first control fires forward, else the second backward. A held
// key fires at any energy; a latch fires only while energy is left.
float thrusterForce(const SimState& state, Control first, int firstKey, Control second,
                    int secondKey, float nominal) {
    bool live = keysCount(state);
    bool energyLeft = state.energyKJ > 0;
    auto fires = [&](Control c, int key) {
        return (live && state.keyState.isDown(key)) || (state.latches[c] != 0 && energyLeft);
    };
    if (fires(first, firstKey)) return nominal;
    if (fires(second, secondKey)) return -nominal;
    return 0.0f;
}

Vec3f column(const Mat4f& m, int c) { return {m.m[0][c], m.m[1][c], m.m[2][c]}; }

}  // namespace

bool controlActive(const SimState& state, Control control, int keyCode) {
    if (state.latches[control] != 0) return true;
    return keysCount(state) && keyCode >= 0 && state.keyState.isDown(keyCode);
}

ControlStepResult applyControls(SimState& state, float h) {
    ControlStepResult result;
    SimObject& ship = state.observer();
    auto active = [&](Control c, int key) { return controlActive(state, c, key); };

    // Rotation increments from the old torque level; the negative control of a pair wins.
    float step = ship.torqueLevel * h;
    Vec3f& inc = result.rotationIncrement;
    if (active(kPitchDown, KeyCode::W)) inc.x = step;
    if (active(kPitchUp, KeyCode::E)) inc.x = -step;
    if (active(kYawRight, KeyCode::S)) inc.y = step;
    if (active(kYawLeft, KeyCode::D)) inc.y = -step;
    if (active(kRollCounterClockwise, KeyCode::X)) inc.z = step;
    if (active(kRollClockwise, KeyCode::C)) inc.z = -step;

    adjustLevel(ship.nominalForceKN.x, active(kForwardThrustUp, KeyCode::U),
                active(kForwardThrustDown, KeyCode::I), ship.forceFactorKNPerS, h,
                kMaxNominalForceKN);
    adjustLevel(ship.nominalForceKN.y, active(kUpThrustUp, KeyCode::H),
                active(kUpThrustDown, KeyCode::J), ship.forceFactorKNPerS, h, kMaxNominalForceKN);
    adjustLevel(ship.nominalForceKN.z, active(kRightThrustUp, KeyCode::N),
                active(kRightThrustDown, KeyCode::M), ship.forceFactorKNPerS, h,
                kMaxNominalForceKN);
    adjustLevel(ship.torqueLevel, active(kTorqueUp, KeyCode::Up), active(kTorqueDown, KeyCode::Down),
                ship.angularAccelFactor, h, kMaxTorqueLevel);

    ship.actingForceKN.x = thrusterForce(state, kForwardThrusterForward, KeyCode::R,
                                         kForwardThrusterBackward, KeyCode::T,
                                         ship.nominalForceKN.x);
    ship.actingForceKN.y = thrusterForce(state, kUpThrusterUp, KeyCode::F, kUpThrusterDown,
                                         KeyCode::G, ship.nominalForceKN.y);
    ship.actingForceKN.z = thrusterForce(state, kRightThrusterRight, KeyCode::V,
                                         kRightThrusterLeft, KeyCode::B, ship.nominalForceKN.z);

    state.alignRequest = active(kAlign, KeyCode::Space) ? 1 : 0;
    if (state.latches[kPanic]) panicStop(state);

    adjustLevel(ship.jumpDistanceKm, active(kDistanceFastUp, KeyCode::P),
                active(kDistanceFastDown, KeyCode::L), ship.bigJumpFactorKmPerS, h,
                kMaxJumpDistanceKm);
    adjustLevel(ship.jumpDistanceKm, active(kDistanceSlowUp, KeyCode::O),
                active(kDistanceSlowDown, KeyCode::K), ship.smallJumpFactorKmPerS, h,
                kMaxJumpDistanceKm);

    // The down flags of Q and F7 follow the key state read this frame.
    if (keysCount(state)) {
        state.keyState.qDown = state.keyState.isDown(KeyCode::Q) ? 1 : 0;
        state.keyState.f7Down = state.keyState.isDown(KeyCode::F7) ? 1 : 0;
    }
    bool jumpKey = keysCount(state) && state.keyState.qDown != 0;
    updateJumpPromise(state,
                      active(kDistanceFastUp, KeyCode::P) || active(kDistanceFastDown, KeyCode::L) ||
                          active(kDistanceSlowUp, KeyCode::O) || active(kDistanceSlowDown, KeyCode::K),
                      jumpKey);
    if (jumpKey || state.latches[kJump]) {
        if (admitJump(state, jumpKey)) {
            executeJump(state);
            result.jumped = true;
        } else if (jumpKey) {
            state.keyState.qDown = 0;  // no jump, so no jump flash
        }
    }
    bool snapshotKey = keysCount(state) && state.keyState.f7Down != 0;
    result.snapshotRequested = snapshotKey || state.flags.snapshotRequest != 0;
    result.restoreRequested = active(kRestoreEnergy, KeyCode::A);
    return result;
}

bool restoreEnergy(SimState& state) {
    SimObject& ship = state.observer();
    for (size_t k = 0; k + 1 < state.objects.size(); ++k) {
        const SimObject& body = state.objects[k];
        Vec3f p = body.positionKm - ship.positionKm;
        float distance = length(p);
        float altitude = distance - body.equatorialRadiusKm;
        float radialSpeed =
            distance == 0 ? 0.0f : dot(body.velocityKmPerS - ship.velocityKmPerS, p) / distance;
        if (altitude <= kRestoreAltitudeKm && radialSpeed <= kRestoreRadialSpeedKmPerS) {
            state.energyKJ = kMaxEnergyKJ;
            ship.energyKJ = kMaxEnergyKJ;
            return true;
        }
    }
    return false;
}

Vec3f jumpDisplacement(Vec3f f, float distanceKm) {
    double fx = f.x, fy = f.y, fz = f.z;
    double len = std::sqrt(fx * fx + fy * fy + fz * fz);
    if (len == 0) return {};
    constexpr double pi = std::numbers::pi;
    double cosTheta = std::fmax(-1.0, std::fmin(1.0, fy / len));
    double declination = pi / 2 - std::acos(cosTheta);
    double ra;
    if (fx < 0)
        ra = pi / 2 + std::atan(fz / fx);
    else if (fx > 0)
        ra = 3 * pi / 2 + std::atan(fz / fx);
    else
        ra = fz > 0 ? 2 * pi : pi;
    double l = distanceKm;
    return {static_cast<float>(l * std::cos(declination) * -std::sin(ra)),
            static_cast<float>(l * std::sin(declination)),
            static_cast<float>(l * std::cos(declination) * std::cos(ra))};
}

void executeJump(SimState& state) {
    SimObject& ship = state.observer();
    // The camera is still the one built in the previous frame.
    ship.positionKm = ship.positionKm + jumpDisplacement(column(state.camera, 2), ship.jumpDistanceKm);
    state.integrator.setUp(state.objects);
    ship.energyKJ -= kJumpCostKJPerKm * ship.jumpDistanceKm;
    state.energyKJ = ship.energyKJ;
}

void updateAttitude(SimState& state, Vec3f inc) {
    SimObject& ship = state.observer();
    state.rotationRates = state.rotationRates + inc;
    state.accumulatedAngles = state.accumulatedAngles + state.rotationRates;
    auto wrap = [](float angle) {
        float r = std::fmod(angle, kTwoPiF);
        return r < 0 ? r + kTwoPiF : r;
    };
    state.wrappedAngles = {wrap(state.accumulatedAngles.x), wrap(state.accumulatedAngles.y),
                           wrap(state.accumulatedAngles.z)};
    ship.ratesRadPerFrame = state.rotationRates;
    ship.anglesRad = state.wrappedAngles;
    const Vec3f& r = state.rotationRates;  // pitch, yaw, roll
    Mat4f rotation = rotationFromQuaternion(quaternionFromYawPitchRoll(r.y, r.x, r.z));
    state.orientation = rotation * state.orientation;
    updateCamera(state);
}

void updateCamera(SimState& state) {
    Vec3f p = state.observer().positionKm * -kCameraDisplayScale;
    state.camera = translation(p.x, p.y, p.z) * inverse(state.orientation);
    state.cameraCopy = state.camera;
}

void panicStop(SimState& state) {
    state.rotationRates = {};
    state.observer().ratesRadPerFrame = {};
}

void alignThrusters(SimState& state) {
    SimObject& ship = state.observer();
    ship.forwardDirection = column(state.camera, 2);
    ship.upDirection = column(state.camera, 1);
    ship.rightDirection = column(state.camera, 0);
}
