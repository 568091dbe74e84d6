// Game controllers through SDL's virtual joysticks (no hardware): pads plugged in and pulled out
// while running, their held controls as keys, their command buttons once per press, and a
// scripted run that hears only its own pad.
#include <gtest/gtest.h>

#include <SDL.h>

#include "game_controllers.h"

namespace {

// A pad that a user plugs in: a virtual game controller attached behind the program's back.
struct UserPad {
    int index = -1;
    SDL_Joystick* joystick = nullptr;
    void plug() {
        index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                          SDL_CONTROLLER_BUTTON_MAX, 0);
        ASSERT_GE(index, 0) << SDL_GetError();
        joystick = SDL_JoystickOpen(index);
        ASSERT_NE(joystick, nullptr) << SDL_GetError();
    }
    void pull() {
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        SDL_JoystickClose(joystick);
        joystick = nullptr;
    }
    ~UserPad() {
        if (joystick) pull();
    }
};

bool keyDown(const GameControllers& pads, int code) {
    KeyState keys;
    pads.addHeldKeys(keys);
    return keys.isDown(code);
}

// A visible run has SDL's controller events on (they wake the paused loop); a window-less one
// has them off. Reading the pads works the same way with both.
class GameControllersEvents : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(WithAndWithoutEvents, GameControllersEvents, ::testing::Bool());

TEST_P(GameControllersEvents, PadsPluggedInWhileRunningFlyUntilPulledOut) {
    GameControllers pads;
    std::string error;
    ASSERT_TRUE(pads.start(false, GetParam(), error)) << error;
    EXPECT_TRUE(pads.poll().empty());
    EXPECT_EQ(pads.openPads(), 0);

    UserPad user;
    ASSERT_NO_FATAL_FAILURE(user.plug());
    pads.poll();
    EXPECT_EQ(pads.openPads(), 1);

    // Held controls: trigger and stick as keys, from the poll on.
    SDL_JoystickSetVirtualAxis(user.joystick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    SDL_JoystickSetVirtualAxis(user.joystick, SDL_CONTROLLER_AXIS_LEFTY, -32768);
    EXPECT_FALSE(keyDown(pads, KeyCode::R)) << "not before the poll";
    pads.poll();
    EXPECT_TRUE(keyDown(pads, KeyCode::R));
    EXPECT_TRUE(keyDown(pads, KeyCode::W));

    // A command button: its command at the poll after the press, not again while held.
    SDL_JoystickSetVirtualButton(user.joystick, SDL_CONTROLLER_BUTTON_START, 1);
    EXPECT_EQ(pads.poll(), std::vector<int>{40036});
    EXPECT_TRUE(pads.poll().empty());
    SDL_JoystickSetVirtualButton(user.joystick, SDL_CONTROLLER_BUTTON_START, 0);
    pads.poll();
    SDL_JoystickSetVirtualButton(user.joystick, SDL_CONTROLLER_BUTTON_START, 1);
    EXPECT_EQ(pads.poll(), std::vector<int>{40036}) << "a second press";

    // Pulled out with the trigger held: the thruster stops with it.
    user.pull();
    pads.poll();
    EXPECT_EQ(pads.openPads(), 0);
    EXPECT_FALSE(keyDown(pads, KeyCode::R));

    // Plugged in again.
    ASSERT_NO_FATAL_FAILURE(user.plug());
    pads.poll();
    EXPECT_EQ(pads.openPads(), 1);
    SDL_JoystickSetVirtualButton(user.joystick, SDL_CONTROLLER_BUTTON_A, 1);
    pads.poll();
    EXPECT_TRUE(keyDown(pads, KeyCode::Q));
}

TEST(GameControllers, AScriptedRunHearsOnlyItsOwnPad) {
    GameControllers pads;
    std::string error;
    ASSERT_TRUE(pads.start(true, false, error)) << error;
    UserPad user;
    ASSERT_NO_FATAL_FAILURE(user.plug());
    SDL_JoystickSetVirtualButton(user.joystick, SDL_CONTROLLER_BUTTON_X, 1);
    pads.poll();
    EXPECT_EQ(pads.openPads(), 0);
    EXPECT_FALSE(keyDown(pads, KeyCode::Space));

    ASSERT_TRUE(pads.plugScriptPad(error)) << error;
    EXPECT_FALSE(pads.plugScriptPad(error)) << "one script pad at a time";
    pads.setScriptPadButton(PadButton::Y, true);
    pads.setScriptPadAxis(PadAxis::LeftX, -32768);
    EXPECT_EQ(pads.poll(), std::vector<int>{25506});
    EXPECT_EQ(pads.openPads(), 1);
    EXPECT_TRUE(keyDown(pads, KeyCode::D));
    EXPECT_FALSE(keyDown(pads, KeyCode::Space)) << "the user's pad is still ignored";
    pads.setScriptPadAxis(PadAxis::LeftX, 0);
    pads.poll();
    EXPECT_FALSE(keyDown(pads, KeyCode::D));
    pads.setScriptPadAxis(PadAxis::LeftTrigger, 32767);
    pads.unplugScriptPad();
    pads.poll();
    EXPECT_EQ(pads.openPads(), 0);
    EXPECT_FALSE(keyDown(pads, KeyCode::T));
    EXPECT_TRUE(pads.plugScriptPad(error)) << "plugged in anew: " << error;
}

}  // namespace
