// The flash timers of the heads-up display and the per-frame clearing of the jump and snapshot
// requests, kept apart from drawing so that runs without a display behave like visible ones.
#include "hud_flashes.h"

namespace {

// Restarts the timer on a trigger, advances a running timer, and says whether the flash shows.
bool advanceFlash(float& timerS, bool triggered, float frameStepS) {
    if (triggered) timerS = 0;
    if (!(timerS < kFlashDurationS)) return false;
    timerS += frameStepS;
    return timerS < kFlashDurationS;
}

}  // namespace

void updateFlashes(HudFlashState& flashes, const SimState& state, float frameStepS) {
    const bool jumped = state.keyState.qDown != 0 || state.latches[kJump] != 0;
    const bool snapped = state.keyState.f7Down != 0 || state.flags.snapshotRequest != 0;
    const bool jumpDriveCharged =
        !state.objects.empty() && state.observer().jumpDistanceKm > 0 && state.energyKJ > 0;
    flashes.jumpVisible = advanceFlash(flashes.jumpTimerS, jumped, frameStepS) && jumpDriveCharged;
    flashes.snapshotVisible = advanceFlash(flashes.snapshotTimerS, snapped, frameStepS);
}

void clearOneFrameRequests(SimState& state) {
    state.latches[kJump] = 0;
    state.keyState.qDown = 0;
    state.flags.snapshotRequest = 0;
    state.keyState.f7Down = 0;
}
