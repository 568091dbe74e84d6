// Flight plan keys to commands.
#include "flight_plan_keys.h"

int flightPlanKeyCommand(SDL_Scancode scancode, bool shiftHeld, bool repeat) {
    using namespace FlightPlanCommand;
    const int change = shiftHeld ? FirstFineChange : FirstChange;
    switch (scancode) {
        case SDL_SCANCODE_PAGEUP: return Later;
        case SDL_SCANCODE_PAGEDOWN: return Earlier;
        case SDL_SCANCODE_KP_8: return change;
        case SDL_SCANCODE_KP_2: return change + 1;
        case SDL_SCANCODE_KP_4: return change + 2;
        case SDL_SCANCODE_KP_6: return change + 3;
        case SDL_SCANCODE_KP_7: return change + 4;
        case SDL_SCANCODE_KP_9: return change + 5;
        default: break;
    }
    if (repeat) return 0;
    switch (scancode) {
        case SDL_SCANCODE_INSERT: return NewNode;
        case SDL_SCANCODE_DELETE: return DeleteNode;
        case SDL_SCANCODE_HOME: return PlanTransfer;
        case SDL_SCANCODE_END: return FlyNext;
        case SDL_SCANCODE_RETURN: return Enter;
        case SDL_SCANCODE_0: return FirstDigit;
        default: break;
    }
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return FirstDigit + 1 + (scancode - SDL_SCANCODE_1);
    return 0;
}
