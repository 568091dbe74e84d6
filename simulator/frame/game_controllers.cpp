// SDL game controllers: hot plug, reading, and the scripted virtual pad.
#include "game_controllers.h"

#include <SDL.h>

#include <algorithm>

GameControllers::~GameControllers() {
    closeAll();
    if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool GameControllers::start(bool scriptOnly, bool withEvents, std::string& error) {
    scriptOnly_ = scriptOnly;
    // The program decides itself when pads count (as the keyboard, only with the window's focus
    // in a visible run); SDL must not hide their state from a hidden window.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        error = SDL_GetError();
        return false;
    }
    started_ = true;
    if (!withEvents) {
        SDL_GameControllerEventState(SDL_IGNORE);
        SDL_JoystickEventState(SDL_IGNORE);
    }
    return true;
}

bool GameControllers::plugScriptPad(std::string& error) {
    if (!started_ || scriptPad_) {
        error = scriptPad_ ? "it is plugged in already" : "game controllers are not started";
        return false;
    }
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                SDL_CONTROLLER_BUTTON_MAX, 0);
    if (index < 0 || !(scriptPad_ = SDL_JoystickOpen(index))) {
        error = SDL_GetError();
        if (index >= 0) SDL_JoystickDetachVirtual(index);
        return false;
    }
    scriptInstance_ = SDL_JoystickInstanceID(scriptPad_);
    // Sticks and triggers at rest.
    for (int a = 0; a < SDL_CONTROLLER_AXIS_MAX; ++a) SDL_JoystickSetVirtualAxis(scriptPad_, a, 0);
    return true;
}

void GameControllers::unplugScriptPad() {
    if (!scriptPad_) return;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == scriptInstance_) {
            SDL_JoystickDetachVirtual(i);
            break;
        }
    }
    SDL_JoystickClose(scriptPad_);
    scriptPad_ = nullptr;
}

void GameControllers::setScriptPadButton(PadButton button, bool down) {
    if (scriptPad_) SDL_JoystickSetVirtualButton(scriptPad_, static_cast<int>(button), down ? 1 : 0);
}

void GameControllers::setScriptPadAxis(PadAxis axis, int value) {
    if (scriptPad_)
        SDL_JoystickSetVirtualAxis(scriptPad_, static_cast<int>(axis),
                                   static_cast<Sint16>(std::clamp(value, -32768, 32767)));
}

bool GameControllers::applyScriptEvent(const ScriptEvent& e, std::string& error) {
    switch (e.kind) {
        case ScriptEventKind::PadPlug: return plugScriptPad(error);
        case ScriptEventKind::PadUnplug: unplugScriptPad(); break;
        case ScriptEventKind::PadButton: setScriptPadButton(static_cast<PadButton>(e.padControl), e.padValue != 0); break;
        case ScriptEventKind::PadAxis: setScriptPadAxis(static_cast<PadAxis>(e.padControl), e.padValue); break;
        default: break;
    }
    return true;
}

std::vector<int> GameControllers::poll() {
    std::vector<int> commands;
    if (!started_) return commands;
    SDL_GameControllerUpdate();
    // Pulled out: its controls are released with it.
    for (auto it = pads_.begin(); it != pads_.end();) {
        if (SDL_GameControllerGetAttached(it->controller)) {
            ++it;
            continue;
        }
        SDL_GameControllerClose(it->controller);
        it = pads_.erase(it);
    }
    // Plugged in.
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (!SDL_IsGameController(i)) continue;
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
        if (scriptOnly_ && id != scriptInstance_) continue;
        if (std::any_of(pads_.begin(), pads_.end(), [&](const Pad& p) { return p.instance == id; })) continue;
        if (SDL_GameController* controller = SDL_GameControllerOpen(i)) pads_.push_back({controller, id, {}});
    }
    for (Pad& pad : pads_) {
        PadState now;
        for (int a = 0; a < kPadAxisCount; ++a)
            now.axes[static_cast<size_t>(a)] =
                SDL_GameControllerGetAxis(pad.controller, static_cast<SDL_GameControllerAxis>(a));
        for (int b = 0; b < kPadButtonCount; ++b)
            now.buttons[static_cast<size_t>(b)] =
                SDL_GameControllerGetButton(pad.controller, static_cast<SDL_GameControllerButton>(b)) != 0;
        for (int command : pressedPadCommands(pad.state, now)) commands.push_back(command);
        pad.state = now;
    }
    return commands;
}

void GameControllers::addHeldKeys(KeyState& keys) const {
    for (const Pad& pad : pads_) addHeldPadKeys(pad.state, keys);
}

void GameControllers::closeAll() {
    for (Pad& pad : pads_) SDL_GameControllerClose(pad.controller);
    pads_.clear();
    unplugScriptPad();
}
