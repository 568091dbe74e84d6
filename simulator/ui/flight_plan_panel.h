// The flight plan panel in the bottom-left corner, above the target panel: each node's change of
// velocity, its burn's duration at the forward thrust and the time until it starts; the selected
// node's components; the closest approach to the target and the orbit the planned path ends on;
// the altitude being typed, what the last transfer request found and what the autopilot does.
// Hidden with the heads-up display (F2) and while the keyboard help hangs in the corner. The path
// with the burns is drawn beside the predicted path in a colour of its own.
#pragma once

#include <string>
#include <vector>

#include "flight_planner.h"
#include "gl_device.h"
#include "icon_sprite.h"
#include "navigation_figures.h"
#include "screen_shapes.h"
#include "text_font.h"

inline constexpr uint32_t kPlannedPathArgb = 0xFFFF60C0;

// The panel's text ("" when there is nothing to show).
std::string composeFlightPlanPanel(const FlightPlanner& planner, const SimState& state);
bool flightPlanPanelShown(const SimState& state);
// Writes the panel's text to the error stream after a scripted key: "corvane: plan panel after
// KEY:" and each line as "  | line".
void logFlightPlanPanel(const std::string& keyName, const FlightPlanner& planner, const SimState& state);

// The planned ship path as line-list vertices in the planned path's colour.
std::vector<VertexPc> plannedPathVertices(const PlannedPath& planned, const SimState& state);

// Where the panel with this text stands (body labels keep off it): above the target panel, right
// of the heads-up panel where it would reach into it. Empty text: an empty box.
ScreenBox flightPlanPanelBox(TextFont& font, const std::string& text, const SimState& state,
                             const NavigationFigures& figures, int heightPx, float hudRightPx, float hudBottomPx);

// The path and the panel: the panel's bottom stands above the target panel (shown with this
// frame's figures), and moves right of the heads-up panel (right edge hudRightPx, bottom
// hudBottomPx) when it would reach into it.
void drawFlightPlan(GlDevice& device, IconSprite& background, TextFont& font, const FlightPlanner& planner,
                    const SimState& state, const NavigationFigures& figures, int heightPx, float hudRightPx,
                    float hudBottomPx);
