// Function-key commands: what each toggles, in live and replay mode, and the suspension rule.
#include <gtest/gtest.h>

#include "key_commands.h"

namespace {

SimState stateWithObserver(int runMode) {
    SimState s;
    s.runMode = runMode;
    SimObject ship;
    ship.isObserver = 1;
    ship.ratesRadPerFrame = {0.1f, 0.2f, 0.3f};
    s.objects.push_back(ship);
    s.rotationRates = {0.1f, 0.2f, 0.3f};
    return s;
}

}  // namespace

TEST(KeyCommands, LiveModeTogglesEveryDisplayFlag) {
    SimState s = stateWithObserver(1);
    handleCommand(s, Command::HeadsUpDisplay);
    handleCommand(s, Command::Crosshair);
    handleCommand(s, Command::Destination);
    handleCommand(s, Command::Record);
    handleCommand(s, Command::Gui);
    handleCommand(s, Command::KeyboardHelp);
    EXPECT_EQ(s.latches[kHudHidden], 1);
    EXPECT_EQ(s.latches[kCrosshairShown], 1);
    EXPECT_EQ(s.latches[kDestinationHidden], 1);
    EXPECT_EQ(s.flags.recordingOn, 1);
    EXPECT_EQ(s.flags.guiHidden, 1);
    EXPECT_EQ(s.flags.keyboardHelpShown, 1);
    handleCommand(s, Command::Crosshair);
    EXPECT_EQ(s.latches[kCrosshairShown], 0);
    // F7 is polled as a key in live mode; its command does nothing.
    EXPECT_FALSE(handleCommand(s, Command::Snapshot).takeSnapshot);
}

TEST(KeyCommands, ReplayModeIgnoresTheLiveOnlyKeys) {
    SimState s = stateWithObserver(0);
    for (int c : {Command::HeadsUpDisplay, Command::Crosshair, Command::Record, Command::Destination,
                  Command::RestorePrompt})
        handleCommand(s, c);
    EXPECT_EQ(s.latches[kHudHidden], 0);
    EXPECT_EQ(s.latches[kCrosshairShown], 0);
    EXPECT_EQ(s.latches[kDestinationHidden], 0);
    EXPECT_EQ(s.flags.recordingOn, 0);
    EXPECT_EQ(s.flags.restorePromptShown, 0);
    handleCommand(s, Command::KeyboardHelp);
    handleCommand(s, Command::Gui);
    EXPECT_EQ(s.flags.keyboardHelpShown, 1);
    EXPECT_EQ(s.flags.guiHidden, 1);
    EXPECT_TRUE(handleCommand(s, Command::Snapshot).takeSnapshot);
}

TEST(KeyCommands, SuspensionPausesOnceAndIsBlockedByTheRestorePrompt) {
    SimState s = stateWithObserver(1);
    CommandEffects fx = handleCommand(s, Command::Suspend);
    EXPECT_EQ(fx.pauseChange, +1);
    EXPECT_EQ(s.flags.suspended, 1);
    fx = handleCommand(s, Command::Suspend);
    EXPECT_EQ(fx.pauseChange, -1);
    EXPECT_EQ(s.flags.suspended, 0);

    handleCommand(s, Command::RestorePrompt);
    ASSERT_EQ(s.flags.restorePromptShown, 1);
    fx = handleCommand(s, Command::Suspend);
    EXPECT_EQ(fx.pauseChange, 0);
    EXPECT_EQ(s.flags.suspended, 0);
}

TEST(KeyCommands, PanicStopsEveryRotationAndEscCloses) {
    SimState s = stateWithObserver(0);
    handleCommand(s, Command::Panic);
    EXPECT_EQ(s.rotationRates.x, 0.0f);
    EXPECT_EQ(s.rotationRates.z, 0.0f);
    EXPECT_EQ(s.observer().ratesRadPerFrame.y, 0.0f);
    EXPECT_TRUE(handleCommand(s, Command::Exit).closeWindow);
    EXPECT_FALSE(handleCommand(s, Command::Gui).closeWindow);
}
