// The controller's mapping table and the script names of its controls.
#include "controller_map.h"

#include <cctype>

#include "script_input.h"

namespace {

constexpr const char* kAxisNames[kPadAxisCount] = {"LeftX", "LeftY", "RightX", "RightY", "LeftTrigger",
                                                   "RightTrigger"};
constexpr const char* kButtonNames[kPadButtonCount] = {
    "A",     "B",         "X",          "Y",           "Back",   "Guide",    "Start",    "LeftStick",
    "RightStick", "LeftShoulder", "RightShoulder", "DpadUp", "DpadDown", "DpadLeft", "DpadRight"};

bool sameName(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && b[i] == 0;
}

PadBinding axis(PadAxis a, int direction, const char* key) {
    return {true, static_cast<int>(a), direction, key};
}
PadBinding button(PadButton b, const char* key) { return {false, static_cast<int>(b), 0, key}; }

bool held(const PadState& pad, const PadBinding& b) {
    if (!b.isAxis) return pad.buttons[static_cast<size_t>(b.control)];
    const int value = pad.axes[static_cast<size_t>(b.control)];
    return b.direction < 0 ? value <= -kPadHoldThreshold : value >= kPadHoldThreshold;
}

}  // namespace

const std::vector<PadBinding>& padBindings() {
    // Left stick: pushed forward the nose goes down (W), pulled back up (E); right and left yaw
    // (S, D). Right stick: right and left roll (C, X); forward and back raise and lower the
    // torque level (Up, Down). Triggers fire the forward thruster forward (right, R) and
    // backward (left, T); the shoulder buttons the right thruster right and left (V, B); the pad
    // the up thruster up and down (F, G) and lowers and raises the forward thrust level (I, U).
    static const std::vector<PadBinding> bindings = {
        axis(PadAxis::LeftY, -1, "W"),        axis(PadAxis::LeftY, +1, "E"),
        axis(PadAxis::LeftX, +1, "S"),        axis(PadAxis::LeftX, -1, "D"),
        axis(PadAxis::RightX, +1, "C"),       axis(PadAxis::RightX, -1, "X"),
        axis(PadAxis::RightY, -1, "Up"),      axis(PadAxis::RightY, +1, "Down"),
        axis(PadAxis::RightTrigger, +1, "R"), axis(PadAxis::LeftTrigger, +1, "T"),
        button(PadButton::RightShoulder, "V"), button(PadButton::LeftShoulder, "B"),
        button(PadButton::DpadUp, "F"),       button(PadButton::DpadDown, "G"),
        button(PadButton::DpadRight, "U"),    button(PadButton::DpadLeft, "I"),
        button(PadButton::A, "Q"),            button(PadButton::X, "Space"),
        button(PadButton::B, "F8"),           button(PadButton::Y, "F2"),
        button(PadButton::Start, "F4"),       button(PadButton::Back, "F1"),
    };
    return bindings;
}

void addHeldPadKeys(const PadState& pad, KeyState& keys) {
    for (const PadBinding& b : padBindings()) {
        if (isCommandKey(b.key) || !held(pad, b)) continue;
        keys.keys[static_cast<size_t>(directInputCode(b.key))] |= 0x80;
    }
}

std::vector<int> pressedPadCommands(const PadState& before, const PadState& now) {
    std::vector<int> commands;
    for (const PadBinding& b : padBindings()) {
        if (!isCommandKey(b.key) || held(before, b) || !held(now, b)) continue;
        commands.push_back(acceleratorCommand(b.key));
    }
    return commands;
}

std::optional<PadAxis> padAxisByName(const std::string& name) {
    for (int i = 0; i < kPadAxisCount; ++i)
        if (sameName(name, kAxisNames[i])) return static_cast<PadAxis>(i);
    return std::nullopt;
}

std::optional<PadButton> padButtonByName(const std::string& name) {
    for (int i = 0; i < kPadButtonCount; ++i)
        if (sameName(name, kButtonNames[i])) return static_cast<PadButton>(i);
    return std::nullopt;
}

const char* padAxisName(PadAxis a) { return kAxisNames[static_cast<size_t>(a)]; }
const char* padButtonName(PadButton b) { return kButtonNames[static_cast<size_t>(b)]; }
