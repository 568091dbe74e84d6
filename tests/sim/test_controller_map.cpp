// The game controller's mapping onto the flying keys and F-key commands. Scripted pad events are
// proven end to end by the pad flight of the game controller runs.
#include <gtest/gtest.h>

#include <set>

#include "controller_map.h"
#include "script_input.h"

namespace {

std::set<int> heldKeys(const PadState& pad) {
    KeyState keys;
    addHeldPadKeys(pad, keys);
    std::set<int> down;
    for (int code = 0; code < 256; ++code)
        if (keys.isDown(code)) down.insert(code);
    return down;
}

PadState axisAt(PadAxis axis, int value) {
    PadState pad;
    pad.axes[static_cast<size_t>(axis)] = static_cast<int16_t>(value);
    return pad;
}

PadState buttonDown(PadButton button) {
    PadState pad;
    pad.buttons[static_cast<size_t>(button)] = true;
    return pad;
}

TEST(ControllerMap, SticksTriggersAndButtonsHoldTheirKeysFromHalfTravel) {
    struct Case {
        PadState pad;
        std::set<int> keys;
        const char* what;
    };
    const Case cases[] = {
        {PadState{}, {}, "at rest"},
        {axisAt(PadAxis::LeftY, -32768), {KeyCode::W}, "left stick forward: nose down"},
        {axisAt(PadAxis::LeftY, 32767), {KeyCode::E}, "left stick back: nose up"},
        {axisAt(PadAxis::LeftY, -16383), {}, "just short of half travel"},
        {axisAt(PadAxis::LeftY, -16384), {KeyCode::W}, "exactly half travel"},
        {axisAt(PadAxis::LeftX, 20000), {KeyCode::S}, "yaw right"},
        {axisAt(PadAxis::LeftX, -20000), {KeyCode::D}, "yaw left"},
        {axisAt(PadAxis::RightX, 32767), {KeyCode::C}, "roll clockwise"},
        {axisAt(PadAxis::RightX, -32768), {KeyCode::X}, "roll counter-clockwise"},
        {axisAt(PadAxis::RightY, -32768), {KeyCode::Up}, "torque level up"},
        {axisAt(PadAxis::RightY, 32767), {KeyCode::Down}, "torque level down"},
        {axisAt(PadAxis::RightTrigger, 32767), {KeyCode::R}, "fire forward"},
        {axisAt(PadAxis::LeftTrigger, 32767), {KeyCode::T}, "fire backward"},
        {axisAt(PadAxis::LeftTrigger, 8000), {}, "trigger touched lightly"},
        {buttonDown(PadButton::RightShoulder), {KeyCode::V}, "right thruster right"},
        {buttonDown(PadButton::LeftShoulder), {KeyCode::B}, "right thruster left"},
        {buttonDown(PadButton::DpadUp), {KeyCode::F}, "up thruster up"},
        {buttonDown(PadButton::DpadDown), {KeyCode::G}, "up thruster down"},
        {buttonDown(PadButton::DpadRight), {KeyCode::U}, "forward thrust level up"},
        {buttonDown(PadButton::DpadLeft), {KeyCode::I}, "forward thrust level down"},
        {buttonDown(PadButton::A), {KeyCode::Q}, "jump"},
        {buttonDown(PadButton::X), {KeyCode::Space}, "align"},
        {buttonDown(PadButton::B), {}, "panic stop is a command, not a held key"},
        {buttonDown(PadButton::Guide), {}, "unmapped"},
    };
    for (const Case& c : cases) EXPECT_EQ(heldKeys(c.pad), c.keys) << c.what;

    // Several controls at once, and keys already down stay down.
    PadState pad = axisAt(PadAxis::LeftX, 32767);
    pad.axes[static_cast<size_t>(PadAxis::RightTrigger)] = 32767;
    pad.buttons[static_cast<size_t>(PadButton::A)] = true;
    KeyState keys;
    keys.keys[KeyCode::P] = 0x80;
    addHeldPadKeys(pad, keys);
    for (int code : {KeyCode::S, KeyCode::R, KeyCode::Q, KeyCode::P}) EXPECT_TRUE(keys.isDown(code)) << code;
}

TEST(ControllerMap, CommandButtonsGiveTheirFKeysCommandOncePerPress) {
    struct Case {
        PadButton button;
        int command;
    };
    for (Case c : {Case{PadButton::B, 40041}, Case{PadButton::Y, 25506}, Case{PadButton::Start, 40036},
                   Case{PadButton::Back, 40028}}) {
        const PadState up, down = buttonDown(c.button);
        EXPECT_EQ(pressedPadCommands(up, down), std::vector<int>{c.command}) << padButtonName(c.button);
        EXPECT_TRUE(pressedPadCommands(down, down).empty()) << "held, not pressed again";
        EXPECT_TRUE(pressedPadCommands(down, up).empty()) << "released";
    }
    EXPECT_TRUE(pressedPadCommands(PadState{}, buttonDown(PadButton::A)).empty()) << "A is a held key";
    PadState both = buttonDown(PadButton::Y);
    both.buttons[static_cast<size_t>(PadButton::Start)] = true;
    EXPECT_EQ(pressedPadCommands(PadState{}, both).size(), 2u);
}

TEST(ControllerMap, EveryControlHasAScriptNameThatReadsBack) {
    for (int a = 0; a < kPadAxisCount; ++a)
        EXPECT_EQ(padAxisByName(padAxisName(static_cast<PadAxis>(a))), static_cast<PadAxis>(a));
    for (int b = 0; b < kPadButtonCount; ++b)
        EXPECT_EQ(padButtonByName(padButtonName(static_cast<PadButton>(b))), static_cast<PadButton>(b));
    EXPECT_EQ(padButtonByName("leftshoulder"), PadButton::LeftShoulder);
    EXPECT_FALSE(padButtonByName("LeftX"));
    EXPECT_FALSE(padAxisByName("Left"));
    // Every binding names a key the script and the key table know.
    for (const PadBinding& b : padBindings()) EXPECT_GE(directInputCode(b.key), 0) << b.key;
}

}  // namespace
