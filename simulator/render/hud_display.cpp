// The heads-up display's drawing steps: icons made at each device reset, the text block on its
// panel, the crosshair and the flashes. State changes of the overlay pass live in hud_flashes.
#include "hud_display.h"

#include "text_font.h"

namespace {

constexpr float kCrosshairPanelScale = 4;  // the 32-texel panel as a 128 x 128 square

}  // namespace

void HudIcons::release() {
    background.release();
    bullseye.release();
    redFlash.release();
    yellowFlash.release();
}

std::optional<std::string> createHudIcons(HudIcons& icons, const std::string& dataDirectory,
                                          int backBufferWidthPx, int backBufferHeightPx) {
    struct Entry {
        IconSprite& icon;
        const char* file;
        uint32_t modulateArgb;
    };
    const Entry entries[] = {{icons.background, kHudBackgroundIconFile, kHudPanelArgb},
                             {icons.bullseye, kHudBullseyeIconFile, kIconOpaqueWhite},
                             {icons.redFlash, kHudRedIconFile, kHudFlashArgb},
                             {icons.yellowFlash, kHudYellowIconFile, kHudFlashArgb}};
    for (const Entry& e : entries) {
        e.icon = IconSprite{};
        e.icon.setColourKey(kIconDefaultColourKey);
        const std::string path = dataDirectory + e.file;
        if (!e.icon.loadIcon(path)) return path;
        e.icon.setModulateColour(e.modulateArgb);
    }
    // Integer divisions: the 32-texel flashes then cover the back buffer.
    const float flashScaleX = static_cast<float>(backBufferWidthPx >> 5);
    const float flashScaleY = static_cast<float>(backBufferHeightPx / 31);
    icons.redFlash.setScaling(flashScaleX, flashScaleY);
    icons.yellowFlash.setScaling(flashScaleX, flashScaleY);
    return std::nullopt;
}

void drawFlashes(GlDevice& device, HudIcons& icons, const HudFlashState& flashes) {
    if (flashes.jumpVisible) {
        icons.redFlash.setTranslation(0, 0);
        icons.redFlash.drawIcon(device);
    }
    if (flashes.snapshotVisible) {
        icons.yellowFlash.setTranslation(0, 0);
        icons.yellowFlash.drawIcon(device);
    }
}

void drawHudBlock(GlDevice& device, HudIcons& icons, TextFont& font0, const HudText& text,
                  const SimState& state) {
    if (!state.isLive() || state.latches[kHudHidden] != 0) return;
    const std::string joined = joinHudLines(text);
    int widthPx = 0, heightPx = 0;
    font0.measureText(joined.c_str(), &widthPx, &heightPx);
    icons.background.setTranslation(0, 0);
    icons.background.setScaling(static_cast<float>(widthPx) * kHudPanelScaleX,
                                static_cast<float>(heightPx) * kHudPanelScaleY);
    icons.background.drawIcon(device);
    font0.drawText(kHudTextXPx, kHudTextYPx, kHudTextArgb, joined.c_str(), 0);
}

void drawCrosshair(GlDevice& device, HudIcons& icons, const SimState& state, int referenceWidthPx,
                   int referenceHeightPx) {
    if (!crosshairShown(state.latches, state.flags)) return;
    const float x = static_cast<float>(referenceWidthPx / 2) - kHudCrosshairHalfPx;
    const float y = static_cast<float>(referenceHeightPx / 2) - kHudCrosshairHalfPx;
    icons.background.setTranslation(x, y);
    icons.background.setScaling(kCrosshairPanelScale, kCrosshairPanelScale);
    icons.background.drawIcon(device);
    icons.bullseye.setTranslation(x, y);
    icons.bullseye.setScaling(1, 1);
    icons.bullseye.setModulateColour(kHudCrosshairArgb);
    icons.bullseye.drawIcon(device);
}
