// Translation of the physical key state (SDL scancodes) into the 256-byte keyboard state indexed
// by DirectInput key codes, and of the accelerator keys into command identifiers.
#pragma once

#include <SDL_scancode.h>

#include <cstdint>

#include "controls.h"

// DirectInput key code of a scancode, 0 when the key has none.
uint8_t directInputCode(SDL_Scancode scancode);

// Fills state.keys from an SDL keyboard array (SDL_GetKeyboardState): bit 7 set for every key
// that is down. The array is cleared first; the down flags of state are left alone.
void fillKeyState(const uint8_t* sdlKeys, int sdlKeyCount, KeyState& state);

// Command identifiers of the accelerator keys.
enum FrameCommand : int {
    kCmdExit = 40006,               // Esc
    kCmdKeyboardHelp = 40028,       // F1
    kCmdHud = 25506,                // F2
    kCmdCrosshair = 40035,          // F3
    kCmdSuspend = 40036,            // F4
    kCmdRecord = 40021,             // F5
    kCmdGui = 40038,                // F6
    kCmdSnapshot = 40040,           // F7
    kCmdPanic = 40041,              // F8
    kCmdDestination = 40042,        // F9
    kCmdRestorePrompt = 40029,      // F12
    kCmdDriftGauge = 40060,         // F10
};

// Command of an accelerator key, 0 for other keys.
int acceleratorCommand(SDL_Scancode scancode);
