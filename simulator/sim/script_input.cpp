// Parser of scripted input files and the key-name tables (DirectInput codes, accelerator
// commands) that the simulator needs to replay them.
#include "script_input.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <sstream>
#include <utility>

#include "controller_map.h"
#include "text_file.h"

namespace {

std::string upper(const std::string& s) {
    std::string r = s;
    for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

// Scan codes of the letters, indexed by letter.
constexpr int kLetterCodes[26] = {
    0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,  // A..M
    0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C,  // N..Z
};

// F-key number 1..12 of a canonical upper-case name, 0 otherwise.
int functionKeyNumber(const std::string& up) {
    if (up.size() < 2 || up.size() > 3 || up[0] != 'F') return 0;
    int n = 0;
    for (size_t i = 1; i < up.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(up[i]))) return 0;
        n = n * 10 + (up[i] - '0');
    }
    if (up[1] == '0') return 0;
    return n >= 1 && n <= 12 ? n : 0;
}

// The flight plan's keys by script name, with their DirectInput codes.
constexpr std::pair<const char*, int> kFlightPlanKeys[] = {
    {"Insert", 0xD2}, {"Delete", 0xD3}, {"PageUp", 0xC9}, {"PageDown", 0xD1}, {"Home", 0xC7},
    {"End", 0xCF},    {"Enter", 0x1C},  {"KP8", 0x48},    {"KP2", 0x50},     {"KP4", 0x4B},
    {"KP6", 0x4D},    {"KP7", 0x47},    {"KP9", 0x49}};

template <class T>
bool parseNumber(const std::string& token, T& value) {
    const char* end = token.data() + token.size();
    auto [ptr, ec] = std::from_chars(token.data(), end, value);
    return ec == std::errc() && ptr == end;
}

}  // namespace

std::string canonicalKeyName(const std::string& name) {
    std::string up = upper(name);
    if (up.size() == 1 && up[0] >= 'A' && up[0] <= 'Z') return up;
    if (up == "SPACE") return "Space";
    if (up == "UP") return "Up";
    if (up == "DOWN") return "Down";
    if (up == "ESC") return "Esc";
    if (up == "TAB") return "Tab";
    if (up == "LSHIFT") return "LShift";
    if (up == "PERIOD") return "Period";
    if (up == "COMMA") return "Comma";
    if (up == "LEFTBRACKET") return "LeftBracket";
    if (up == "RIGHTBRACKET") return "RightBracket";
    if (up.size() == 1 && up[0] >= '0' && up[0] <= '9') return up;
    for (const auto& key : kFlightPlanKeys)
        if (up == upper(key.first)) return key.first;
    if (int n = functionKeyNumber(up)) return std::string("F").append(std::to_string(n));
    return "";
}

int directInputCode(const std::string& name) {
    std::string key = canonicalKeyName(name);
    if (key.empty()) return -1;
    if (key.size() == 1 && key[0] >= '1' && key[0] <= '9') return 0x02 + (key[0] - '1');
    if (key == "0") return 0x0B;
    if (key.size() == 1) return kLetterCodes[key[0] - 'A'];
    if (key == "Space") return 0x39;
    if (key == "Up") return 0xC8;
    if (key == "Down") return 0xD0;
    if (key == "Esc") return 0x01;
    if (key == "Tab") return 0x0F;
    if (key == "LShift") return 0x2A;
    if (key == "Period") return 0x34;
    if (key == "Comma") return 0x33;
    if (key == "LeftBracket") return 0x1A;
    if (key == "RightBracket") return 0x1B;
    for (const auto& [keyName, code] : kFlightPlanKeys)
        if (key == keyName) return code;
    int n = functionKeyNumber(key);
    if (n >= 1 && n <= 10) return 0x3B + (n - 1);
    return n == 11 ? 0x57 : 0x58;
}

bool isCommandKey(const std::string& name) {
    std::string key = canonicalKeyName(name);
    return key == "Esc" || functionKeyNumber(key) != 0;
}

int acceleratorCommand(const std::string& name) {
    std::string key = canonicalKeyName(name);
    if (key == "Esc") return 40006;
    switch (functionKeyNumber(key)) {
        case 1: return 40028;
        case 2: return 25506;
        case 3: return 40035;
        case 4: return 40036;
        case 5: return 40021;
        case 6: return 40038;
        case 7: return 40040;
        case 8: return 40041;
        case 9: return 40042;
        case 10: return 40060;
        case 12: return 40029;
        default: return 0;
    }
}

ScriptParseResult parseScriptInput(const std::string& text, const std::string& fileName) {
    ScriptParseResult result;
    std::istringstream in(text);
    std::string rawLine;
    int lineNumber = 0;
    auto fail = [&](const std::string& reason) {
        result.events.clear();
        result.error = fileName + ":" + std::to_string(lineNumber) + ": " + reason;
        return result;
    };
    while (std::getline(in, rawLine)) {
        ++lineNumber;
        std::string line = rawLine.substr(0, rawLine.find('#'));
        std::istringstream words(line);
        std::vector<std::string> tokens;
        for (std::string w; words >> w;) tokens.push_back(w);
        if (tokens.empty()) continue;

        ScriptEvent event;
        event.line = lineNumber;
        if (!parseNumber(tokens[0], event.frame) || event.frame < 0)
            return fail("frame number expected, got \"" + tokens[0] + "\"");
        if (tokens.size() < 2) return fail("event expected after the frame number");
        std::string kind = tokens[1];
        if (kind == "key") {
            if (tokens.size() != 4) return fail("expected \"<frame> key <NAME> down|up\"");
            event.keyName = canonicalKeyName(tokens[2]);
            if (event.keyName.empty()) return fail("unknown key name \"" + tokens[2] + "\"");
            event.keyCode = directInputCode(event.keyName);
            event.isCommand = isCommandKey(event.keyName);
            if (tokens[3] == "down")
                event.kind = ScriptEventKind::KeyDown;
            else if (tokens[3] == "up")
                event.kind = ScriptEventKind::KeyUp;
            else
                return fail("expected down or up, got \"" + tokens[3] + "\"");
        } else if (kind == "click") {
            if (tokens.size() != 4) return fail("expected \"<frame> click <x> <y>\"");
            event.kind = ScriptEventKind::Click;
            if (!parseNumber(tokens[2], event.x) || !parseNumber(tokens[3], event.y) ||
                event.x < 0 || event.y < 0)
                return fail("click position must be two non-negative integers");
        } else if (kind == "pad") {
            if (tokens.size() == 3 && (tokens[2] == "plug" || tokens[2] == "unplug")) {
                event.kind = tokens[2] == "plug" ? ScriptEventKind::PadPlug : ScriptEventKind::PadUnplug;
            } else if (tokens.size() != 4) {
                return fail("expected \"<frame> pad plug|unplug\", \"<frame> pad <BUTTON> down|up\" or "
                            "\"<frame> pad <AXIS> <value>\"");
            } else if (std::optional<PadButton> b = padButtonByName(tokens[2])) {
                event.kind = ScriptEventKind::PadButton;
                event.padControl = static_cast<int>(*b);
                if (tokens[3] != "down" && tokens[3] != "up")
                    return fail("expected down or up, got \"" + tokens[3] + "\"");
                event.padValue = tokens[3] == "down" ? 1 : 0;
            } else if (std::optional<PadAxis> a = padAxisByName(tokens[2])) {
                event.kind = ScriptEventKind::PadAxis;
                event.padControl = static_cast<int>(*a);
                if (!parseNumber(tokens[3], event.padValue) || event.padValue < -32768 || event.padValue > 32767)
                    return fail("axis position must be an integer from -32768 to 32767, got \"" + tokens[3] + "\"");
            } else {
                return fail("unknown controller button or axis \"" + tokens[2] + "\"");
            }
            result.usesPad = true;
        } else {
            return fail("unknown event \"" + kind + "\" (expected key, click or pad)");
        }
        result.events.push_back(event);
    }
    std::stable_sort(result.events.begin(), result.events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
    // The script's controller must be plugged in for what it does, and is plugged in once.
    bool plugged = false;
    for (const ScriptEvent& e : result.events) {
        lineNumber = e.line;
        if (e.kind == ScriptEventKind::PadPlug && plugged) return fail("the controller is plugged in already");
        if (e.kind == ScriptEventKind::PadUnplug && !plugged) return fail("no controller is plugged in");
        if ((e.kind == ScriptEventKind::PadButton || e.kind == ScriptEventKind::PadAxis) && !plugged)
            return fail("no controller is plugged in at this frame");
        if (e.kind == ScriptEventKind::PadPlug) plugged = true;
        if (e.kind == ScriptEventKind::PadUnplug) plugged = false;
    }
    return result;
}

ScriptParseResult readScriptInput(const std::string& path) {
    std::string content;
    std::string reason;
    if (!readWholeFile(path, content, &reason)) {
        ScriptParseResult result;
        result.error = path + ": " + reason;
        return result;
    }
    content.erase(std::remove(content.begin(), content.end(), '\r'), content.end());
    return parseScriptInput(content, path);
}
