// The keyboard help pages, written out once.
#include "overlay_text.h"

namespace {

std::string underscores(int n) { return std::string(static_cast<size_t>(n), '_') + "\n\n"; }

const std::string kF1 = "F1                   Toggle keyboard help\n\n";
const std::string kF4 = "F4                   Suspend / Restart program execution\n\n";
const std::string kF6 = "F6                   Toggle graphical user interface\n\n";
const std::string kF7 = "F7                   Store a snapshot of the screen to disk\n\n";

std::string livePage() {
    const std::string line = underscores(74);
    return "KEYBOARD             FUNCTION\n" + line +
           "Space                Thrusters:  Align forward thruster with view\n\n"
           "R / T                Thruster 1: Accelerate forward / backward\n\n"
           "F / G                Thruster 2: Accelerate up / down\n\n"
           "V / B                Thruster 3: Accelerate right / left\n\n"
           "U / I                Thruster 1: Increase / decrease forward thrust\n\n"
           "H / J                Thruster 2: Increase / decrease up thrust\n\n"
           "N / M                Thruster 3: Increase / decrease right thrust\n\n"
           "O / P                Teleportation drive: Slow / fast increase of distance\n\n"
           "K / L                Teleportation drive: Slow / fast decrease of distance\n\n"
           "Q                    Teleportation drive: Execute jump\n\n"
           "A                    All drives:          Restore energy\n" +
           line +
           "Up / Down arrow      Orientation: Decrease / Increase torque\n\n"
           "W / E                Orientation: Pitch down / up\n\n"
           "S / D                Orientation: Yaw right / left\n\n"
           "X / C                Orientation: Roll counter clockwise / clockwise\n" +
           line + kF1 + "F2                   Toggle navigational information (heads-up display)\n\n" +
           "F3                   Toggle crosshair\n\n" + kF4 + "F5                   Toggle VCR recording\n\n" + kF6 +
           kF7 + "F8                   Panic button: Stop all rotation immediately\n\n" +
           "F9                   Toggle destination icon\n\n" + "F12                  Restore default configuration\n\n" +
           "Esc                  Save current state and exit\n" + line +
           "                                                       Celestrix 1.0\n\n";
}

std::string replayPage() {
    const std::string line = underscores(59);
    return "KEYBOARD             FUNCTION\n" + line + kF1 + kF4 + kF6 + kF7 + "Esc                  Exit\n" + line +
           "                                        Celestrix 1.0\n\n";
}

std::string liveAdditions() {
    const std::string line = underscores(74);
    return "MORE KEYS            FUNCTION\n" + line +
           "Tab / Shift+Tab      Target: Next / previous body, nearest first\n\n"
           "Mouse click          Target: The body under the pointer\n\n"
           "Y                    Target: Turn ship and thrusters to face it\n\n"
           "Z                    Target: Next jump ends 1, 2, 5, 10, 20 radii above it\n" +
           line +
           ". / ,                Time warp: Faster / slower (1x to 100,000x)\n\n"
           "[ / ]                Predicted path: Shorter / longer horizon\n" +
           line +
           "Insert / Delete      Flight plan: New burn node / delete the node\n\n"
           "PgUp / PgDn          Flight plan: Move the node later / earlier\n\n"
           "Keypad 8/2 4/6 7/9   Flight plan: Prograde/normal/radial +/- (Shift: fine)\n\n"
           "Home / End           Flight plan: Transfer to target / fly the plan\n\n"
           "0-9, Enter           Flight plan: Type an altitude for an orbit change\n" +
           line +
           "F10                  Toggle energy and momentum drift gauge\n\n"
           "F11                  Toggle body markers and labels\n" +
           line;
}

std::string replayAdditions() {
    const std::string line = underscores(59);
    return "MORE KEYS            FUNCTION\n" + line +
           "Tab / Shift+Tab      Target: Next / previous body\n\n"
           "Mouse click          Target: The body under the pointer\n\n"
           "F10                  Toggle energy and momentum drift gauge\n\n"
           "F11                  Toggle body markers and labels\n" +
           line;
}

}  // namespace

const std::string& keyboardHelpAdditions(bool liveMode) {
    static const std::string live = liveAdditions();
    static const std::string replay = replayAdditions();
    return liveMode ? live : replay;
}

const std::string& keyboardHelpPage(bool liveMode) {
    static const std::string live = livePage();
    static const std::string replay = replayPage();
    return liveMode ? live : replay;
}

std::string replayIndicator(const std::string& title, int currentSequence, int sequenceCount) {
    return title + ": Seq. " + std::to_string(currentSequence) + "/" + std::to_string(sequenceCount);
}
