// The control latches and display flags that the on-screen controls, the keyboard and a replay
// share. The order of Control is the bit order of a recording's control word.
#pragma once

#include <array>
#include <cstdint>

enum Control : int {
    kTorqueUp = 0,            // Up arrow
    kPitchUp = 1,             // E
    kTorqueDown = 2,          // Down arrow
    kYawRight = 3,            // S
    kCrosshairShown = 4,      // F3 (display flag)
    kYawLeft = 5,             // D
    kRollClockwise = 6,       // C
    kPitchDown = 7,           // W
    kRollCounterClockwise = 8,  // X
    kPanic = 9,               // F8's twin
    kDestinationHidden = 10,  // F9 (display flag)
    kDistanceFastUp = 11,     // P
    kDistanceSlowUp = 12,     // O
    kDistanceSlowDown = 13,   // K
    kDistanceFastDown = 14,   // L
    kForwardThrustUp = 15,    // U
    kForwardThrusterForward = 16,   // R
    kForwardThrusterBackward = 17,  // T
    kForwardThrustDown = 18,  // I
    kRightThrustUp = 19,      // N
    kRightThrusterRight = 20, // V
    kRightThrusterLeft = 21,  // B
    kRightThrustDown = 22,    // M
    kUpThrustUp = 23,         // H
    kUpThrusterDown = 24,     // G
    kUpThrusterUp = 25,       // F
    kUpThrustDown = 26,       // J
    kRestoreEnergy = 27,      // A
    kJump = 28,               // Q
    kHudHidden = 29,          // F2 (display flag)
    kAlign = 30,              // Space
    kControlCount = 31
};

// Every latch is a 32-bit flag, 0 or 1.
using ControlLatches = std::array<int32_t, kControlCount>;

// Control word of a recording: bit i set when latch i is set.
inline int32_t controlWord(const ControlLatches& latches) {
    uint32_t word = 0;
    for (int i = 0; i < kControlCount; ++i)
        if (latches[i]) word |= 1u << i;
    return static_cast<int32_t>(word);
}

inline void setLatchesFromWord(ControlLatches& latches, int32_t word) {
    for (int i = 0; i < kControlCount; ++i) latches[i] = (static_cast<uint32_t>(word) >> i) & 1u;
}

// Display toggles and command flags that are not latches (all 0 at start).
struct DisplayFlags {
    int32_t guiHidden = 0;           // F6
    int32_t keyboardHelpShown = 0;   // F1
    int32_t restorePromptShown = 0;  // F12, live mode
    int32_t exitOnClick = 0;         // an on-screen control
    int32_t suspended = 0;           // F4
    int32_t recordingOn = 0;         // F5, live mode
    int32_t snapshotRequest = 0;     // on-screen snapshot control; set after each stored snapshot
    // Replay mode: the viewer's on-screen crosshair and destination controls flip what the
    // recording shows (the recording's latches are set anew on every frame).
    int32_t replayCrosshairFlipped = 0;
    int32_t replayDestinationFlipped = 0;
    int32_t driftGaugeShown = 0;     // F10: energy and angular-momentum drift line
};

// What the display shows of the crosshair and the destination marker: the latches, flipped by
// the viewer's controls during a replay.
inline bool crosshairShown(const ControlLatches& latches, const DisplayFlags& flags) {
    return (latches[kCrosshairShown] != 0) != (flags.replayCrosshairFlipped != 0);
}
inline bool destinationHidden(const ControlLatches& latches, const DisplayFlags& flags) {
    return (latches[kDestinationHidden] != 0) != (flags.replayDestinationFlipped != 0);
}

// DirectInput key codes of the polled keys.
namespace KeyCode {
constexpr int Q = 0x10, W = 0x11, E = 0x12, R = 0x13, T = 0x14, U = 0x16, I = 0x17, O = 0x18,
              P = 0x19, A = 0x1E, S = 0x1F, D = 0x20, F = 0x21, G = 0x22, H = 0x23, J = 0x24,
              K = 0x25, L = 0x26, X = 0x2D, C = 0x2E, V = 0x2F, B = 0x30, N = 0x31, M = 0x32,
              Space = 0x39, F7 = 0x41, Up = 0xC8, Down = 0xD0;
}

// The 256-byte keyboard state (a key is down when bit 7 of its byte is set) and the down flags
// that outlive one read: Q and F7 are cleared by the overlay pass of the frame.
struct KeyState {
    std::array<uint8_t, 256> keys{};
    int32_t qDown = 0;
    int32_t f7Down = 0;
    bool isDown(int code) const { return (keys[static_cast<size_t>(code)] & 0x80) != 0; }
};
