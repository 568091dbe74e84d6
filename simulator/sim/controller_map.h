// How a game controller flies the ship: its sticks, triggers and buttons stand for keys. A held
// control holds its key in the key-state buffer, so a flight flown with a controller runs, saves
// and records exactly as the same flight flown with the keys; a button that stands for an F-key
// delivers that key's command when it is pressed.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "controls.h"

// The axes and buttons in the order of SDL's game-controller interface.
enum class PadAxis : int { LeftX, LeftY, RightX, RightY, LeftTrigger, RightTrigger, Count };
enum class PadButton : int {
    A, B, X, Y, Back, Guide, Start, LeftStick, RightStick, LeftShoulder, RightShoulder,
    DpadUp, DpadDown, DpadLeft, DpadRight, Count
};
constexpr int kPadAxisCount = static_cast<int>(PadAxis::Count);
constexpr int kPadButtonCount = static_cast<int>(PadButton::Count);

// A stick or trigger counts as held from half its travel on (axes run -32768..32767; sticks are
// negative to the left and up, triggers run from 0).
constexpr int kPadHoldThreshold = 16384;

struct PadState {
    std::array<int16_t, kPadAxisCount> axes{};
    std::array<bool, kPadButtonCount> buttons{};
    int16_t axis(PadAxis a) const { return axes[static_cast<size_t>(a)]; }
    bool button(PadButton b) const { return buttons[static_cast<size_t>(b)]; }
};

// One line of the mapping: a button, or an axis pushed to one side past the threshold, and the
// key it stands for (a script key name).
struct PadBinding {
    bool isAxis = false;
    int control = 0;    // PadAxis or PadButton
    int direction = 0;  // axes: -1 or +1
    const char* key = "";
};
const std::vector<PadBinding>& padBindings();

// Sets bit 7 of every key that a held control of the pad stands for (keys already down stay).
void addHeldPadKeys(const PadState& pad, KeyState& keys);
// The accelerator commands of the buttons that went down between before and now.
std::vector<int> pressedPadCommands(const PadState& before, const PadState& now);

// Script names of the controls (case-insensitive): LeftX, LeftY, RightX, RightY, LeftTrigger,
// RightTrigger; A, B, X, Y, Back, Guide, Start, LeftStick, RightStick, LeftShoulder,
// RightShoulder, DpadUp, DpadDown, DpadLeft, DpadRight.
std::optional<PadAxis> padAxisByName(const std::string& name);
std::optional<PadButton> padButtonByName(const std::string& name);
const char* padAxisName(PadAxis axis);
const char* padButtonName(PadButton button);
