// Tests of the flash timers and of the per-frame clearing of the jump and snapshot requests.
#include <gtest/gtest.h>

#include "hud_flashes.h"

namespace {

constexpr float kStepS = 0.125f;  // exact in binary, so four steps make exactly 0.5 s

SimState chargedShip() {
    SimState state;
    state.objects.resize(2);
    state.observer().jumpDistanceKm = 1000;
    state.energyKJ = 1e9f;
    return state;
}

// Runs frames the way the application does and counts those that show the red flash.
int jumpFlashFrames(SimState& state, HudFlashState& flashes, int frames) {
    int shown = 0;
    for (int f = 0; f < frames; ++f) {
        updateFlashes(flashes, state, kStepS);
        clearOneFrameRequests(state);
        shown += flashes.jumpVisible ? 1 : 0;
    }
    return shown;
}

}  // namespace

TEST(HudFlashes, JumpFlashLastsHalfASecondOfFrameTime) {
    SimState state = chargedShip();
    HudFlashState flashes;
    EXPECT_EQ(jumpFlashFrames(state, flashes, 3), 0);  // nothing happened yet

    state.latches[kJump] = 1;
    // Frame timers 0.125, 0.25, 0.375 show it; 0.5 does not.
    EXPECT_EQ(jumpFlashFrames(state, flashes, 10), 3);
    EXPECT_FLOAT_EQ(flashes.jumpTimerS, 0.5f);  // an expired timer no longer advances

    // Holding Q restarts it every frame.
    state.keyState.qDown = 1;
    updateFlashes(flashes, state, kStepS);
    EXPECT_TRUE(flashes.jumpVisible);
    state.keyState.qDown = 1;  // still held on the next key read
    updateFlashes(flashes, state, 0.4f);
    EXPECT_TRUE(flashes.jumpVisible);
    EXPECT_FLOAT_EQ(flashes.jumpTimerS, 0.4f);

    // A frame step longer than the flash shows nothing.
    state.latches[kJump] = 1;
    updateFlashes(flashes, state, 0.6f);
    EXPECT_FALSE(flashes.jumpVisible);
}

TEST(HudFlashes, JumpFlashNeedsDistanceAndEnergy) {
    SimState state = chargedShip();
    HudFlashState flashes;
    state.observer().jumpDistanceKm = 0;
    state.latches[kJump] = 1;
    EXPECT_EQ(jumpFlashFrames(state, flashes, 5), 0);

    state = chargedShip();
    state.energyKJ = 0;  // e.g. the jump used up the store
    flashes = HudFlashState{};
    state.keyState.qDown = 1;
    EXPECT_EQ(jumpFlashFrames(state, flashes, 5), 0);

    // The snapshot flash has no such condition.
    state.flags.snapshotRequest = 1;
    updateFlashes(flashes, state, kStepS);
    EXPECT_TRUE(flashes.snapshotVisible);
    EXPECT_FALSE(flashes.jumpVisible);
}

TEST(HudFlashes, SnapshotFlashAndRequestClearing) {
    SimState state = chargedShip();
    HudFlashState flashes;
    state.keyState.f7Down = 1;
    int shown = 0;
    for (int f = 0; f < 8; ++f) {
        updateFlashes(flashes, state, kStepS);
        clearOneFrameRequests(state);
        shown += flashes.snapshotVisible ? 1 : 0;
    }
    EXPECT_EQ(shown, 3);
    EXPECT_FALSE(flashes.jumpVisible);

    // Clearing touches the four one-frame requests and nothing else.
    state.latches.fill(1);
    state.keyState.qDown = 1;
    state.keyState.f7Down = 1;
    state.flags.snapshotRequest = 1;
    state.flags.recordingOn = 1;
    clearOneFrameRequests(state);
    EXPECT_EQ(state.latches[kJump], 0);
    EXPECT_EQ(state.keyState.qDown, 0);
    EXPECT_EQ(state.keyState.f7Down, 0);
    EXPECT_EQ(state.flags.snapshotRequest, 0);
    for (int c = 0; c < kControlCount; ++c) {
        if (c == kJump) continue;
        EXPECT_EQ(state.latches[c], 1) << "latch " << c;
    }
    EXPECT_EQ(state.flags.recordingOn, 1);

    // Clearing before the update would lose the flash: the order matters.
    state.flags.snapshotRequest = 1;
    clearOneFrameRequests(state);
    flashes = HudFlashState{};
    updateFlashes(flashes, state, kStepS);
    EXPECT_FALSE(flashes.snapshotVisible);
}
