// Navigation commands: the state changes live in sim; this only dispatches.
#include "navigation_commands.h"

#include "target_navigation.h"

bool handleNavigationCommand(SimState& state, int command) {
    switch (command) {
        case NavigationCommand::Markers:
            state.nav.markersShown = !state.nav.markersShown;
            return true;
        case NavigationCommand::NextTarget:
            cycleTarget(state, +1);
            return true;
        case NavigationCommand::PreviousTarget:
            cycleTarget(state, -1);
            return true;
        case NavigationCommand::FaceTarget:
            requestFaceTarget(state);
            return true;
        case NavigationCommand::JumpToTarget:
            requestJumpToTarget(state);
            return true;
        default:
            return false;
    }
}

int navigationScriptCommand(const std::string& keyName, bool leftShiftHeld) {
    if (keyName == "F11") return NavigationCommand::Markers;
    if (keyName == "Tab") return leftShiftHeld ? NavigationCommand::PreviousTarget : NavigationCommand::NextTarget;
    if (keyName == "Y") return NavigationCommand::FaceTarget;
    if (keyName == "Z") return NavigationCommand::JumpToTarget;
    return 0;
}
