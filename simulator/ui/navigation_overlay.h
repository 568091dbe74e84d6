// The navigation overlay of one frame: body markers, the target bracket and the target panel,
// drawn under every overlay of the heads-up display and the on-screen controls. Drawing only; the
// target is chosen in sim.
#pragma once

#include <string>
#include <vector>

#include "body_markers.h"
#include "hud_text.h"
#include "icon_sprite.h"
#include "navigation_figures.h"
#include "screen_shapes.h"
#include "sky_projection.h"
#include "text_font.h"

class NavigationOverlay {
public:
    // font is the heads-up display's; background its translucent panel icon. Markers are left out
    // where the heads-up text block (hudText, when shown) lies, and the panel keeps clear of it;
    // labels keep out of both panels, of the top-centre lines and of the areas in keepOut (the
    // on-screen controls). figures: this frame's, for the panel and the target's label.
    void draw(GlDevice& device, const SimState& state, const NavigationFigures& figures, const HudText& hudText,
              TextFont& font, IconSprite& background, int widthPx, int heightPx,
              const std::vector<ScreenBox>& keepOut);

private:
    std::vector<BodyOnScreen> bodies_;
    BodyMarkers markers_;
    ScreenShapes shapes_;
    std::string panelText_;
    std::vector<ScreenBox> keepOut_;
};

// Whether (x, y) lies on an on-screen control that is shown (such a click belongs to the control).
class GuiControls;
bool pointOnControls(const GuiControls& gui, int x, int y, bool guiHidden);
// The squares of the on-screen controls that are shown, appended to out.
void controlBoxes(const GuiControls& gui, bool guiHidden, std::vector<ScreenBox>& out);
