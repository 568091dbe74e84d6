// The function-key commands (accelerators) and what each does to the simulation's flags.
#pragma once

#include "sim_state.h"

namespace Command {
constexpr int Exit = 40006;            // Esc
constexpr int KeyboardHelp = 40028;    // F1
constexpr int HeadsUpDisplay = 25506;  // F2
constexpr int Crosshair = 40035;       // F3
constexpr int Suspend = 40036;         // F4
constexpr int Record = 40021;          // F5
constexpr int Gui = 40038;             // F6
constexpr int Snapshot = 40040;        // F7
constexpr int Panic = 40041;           // F8
constexpr int Destination = 40042;     // F9
constexpr int RestorePrompt = 40029;   // F12
constexpr int DriftGauge = 40060;      // F10
}  // namespace Command

// What the window side must do after a command changed the flags.
struct CommandEffects {
    int pauseChange = 0;        // +1: request one pause, -1: release one
    bool closeWindow = false;
    bool takeSnapshot = false;  // replay mode: F7 stores one snapshot per command
};

// Applies one accelerator command with the live/replay rules.
CommandEffects handleCommand(SimState& state, int command);
