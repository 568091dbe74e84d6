// Game controllers through SDL's game-controller interface: pads are opened when they are
// plugged in and closed when they are pulled out, while the program runs. Each poll reads every
// pad; the keys its held controls stand for go into the key-state buffer, and the buttons that
// stand for F-keys give their commands once per press. A scripted run plugs in a virtual pad of
// SDL's own (no hardware) and moves its controls; real pads are then ignored, as the real
// keyboard is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "controller_map.h"
#include "script_input.h"

struct _SDL_GameController;
struct _SDL_Joystick;

class GameControllers {
public:
    GameControllers() = default;
    ~GameControllers();
    GameControllers(const GameControllers&) = delete;
    GameControllers& operator=(const GameControllers&) = delete;

    // Starts SDL's game-controller support. scriptOnly: only the script's virtual pad counts.
    // withEvents false: SDL queues no controller events (nothing would take them in a run
    // without a window). False, with the reason in error, when SDL cannot offer controllers.
    bool start(bool scriptOnly, bool withEvents, std::string& error);

    // The script's virtual pad: plugged in, its controls moved, pulled out. They act at the
    // next poll.
    bool plugScriptPad(std::string& error);
    void unplugScriptPad();
    void setScriptPadButton(PadButton button, bool down);
    void setScriptPadAxis(PadAxis axis, int value);
    // A script's pad event (plug, unplug, a button, an axis); other events are ignored. False,
    // with the reason, when the pad cannot be plugged in.
    bool applyScriptEvent(const ScriptEvent& event, std::string& error);

    // Opens pads plugged in since the last poll, closes those pulled out, reads every pad and
    // returns the commands of the buttons pressed since the last poll.
    std::vector<int> poll();
    // Adds the keys that the controls held at the last poll stand for.
    void addHeldKeys(KeyState& keys) const;
    int openPads() const { return static_cast<int>(pads_.size()); }

private:
    struct Pad {
        _SDL_GameController* controller = nullptr;
        int32_t instance = -1;
        PadState state;
    };
    void closeAll();

    bool started_ = false;
    bool scriptOnly_ = false;
    std::vector<Pad> pads_;
    _SDL_Joystick* scriptPad_ = nullptr;  // the virtual device, to move its controls
    int32_t scriptInstance_ = -1;
};
