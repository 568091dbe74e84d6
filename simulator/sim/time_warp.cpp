// Warp factor steps, the drop rules and the warped frame time of a live frame.
#include "time_warp.h"

#include <cmath>

#include "frame_step.h"
#include "integrator.h"
#include "sim_state.h"
#include "step_bound.h"

namespace {

// Controls whose latch or key flies the ship; the thruster latches are left out on purpose.
constexpr Control kFlyingLatches[] = {
    kTorqueUp,        kPitchUp,         kTorqueDown,       kYawRight,       kYawLeft,
    kRollClockwise,   kPitchDown,       kRollCounterClockwise, kPanic,      kDistanceFastUp,
    kDistanceSlowUp,  kDistanceSlowDown, kDistanceFastDown, kForwardThrustUp, kForwardThrustDown,
    kRightThrustUp,   kRightThrustDown, kUpThrustUp,       kUpThrustDown,   kRestoreEnergy,
    kJump,            kAlign};

constexpr int kFlyingKeys[] = {
    KeyCode::W, KeyCode::E, KeyCode::S, KeyCode::D, KeyCode::X, KeyCode::C, KeyCode::Up,
    KeyCode::Down, KeyCode::U, KeyCode::I, KeyCode::H, KeyCode::J, KeyCode::N, KeyCode::M,
    KeyCode::R, KeyCode::T, KeyCode::F, KeyCode::G, KeyCode::V, KeyCode::B, KeyCode::Space,
    KeyCode::P, KeyCode::L, KeyCode::O, KeyCode::K, KeyCode::Q, KeyCode::A};

}  // namespace

bool flyingControlActive(const SimState& state) {
    for (Control c : kFlyingLatches)
        if (state.latches[c]) return true;
    for (int key : kFlyingKeys)
        if (state.keyState.isDown(key)) return true;
    return false;
}

bool surfaceWithinReach(const SimState& state, double h) {
    const SimObject& ship = state.observer();
    for (size_t k = 0; k + 1 < state.objects.size(); ++k) {
        const SimObject& body = state.objects[k];
        const double dx = double(body.positionKm.x) - ship.positionKm.x;
        const double dy = double(body.positionKm.y) - ship.positionKm.y;
        const double dz = double(body.positionKm.z) - ship.positionKm.z;
        const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
        const double vx = double(body.velocityKmPerS.x) - ship.velocityKmPerS.x;
        const double vy = double(body.velocityKmPerS.y) - ship.velocityKmPerS.y;
        const double vz = double(body.velocityKmPerS.z) - ship.velocityKmPerS.z;
        const double speed = std::sqrt(vx * vx + vy * vy + vz * vz);
        const double pull = d > 0 ? kGravityKm3PerKgS2 * body.massKg / (d * d) : 0.0;
        const double margin = d - body.equatorialRadiusKm - kSurfaceDistanceKm;
        if (margin <= speed * h + 0.5 * pull * h * h) return true;
    }
    return false;
}

const char* warpDropMessage(WarpDrop drop) {
    switch (drop) {
        case WarpDrop::FlyingControl: return "Warp 1x: flight control used";
        case WarpDrop::Surface: return "Warp 1x: surface near";
        case WarpDrop::CannotKeepUp: return "Warp 1x: cannot keep up";
        case WarpDrop::None: break;
    }
    return nullptr;
}

int32_t warpSubstepBudget(const TimeWarp& w, size_t objectCount) {
    if (w.substepBudget > 0) return w.substepBudget;
    const double n = static_cast<double>(objectCount);
    const double cost = w.stepCostS > 0 ? w.stepCostS : kNominalStepCostPerPairS * n * (n - 1) / 2;
    const double fits = std::floor(kWarpGravityBudgetS / cost);
    if (!(fits >= 1)) return 1;
    return fits > 1e6 ? 1000000 : static_cast<int32_t>(fits);
}

float resolveWarpedFrameTime(SimState& state, float elapsedS) {
    return resolveWarpedFrameTime(state, elapsedS, warpSubstepBudget(state.warp, state.objects.size()));
}

float resolveWarpedFrameTime(SimState& state, float elapsedS, double allowedSubsteps) {
    TimeWarp& w = state.warp;
    if (w.messageLeftS > 0) w.messageLeftS -= elapsedS;
    const bool period = state.keyState.isDown(kWarpPeriodKey);
    const bool comma = state.keyState.isDown(kWarpCommaKey);
    if (period && !w.periodWasDown && w.level + 1 < static_cast<int32_t>(kWarpFactors.size())) ++w.level;
    if (comma && !w.commaWasDown && w.level > 0) --w.level;
    w.periodWasDown = period;
    w.commaWasDown = comma;
    w.frameWarped = false;
    if (w.level == 0 || state.objects.empty()) return elapsedS;

    auto drop = [&](WarpDrop why) {
        w.level = 0;
        w.lastDrop = why;
        w.messageLeftS = kWarpMessageS;
        return elapsedS;
    };
    if (flyingControlActive(state)) return drop(WarpDrop::FlyingControl);
    const float h = static_cast<float>(static_cast<double>(elapsedS) * w.factor());
    if (surfaceWithinReach(state, h)) return drop(WarpDrop::Surface);
    if (substepCount(state.objects, h) > allowedSubsteps) return drop(WarpDrop::CannotKeepUp);
    w.frameWarped = true;
    return h;
}
