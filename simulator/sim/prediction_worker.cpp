// The prediction thread and the rule for asking it again.
#include "prediction_worker.h"

#include <cmath>
#include <cstring>

#include "sim_state.h"

namespace {
bool sameBits(Vec3f a, Vec3f b) { return std::memcmp(&a, &b, sizeof a) == 0; }
}  // namespace

bool PredictionTrigger::wanted(const SimState& state, double horizonS, int targetIndex) {
    if (state.objects.empty()) return false;
    const SimObject& ship = state.observer();
    const bool changed = !asked_ || !sameBits(ship.actingForceKN, force_) ||
                         !sameBits(ship.forwardDirection, forward_) ||
                         !sameBits(ship.upDirection, up_) || !sameBits(ship.rightDirection, right_) ||
                         !sameBits(state.integrator.origin, origin_) ||
                         state.warp.level != warpLevel_ || horizonS != horizonS_ ||
                         targetIndex != targetIndex_ ||
                         std::fabs(double(state.missionTimeS) - missionTimeS_) >= horizonS / 16;
    if (!changed) return false;
    asked_ = true;
    force_ = ship.actingForceKN;
    forward_ = ship.forwardDirection;
    up_ = ship.upDirection;
    right_ = ship.rightDirection;
    origin_ = state.integrator.origin;
    warpLevel_ = state.warp.level;
    horizonS_ = horizonS;
    targetIndex_ = targetIndex;
    missionTimeS_ = state.missionTimeS;
    return true;
}

PredictionRequest predictionRequest(const SimState& state, double horizonS, int targetIndex) {
    PredictionRequest request;
    request.objects = state.objects;
    request.integrator = state.integrator;
    // One thread: the frame's own integrator keeps the other core.
    request.integrator.setThreadCount(1);
    request.horizonS = horizonS;
    request.startMissionTimeS = static_cast<double>(state.missionTimeS);
    request.targetIndex = targetIndex;
    return request;
}
