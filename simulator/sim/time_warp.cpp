// Warp factor steps, the drop rules and the warped frame time of a live frame.
#include "time_warp.h"

#include <cmath>

#include "frame_step.h"
#include "integrator.h"
#include "navigation_figures.h"
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

bool surfaceWithinReach(const SimState& state, double h) { return bodyWithinReach(state, h) >= 0; }

int bodyWithinReach(const SimState& state, double h) {
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
        if (margin <= speed * h + 0.5 * pull * h * h) return static_cast<int>(k);
    }
    return -1;
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

std::string warpFactorName(int32_t level) {
    std::string digits = std::to_string(kWarpFactors[static_cast<size_t>(level)]), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out + "x";
}

namespace {

std::string surfaceReason(const SimState& state, int body, int32_t level) {
    return bodyDisplayName(state, body) + "'s surface is within reach of one frame at " + warpFactorName(level);
}

// Why a frame at level cannot be warped (empty: it can): a surface within reach or a substep count
// beyond the budget.
std::string warpObstacle(const SimState& state, float elapsedS, int32_t level, double allowedSubsteps) {
    const float h = static_cast<float>(static_cast<double>(elapsedS) * kWarpFactors[static_cast<size_t>(level)]);
    const int body = bodyWithinReach(state, h);
    if (body >= 0) return surfaceReason(state, body, level);
    if (substepCount(state.objects, h) > allowedSubsteps)
        return warpFactorName(level) + " needs more gravity substeps than one frame can take";
    return {};
}

}  // namespace

int32_t warpSubstepBudget(const TimeWarp& w, size_t objectCount) {
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
    const int32_t top = static_cast<int32_t>(kWarpFactors.size()) - 1;
    if (period && !w.periodWasDown && !state.objects.empty()) {
        // A step up that the next frame would have to take back is refused with its reason.
        const std::string obstacle = w.level < top ? warpObstacle(state, elapsedS, w.level + 1, allowedSubsteps) : std::string();
        if (w.level >= top)
            showNotice(state.notice, "Time warp is at its highest, " + warpFactorName(top));
        else if (!obstacle.empty())
            showNotice(state.notice, "Warp held at " + warpFactorName(w.level) + ": " + obstacle);
        else
            ++w.level;
    }
    if (comma && !w.commaWasDown && w.level > 0) --w.level;
    w.periodWasDown = period;
    w.commaWasDown = comma;
    w.frameWarped = false;
    if (w.level == 0 || state.objects.empty()) return elapsedS;

    auto drop = [&](WarpDrop why, const std::string& reason) {
        w.level = 0;
        w.lastDrop = why;
        w.messageLeftS = kWarpMessageS;
        showNotice(state.notice, "Warp dropped to 1x: " + reason);
        return elapsedS;
    };
    if (flyingControlActive(state)) return drop(WarpDrop::FlyingControl, "a flight control was used");
    const float h = static_cast<float>(static_cast<double>(elapsedS) * w.factor());
    const int body = bodyWithinReach(state, h);
    if (body >= 0) return drop(WarpDrop::Surface, surfaceReason(state, body, w.level));
    const std::string obstacle = warpObstacle(state, elapsedS, w.level, allowedSubsteps);
    if (!obstacle.empty()) return drop(WarpDrop::CannotKeepUp, obstacle);
    w.frameWarped = true;
    return h;
}
