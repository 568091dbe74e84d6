// The target panel in the bottom-left corner, in the heads-up display's font: the target's name,
// its distance above the surface and from the centre, closing and relative speed, the closest
// approach ahead (when, how high, and from the predicted path or the straight course), the orbit
// about it when the ship is bound to it, and the altitude that Z jumps to. Every figure is the
// frame's navigation figures, the ones the banner shows. Shown while a target is chosen and the
// heads-up display is not hidden (F2).
#pragma once

#include <string>

#include "icon_sprite.h"
#include "navigation_figures.h"
#include "screen_shapes.h"
#include "sim_state.h"
#include "text_font.h"

// The panel's text for the current target ("" without one), one figure a line, single-spaced so
// that it fits below the heads-up text on a 720-pixel screen.
std::string composeTargetPanel(const SimState& state, const NavigationFigures& figures);

// Whether the panel is drawn: a target, the heads-up display shown, the keyboard help (which
// hangs in the same corner) not.
bool targetPanelShown(const SimState& state);

// Draws the text with the translucent panel behind it, hanging from the bottom-left corner; when it
// would reach into the heads-up panel (right edge hudRightPx, bottom hudBottomPx; 0 when hidden)
// it moves to the right of it.
// The area the panel takes (empty for no text).
ScreenBox targetPanelBox(TextFont& font, const std::string& text, int heightPx, float hudRightPx, float hudBottomPx);
void drawTargetPanel(GlDevice& device, IconSprite& background, TextFont& font, const std::string& text,
                     int heightPx, float hudRightPx, float hudBottomPx);
