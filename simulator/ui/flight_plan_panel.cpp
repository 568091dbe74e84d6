// Flight plan panel text and drawing.
#include "flight_plan_panel.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "hud_display.h"
#include "hud_text.h"
#include "prediction_line.h"
#include "target_panel.h"

namespace {

constexpr size_t kNodesListed = 4;
constexpr double kRadToDeg = 57.29577951308232;

std::string bodyName(const SimState& state, int body) {
    if (body < 0 || static_cast<size_t>(body) >= state.configEntries.size()) return "body";
    std::string name = state.configEntries[static_cast<size_t>(body)];
    if (name.ends_with(".cfg")) name.resize(name.size() - 4);
    return name;
}

std::string format(const char* pattern, double a, double b = 0, double c = 0) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

// A burn's change of velocity: corrections of a few m/s read in m/s (below what reads as 0.010
// km/s, so that a rounding rest never flips a key step's figure between the two).
std::string deltaVText(double kmPerS) {
    return kmPerS < 0.0095 ? format("%.1f m/s", kmPerS * 1000) : format("%.3f km/s", kmPerS);
}

// A component as the panel shows it (to 0.1 m/s, the size of small corrections): key steps that
// cancel leave a rounding rest of either sign, which reads as "+0.0000", never "-0.0000".
double shownKmPerS(double v) { return std::round(v * 1e4) / 1e4 + 0.0; }

}  // namespace

bool flightPlanPanelShown(const SimState& state) {
    return state.isLive() && state.latches[kHudHidden] == 0 && state.flags.keyboardHelpShown == 0;
}

std::string composeFlightPlanPanel(const FlightPlanner& planner, const SimState& state) {
    const FlightPlan& plan = planner.plan();
    const Autopilot& pilot = planner.autopilot();
    std::string text;
    const double now = planner.clockS(state);
    const SimObject& ship = state.observer();
    for (size_t i = 0; i < plan.nodes.size() && i < kNodesListed; ++i) {
        const BurnNode& node = plan.nodes[i];
        const double dv = i < planner.preview().burnsWorld.size() ? length(planner.preview().burnsWorld[i])
                                                                  : length(node.deltaVKmPerS);
        const BurnCost cost = burnCost(ship, dv, state.energyKJ);
        std::string line = static_cast<int>(i) == plan.selected ? "> " : "  ";
        line += "Burn " + std::to_string(i + 1) + ": ";
        if (node.kind == NodeKind::Correction) {
            // Worked out from the real path when it is next: nothing to cost yet.
            line += "correction, starts in " + spanText(node.timeS - now);
        } else {
            line += deltaVText(dv) + ", ";
            line += cost.noThrust ? std::string("no thrust") : spanText(cost.durationS);
            line += ", starts in " + spanText(node.timeS - cost.durationS / 2 - now);
            if (cost.energyShort) line += " (energy short)";
        }
        text += line + "\n";
    }
    if (plan.nodes.size() > kNodesListed)
        text += "  ... " + std::to_string(plan.nodes.size() - kNodesListed) + " more\n";
    if (plan.selected >= 0 && static_cast<size_t>(plan.selected) < plan.nodes.size()) {
        const BurnNode& node = plan.nodes[static_cast<size_t>(plan.selected)];
        if (node.kind == NodeKind::Circularise)
            text += "  circularise about " + bodyName(state, node.primary) + "\n";
        else if (node.kind == NodeKind::Correction)
            text += "  worked out from the real path when it is next\n";
        else
            text += format("  prograde %+.4f  normal %+.4f  radial %+.4f km/s\n", shownKmPerS(node.deltaVKmPerS.x),
                           shownKmPerS(node.deltaVKmPerS.y), shownKmPerS(node.deltaVKmPerS.z));
    }
    const PlannedPath& preview = planner.preview();
    if (!plan.nodes.empty() && preview.path.valid) {
        if (preview.path.closestKm >= 0 && preview.path.targetIndex >= 0)
            text += bodyName(state, preview.path.targetIndex) +
                    format(" closest %.0f km", preview.closestAltitudeKm) + " in " +
                    spanText(preview.closestTimeS - (now - preview.requestS)) + "\n";
        const PathOrbit& o = preview.finalOrbit;
        if (o.known)
            text += "Ends about " + bodyName(state, o.body) +
                    format(": %.0f x %.0f km, ", o.periapsisAltitudeKm, o.apoapsisAltitudeKm) +
                    format("%.1f deg, ", o.inclinationRad * kRadToDeg) + spanText(o.periodS) + "\n";
    }
    if (!plan.typedAltitude.empty()) text += "Altitude: " + plan.typedAltitude + "_ km (Enter)\n";
    if (!plan.summary.empty()) text += plan.summary + "\n";
    if (!pilot.status.empty()) text += pilot.status + "\n";
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

void logFlightPlanPanel(const std::string& keyName, const FlightPlanner& planner, const SimState& state) {
    std::string text = "corvane: plan panel after " + keyName + ":\n";
    std::istringstream lines(composeFlightPlanPanel(planner, state));
    for (std::string line; std::getline(lines, line);) text += "  | " + line + "\n";
    std::fputs(text.c_str(), stderr);
}

std::vector<VertexPc> plannedPathVertices(const PlannedPath& planned, const SimState& state) {
    PredictedPath shipOnly = planned.path;
    shipOnly.target.clear();
    shipOnly.targetReference.clear();
    shipOnly.closestKm = -1;
    std::vector<VertexPc> vertices = predictionLineVertices(shipOnly, state);
    for (VertexPc& v : vertices) v.argb = kPlannedPathArgb;
    return vertices;
}

ScreenBox flightPlanPanelBox(TextFont& font, const std::string& text, const SimState& state,
                             const NavigationFigures& figures, int heightPx, float hudRightPx, float hudBottomPx) {
    if (text.empty()) return {};
    // Above the target panel when it is shown.
    int below = 0;
    if (targetPanelShown(state)) {
        int tx = 0, ty = 0;
        font.measureText(composeTargetPanel(state, figures).c_str(), &tx, &ty);
        below = ty + 20;
    }
    int cx = 0, cy = 0;
    font.measureText(text.c_str(), &cx, &cy);
    const float top = static_cast<float>(heightPx - below - cy - 10);
    const float left = top - 10 < hudBottomPx ? std::ceil(hudRightPx) + 4 : 0;
    return {left, top - 10, left + static_cast<float>(cx) * kHudPanelScaleX * 32, top + static_cast<float>(cy)};
}

void drawFlightPlan(GlDevice& device, IconSprite& background, TextFont& font, const FlightPlanner& planner,
                    const SimState& state, const NavigationFigures& figures, int heightPx, float hudRightPx,
                    float hudBottomPx) {
    if (!planner.plan().nodes.empty()) drawPathLines(device, state, plannedPathVertices(planner.preview(), state));
    if (!flightPlanPanelShown(state)) return;
    const std::string text = composeFlightPlanPanel(planner, state);
    if (text.empty()) return;
    int cx = 0, cy = 0;
    font.measureText(text.c_str(), &cx, &cy);
    const ScreenBox box = flightPlanPanelBox(font, text, state, figures, heightPx, hudRightPx, hudBottomPx);
    background.setTranslation(box.x0, box.y0);
    background.setScaling(static_cast<float>(cx) * kHudPanelScaleX, static_cast<float>(cy + 10) * kHudPanelScaleY);
    background.drawIcon(device);
    font.drawText(box.x0 + 10, box.y0 + 10, 0xFFFFFFFF, text.c_str());
}
