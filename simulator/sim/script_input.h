// Scripted input for unattended runs: key presses, releases and clicks tied to frame numbers,
// parsed from a text file of lines "<frame> key <NAME> down|up" and "<frame> click <x> <y>",
// and a game controller that the script plugs in, moves and unplugs: "<frame> pad plug|unplug",
// "<frame> pad <BUTTON> down|up" and "<frame> pad <AXIS> <-32768..32767>".
#pragma once

#include <string>
#include <vector>

enum class ScriptEventKind { KeyDown, KeyUp, Click, PadPlug, PadUnplug, PadButton, PadAxis };
inline bool isPadEvent(ScriptEventKind kind) {
    return kind == ScriptEventKind::PadPlug || kind == ScriptEventKind::PadUnplug ||
           kind == ScriptEventKind::PadButton || kind == ScriptEventKind::PadAxis;
}

struct ScriptEvent {
    long long frame = 0;  // applies before this advanced frame (counted from 0)
    ScriptEventKind kind = ScriptEventKind::KeyDown;
    std::string keyName;     // canonical: "A".."Z", "Space", "Up", "Down", "F1".."F12", "Esc",
                             // "Tab", "LShift", "Period", "Comma", "LeftBracket",
                             // "RightBracket"
    int keyCode = -1;        // DirectInput code of the key
    bool isCommand = false;  // F-keys and Esc: the app delivers their command on "down"
    int x = 0, y = 0;        // click position, client pixels
    int padControl = 0;      // PadButton or PadAxis of a pad event
    int padValue = 0;        // button 1 (down) or 0, or the axis position
    int line = 0;            // 1-based line in the file
};

struct ScriptParseResult {
    std::vector<ScriptEvent> events;  // sorted by frame, file order within a frame
    std::string error;                // "FILE:LINE: reason" when the input is malformed
    bool usesPad = false;             // the script plugs in a game controller
    bool ok() const { return error.empty(); }
};

// Parses script text; fileName is used in error messages. "#" starts a comment; blank lines are
// allowed. Key names are case-insensitive.
ScriptParseResult parseScriptInput(const std::string& text, const std::string& fileName);
// Reads and parses a script file; an unreadable file is an error naming it.
ScriptParseResult readScriptInput(const std::string& path);

// DirectInput code of a key name (case-insensitive): letters, Space, Up, Down, F1..F12, Esc, Tab,
// LShift; -1 for an unknown name.
int directInputCode(const std::string& name);
// The canonical spelling of a key name, or "" when unknown.
std::string canonicalKeyName(const std::string& name);
// F-keys and Esc reach the simulator as accelerator commands rather than polled keys.
bool isCommandKey(const std::string& name);
// The accelerator command of a command key (Esc 40006, F1 40028, F2 25506, ...), 0 for none.
int acceleratorCommand(const std::string& name);
