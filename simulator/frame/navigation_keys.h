// The keys of the target navigation and the body markers, which the simulator's accelerator table
// leaves free: F11 markers, Tab / Shift+Tab next and previous target, Y face the target, Z jump
// distance to the target. Each key press (not its auto-repeat) delivers one command.
#pragma once

#include <SDL_scancode.h>

namespace NavigationCommand {
constexpr int Markers = 41611;         // F11
constexpr int NextTarget = 41612;      // Tab
constexpr int PreviousTarget = 41613;  // Shift+Tab
constexpr int FaceTarget = 41614;      // Y
constexpr int JumpToTarget = 41615;    // Z
}  // namespace NavigationCommand

// Command of a navigation key, 0 for other keys.
int navigationKeyCommand(SDL_Scancode scancode, bool shiftHeld);
