// Markers, bracket and panel of one frame.
#include "navigation_overlay.h"

#include "gui_components.h"
#include "hud_display.h"
#include "target_bracket.h"
#include "target_panel.h"
#include "top_centre_lines.h"

void NavigationOverlay::draw(GlDevice& device, const SimState& state, const NavigationFigures& figures,
                             const HudText& hudText, TextFont& font, IconSprite& background, int widthPx,
                             int heightPx, const std::vector<ScreenBox>& keepOut) {
    const bool markers = state.nav.markersShown;
    const int target = state.nav.target;
    if (!markers && target < 0) return;
    placeBodiesOnScreen(state, widthPx, heightPx, bodies_);
    // The heads-up panel as drawHudBlock sizes it (the 32-texel icon scaled).
    float hudRight = 0, hudBottom = 0;
    if (state.isLive() && state.latches[kHudHidden] == 0) {
        int cx = 0, cy = 0;
        font.measureText(joinHudLines(hudText).c_str(), &cx, &cy);
        hudRight = static_cast<float>(cx) * kHudPanelScaleX * 32;
        hudBottom = static_cast<float>(cy) * kHudPanelScaleY * 32;
        for (BodyOnScreen& s : bodies_)
            if (s.x < hudRight && s.y < hudBottom) s.inFront = false;
    }
    keepOut_ = keepOut;
    if (hudRight > 0) keepOut_.push_back({0, 0, hudRight, hudBottom});
    // The top-centre lines: the warp, a reason, the banner and the gauge (up to eight rows).
    const float topHalf = static_cast<float>(topCentreWidthPx(widthPx)) / 2 + 8;
    keepOut_.push_back({static_cast<float>(widthPx) / 2 - topHalf, 0, static_cast<float>(widthPx) / 2 + topHalf, 130});
    panelText_ = targetPanelShown(state) ? composeTargetPanel(state, figures) : std::string();
    if (!panelText_.empty()) keepOut_.push_back(targetPanelBox(font, panelText_, heightPx, hudRight, hudBottom));
    shapes_.clear();
    int charW = 0, lineH = 0;
    font.measureText("M", &charW, &lineH);
    if (markers) markers_.layout(state, bodies_, widthPx, heightPx, charW, lineH, shapes_, keepOut_, figures);
    if (target >= 0 && static_cast<size_t>(target) < bodies_.size())
        addTargetBracket(bodies_[static_cast<size_t>(target)], shapes_);
    shapes_.draw(device);
    if (markers) markers_.drawLabels(state, font);
    if (!panelText_.empty()) drawTargetPanel(device, background, font, panelText_, heightPx, hudRight, hudBottom);
}

void controlBoxes(const GuiControls& gui, bool guiHidden, std::vector<ScreenBox>& out) {
    const auto& components = gui.components();
    for (size_t c = 0; c < components.size(); ++c) {
        if (c != 0 && guiHidden) continue;
        for (const IconSprite& icon : components[c].icons)
            if (icon.visible)
                out.push_back({static_cast<float>(icon.hitRect.left) - 2, static_cast<float>(icon.hitRect.top) - 2,
                               static_cast<float>(icon.hitRect.right) + 2, static_cast<float>(icon.hitRect.bottom) + 2});
    }
}

bool pointOnControls(const GuiControls& gui, int x, int y, bool guiHidden) {
    const auto& components = gui.components();
    for (size_t c = 0; c < components.size(); ++c) {
        if (c != 0 && guiHidden) continue;
        for (const IconSprite& icon : components[c].icons)
            if (icon.visible && icon.hitRect.contains(x, y)) return true;
    }
    return false;
}
