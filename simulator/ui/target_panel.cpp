// Target panel text and drawing.
#include "target_panel.h"

#include <cmath>
#include <cstdio>

#include "navigation_banner.h"
#include "navigation_state.h"

namespace {
constexpr float kRadToDeg = 57.29577951308232f;
}  // namespace

std::string composeTargetPanel(const SimState& state, const NavigationFigures& f) {
    const int target = state.nav.target;
    if (target < 0 || f.target != target) return {};
    std::string text;
    char line[160];
    auto add = [&](const char* fmt, auto... values) {
        std::snprintf(line, sizeof line, fmt, values...);
        if (!text.empty()) text += "\n";
        text += line;
    };
    add("TARGET          %.60s", bodyDisplayName(state, target).c_str());
    add("DISTANCE        %11.4e km above surface", f.surfaceDistanceKm);
    add("                %11.4e km from centre", f.centreDistanceKm);
    add("CLOSING SPEED   %11.4e km/s", f.closingSpeedKmPerS);
    add("RELATIVE SPEED  %11.4e km/s", f.relativeSpeedKmPerS);
    if (f.approach == ApproachSource::None) {
        add("%s", "CLOSEST IN      receding");
    } else {
        add("CLOSEST IN       %s", durationText(f.closestInS).c_str());
        if (f.closestSurfaceKm < 0)
            add("%s", "CLOSEST AT       the surface (the course meets it)");
        else
            add("CLOSEST AT      %11.4e km above surface", f.closestSurfaceKm);
        add("                 on the %s", approachSourceText(f).c_str());
    }
    if (f.bound) {
        add("PERIAPSIS ALT   %11.4e km", f.periapsisAltitudeKm);
        add("APOAPSIS ALT    %11.4e km", f.apoapsisAltitudeKm);
        if (f.periodS < 86400.0 * 2)
            add("PERIOD          %11.2f min", f.periodS / 60.0);
        else
            add("PERIOD          %s", durationText(f.periodS).c_str());
        add("INCLINATION     %11.2f deg", f.inclinationRad * static_cast<double>(kRadToDeg));
    }
    const int choice = state.nav.altitudeChoice % kTargetAltitudeChoices;
    add("Z ALTITUDE      %g x radius", static_cast<double>(kTargetAltitudeRadii[choice]));
    return text;
}

bool targetPanelShown(const SimState& state) {
    return state.nav.target >= 0 && state.latches[kHudHidden] == 0 && state.flags.keyboardHelpShown == 0;
}

ScreenBox targetPanelBox(TextFont& font, const std::string& text, int heightPx, float hudRightPx, float hudBottomPx) {
    if (text.empty()) return {};
    int cx = 0, cy = 0;
    font.measureText(text.c_str(), &cx, &cy);
    const float top = static_cast<float>(heightPx - cy - 10);
    const float left = top - 10 < hudBottomPx ? std::ceil(hudRightPx) + 4 : 0;
    return {left, top - 10, left + static_cast<float>(cx) * 0.0334375f * 32, static_cast<float>(heightPx)};
}

void drawTargetPanel(GlDevice& device, IconSprite& background, TextFont& font, const std::string& text,
                     int heightPx, float hudRightPx, float hudBottomPx) {
    if (text.empty()) return;
    int cx = 0, cy = 0;
    font.measureText(text.c_str(), &cx, &cy);
    const ScreenBox box = targetPanelBox(font, text, heightPx, hudRightPx, hudBottomPx);
    // The heads-up display's panel: the 32-texel icon scaled a little past the text.
    background.setTranslation(box.x0, box.y0);
    background.setScaling(static_cast<float>(cx) * 0.0334375f, static_cast<float>(cy + 10) * 0.034375f);
    background.drawIcon(device);
    font.drawText(box.x0 + 10, box.y0 + 10, 0xFFFFFFFF, text.c_str());
}
