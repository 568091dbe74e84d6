// Navigation keys to commands.
#include "navigation_keys.h"

int navigationKeyCommand(SDL_Scancode scancode, bool shiftHeld) {
    switch (scancode) {
        case SDL_SCANCODE_F11: return NavigationCommand::Markers;
        case SDL_SCANCODE_TAB: return shiftHeld ? NavigationCommand::PreviousTarget : NavigationCommand::NextTarget;
        case SDL_SCANCODE_Y: return NavigationCommand::FaceTarget;
        case SDL_SCANCODE_Z: return NavigationCommand::JumpToTarget;
        default: return 0;
    }
}
