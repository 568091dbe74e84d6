// The navigation commands (markers, target choice, turn, jump distance) applied to the state, and
// the scripted keys that deliver them.
#pragma once

#include <string>

#include "navigation_keys.h"
#include "sim_state.h"

// DirectInput code of the left Shift key, which turns Tab back in scripted input.
constexpr int kLeftShiftKeyCode = 0x2A;

// Applies a navigation command; false when command is not one.
bool handleNavigationCommand(SimState& state, int command);
// The navigation command of a scripted key press (F11, Tab, Y, Z; Tab with LShift held goes
// back), 0 for other keys.
int navigationScriptCommand(const std::string& keyName, bool leftShiftHeld);
