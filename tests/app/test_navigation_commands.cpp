// Navigation commands from scripted keys: the key names, Tab with the left Shift held going back,
// F11 toggling the markers, and Y and Z making requests only in live mode with a target.
#include <gtest/gtest.h>

#include "navigation_commands.h"
#include "script_input.h"

TEST(NavigationCommands, ScriptedKeysAndTheirEffects) {
    ScriptParseResult parsed = parseScriptInput("0 key tab down\n0 key LSHIFT down\n1 key y down\n", "s.txt");
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    EXPECT_EQ(parsed.events[0].keyName, "Tab");
    EXPECT_EQ(parsed.events[0].keyCode, 0x0F);
    EXPECT_FALSE(parsed.events[0].isCommand);
    EXPECT_EQ(parsed.events[1].keyName, "LShift");
    EXPECT_EQ(parsed.events[1].keyCode, kLeftShiftKeyCode);
    EXPECT_FALSE(parseScriptInput("0 key RShift down\n", "s.txt").ok());

    EXPECT_EQ(navigationScriptCommand("Tab", false), NavigationCommand::NextTarget);
    EXPECT_EQ(navigationScriptCommand("Tab", true), NavigationCommand::PreviousTarget);
    EXPECT_EQ(navigationScriptCommand("F11", false), NavigationCommand::Markers);
    EXPECT_EQ(navigationScriptCommand("Y", false), NavigationCommand::FaceTarget);
    EXPECT_EQ(navigationScriptCommand("Z", false), NavigationCommand::JumpToTarget);
    EXPECT_EQ(navigationScriptCommand("Q", false), 0);

    SimState s;
    s.runMode = 1;
    s.objects.resize(3);
    EXPECT_TRUE(s.nav.markersShown);
    EXPECT_TRUE(handleNavigationCommand(s, NavigationCommand::Markers));
    EXPECT_FALSE(s.nav.markersShown);
    EXPECT_FALSE(handleNavigationCommand(s, 40006));
    // Without a target Y and Z ask for nothing; Tab takes one; Z twice steps the altitude.
    handleNavigationCommand(s, NavigationCommand::FaceTarget);
    EXPECT_EQ(s.nav.faceTargetRequest, -1);
    handleNavigationCommand(s, NavigationCommand::NextTarget);
    ASSERT_GE(s.nav.target, 0);
    handleNavigationCommand(s, NavigationCommand::FaceTarget);
    handleNavigationCommand(s, NavigationCommand::JumpToTarget);
    handleNavigationCommand(s, NavigationCommand::JumpToTarget);
    EXPECT_EQ(s.nav.faceTargetRequest, s.nav.target);
    EXPECT_EQ(s.nav.jumpTargetRequest, s.nav.target);
    EXPECT_EQ(s.nav.jumpAltitudeChoice, 1);
    // In replay mode the target can be chosen, but nothing is requested.
    SimState r;
    r.runMode = 0;
    r.objects.resize(3);
    handleNavigationCommand(r, NavigationCommand::PreviousTarget);
    EXPECT_GE(r.nav.target, 0);
    handleNavigationCommand(r, NavigationCommand::FaceTarget);
    handleNavigationCommand(r, NavigationCommand::JumpToTarget);
    EXPECT_EQ(r.nav.faceTargetRequest, -1);
    EXPECT_EQ(r.nav.jumpTargetRequest, -1);
}
