// The navigation keys of the window: F11, Tab (Shift+Tab goes back), Y and Z give their commands,
// and none of them is one of the simulator's accelerators.
#include <gtest/gtest.h>

#include "key_map.h"
#include "navigation_keys.h"

TEST(NavigationKeys, CommandsOfTheFreeKeys) {
    EXPECT_EQ(navigationKeyCommand(SDL_SCANCODE_F11, false), NavigationCommand::Markers);
    EXPECT_EQ(navigationKeyCommand(SDL_SCANCODE_TAB, false), NavigationCommand::NextTarget);
    EXPECT_EQ(navigationKeyCommand(SDL_SCANCODE_TAB, true), NavigationCommand::PreviousTarget);
    EXPECT_EQ(navigationKeyCommand(SDL_SCANCODE_Y, false), NavigationCommand::FaceTarget);
    EXPECT_EQ(navigationKeyCommand(SDL_SCANCODE_Z, true), NavigationCommand::JumpToTarget);
    for (SDL_Scancode key : {SDL_SCANCODE_Q, SDL_SCANCODE_F12, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_LSHIFT})
        EXPECT_EQ(navigationKeyCommand(key, false), 0);
    for (SDL_Scancode key : {SDL_SCANCODE_F11, SDL_SCANCODE_TAB, SDL_SCANCODE_Y, SDL_SCANCODE_Z})
        EXPECT_EQ(acceleratorCommand(key), 0);
}
