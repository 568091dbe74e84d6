// State of the heads-up display's full-screen flashes (red after a jump, yellow after a snapshot)
// and the once-per-frame requests that the overlay pass consumes. Pure code: no GL.
#pragma once

#include "sim_state.h"

// How long a flash stays on screen, in seconds of frame time.
constexpr float kFlashDurationS = 0.5f;

// Owned by the application for the whole run. updateFlashes writes it; the draw code only reads
// the visible flags.
struct HudFlashState {
    float jumpTimerS = kFlashDurationS;      // time since the last jump flash started
    float snapshotTimerS = kFlashDurationS;  // time since the last snapshot flash started
    bool jumpVisible = false;      // draw the red flash this frame
    bool snapshotVisible = false;  // draw the yellow flash this frame
};

// Advances both flashes by one frame. A jump (the Q down flag or the jump latch) or a snapshot
// (the F7 down flag or the snapshot request) seen in `state` restarts its timer at 0; a running
// timer then advances by `frameStepS` (live: the frame's elapsed time, replay: the replay time
// step), and the flash is visible while the advanced timer is still below kFlashDurationS. The
// red flash is shown only while the jump distance and the running energy are both above 0.
// Call once per frame, after the frame step (whose controls may have jumped or stored a snapshot)
// and before clearOneFrameRequests, whether or not the frame is drawn; drawFlashes then shows
// what this decided.
void updateFlashes(HudFlashState& flashes, const SimState& state, float frameStepS);

// Consumes the one-frame requests of the overlay pass: the jump latch, the Q down flag, the
// snapshot request and the F7 down flag are cleared, so one click on the jump or snapshot control
// acts once. Call every frame step after updateFlashes, drawn or not.
void clearOneFrameRequests(SimState& state);
