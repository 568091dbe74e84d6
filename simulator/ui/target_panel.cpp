// Target panel text and drawing.
#include "target_panel.h"

#include <cmath>
#include <cstdio>

#include "navigation_state.h"
#include "target_readout.h"

namespace {

constexpr float kRadToDeg = 57.29577951308232f;

// "d hh:mm:ss" for up to a few thousand days, else days in exponent form.
std::string duration(double s) {
    char buf[48];
    if (s >= 1e9) {
        std::snprintf(buf, sizeof buf, "%.2e d", s / 86400.0);
        return buf;
    }
    long long t = static_cast<long long>(s);
    std::snprintf(buf, sizeof buf, "%lld d %02lld:%02lld:%02lld", t / 86400, t / 3600 % 24, t / 60 % 60, t % 60);
    return buf;
}

}  // namespace

std::string composeTargetPanel(const SimState& state) {
    const int target = state.nav.target;
    if (target < 0 || static_cast<size_t>(target) + 1 >= state.objects.size()) return {};
    std::string name = static_cast<size_t>(target) < state.configEntries.size()
                           ? state.configEntries[static_cast<size_t>(target)]
                           : std::string();
    name = name.substr(0, name.find('.'));
    const TargetReadout r = readTarget(state, target);
    std::string text;
    char line[160];
    auto add = [&](const char* fmt, auto... values) {
        std::snprintf(line, sizeof line, fmt, values...);
        if (!text.empty()) text += "\n";
        text += line;
    };
    add("TARGET          %.60s", name.c_str());
    add("DISTANCE        %11.4e km", static_cast<double>(r.surfaceDistanceKm));
    add("CLOSING SPEED   %11.4e km/s", static_cast<double>(r.closingSpeedKmPerS));
    add("RELATIVE SPEED  %11.4e km/s", static_cast<double>(r.relativeSpeedKmPerS));
    if (r.closestApproachInS >= 0)
        add("CLOSEST IN      %s", duration(r.closestApproachInS).c_str());
    else
        add("%s", "CLOSEST IN      receding");
    if (r.bound) {
        add("PERIAPSIS ALT   %11.4e km", r.periapsisAltitudeKm);
        add("APOAPSIS ALT    %11.4e km", r.apoapsisAltitudeKm);
        if (r.periodS < 86400.0 * 2)
            add("PERIOD          %11.2f min", r.periodS / 60.0);
        else
            add("PERIOD          %s", duration(r.periodS).c_str());
        add("INCLINATION     %11.2f deg", r.inclinationRad * static_cast<double>(kRadToDeg));
    }
    const int choice = state.nav.altitudeChoice % kTargetAltitudeChoices;
    add("Z ALTITUDE      %g x radius", static_cast<double>(kTargetAltitudeRadii[choice]));
    return text;
}

bool targetPanelShown(const SimState& state) {
    return state.nav.target >= 0 && state.latches[kHudHidden] == 0 && state.flags.keyboardHelpShown == 0;
}

void drawTargetPanel(GlDevice& device, IconSprite& background, TextFont& font, const std::string& text,
                     int heightPx, float hudRightPx, float hudBottomPx) {
    if (text.empty()) return;
    int cx = 0, cy = 0;
    font.measureText(text.c_str(), &cx, &cy);
    const float top = static_cast<float>(heightPx - cy - 10);
    const float left = top - 10 < hudBottomPx ? std::ceil(hudRightPx) + 4 : 0;
    // The heads-up display's panel: the 32-texel icon scaled a little past the text.
    background.setTranslation(left, top - 10);
    background.setScaling(static_cast<float>(cx) * 0.0334375f, static_cast<float>(cy + 10) * 0.034375f);
    background.drawIcon(device);
    font.drawText(left + 10, top, 0xFFFFFFFF, text.c_str());
}
