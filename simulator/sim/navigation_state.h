// What the target navigation holds between frames: the chosen target, whether the body markers
// are shown, and the requests of the turn and jump-distance keys, which the next frame step
// carries out (so that a recording can replay them at the same point of the step).
#pragma once

#include <cstdint>

// The altitudes that Z offers, in radii of the target above its surface; repeated presses step
// through them.
inline constexpr float kTargetAltitudeRadii[] = {1.0f, 2.0f, 5.0f, 10.0f, 20.0f};
inline constexpr int kTargetAltitudeChoices = 5;

struct NavigationState {
    int target = -1;           // index of the target body, -1 for none
    bool markersShown = true;  // F11
    int altitudeChoice = 0;    // index into kTargetAltitudeRadii
    bool altitudeRepeat = false;  // the last navigation key was Z: another Z takes the next altitude

    // Requests for the next frame step (-1: none). Each keeps the target it was made for.
    int faceTargetRequest = -1;
    int jumpTargetRequest = -1;
    int jumpAltitudeChoice = 0;

    // Z's promise: the next jump ends at the chosen altitude above this body (-1: none). A jump
    // distance set with the distance keys takes it back.
    int altitudeJumpTarget = -1;
    int altitudeJumpChoice = 0;
    // The altitude jump was made with Q, which must be released before it jumps again.
    bool jumpKeyHeldOver = false;
};
