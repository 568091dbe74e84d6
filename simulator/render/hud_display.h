// Drawing the heads-up display: the translucent text panel, the crosshair and the full-screen jump
// and snapshot flashes, with the four icons they use. Drawing only reads the simulation state.
#pragma once

#include <optional>
#include <string>

#include "gl_device.h"
#include "hud_flashes.h"
#include "hud_text.h"
#include "icon_sprite.h"
#include "sim_state.h"

class TextFont;

// Icon files, relative to the data directory.
inline constexpr const char* kHudBackgroundIconFile = "Media/Icons/background32.bmp";
inline constexpr const char* kHudBullseyeIconFile = "Media/Icons/bullseye128.bmp";
inline constexpr const char* kHudRedIconFile = "Media/Icons/red32.bmp";
inline constexpr const char* kHudYellowIconFile = "Media/Icons/yellow32.bmp";

constexpr uint32_t kHudPanelArgb = 0x4BFFFFFF;     // translucent panel behind text and crosshair
constexpr uint32_t kHudCrosshairArgb = 0x96FFFFFF; // dimmed bullseye
constexpr uint32_t kHudFlashArgb = 0x32FFFFFF;     // faint full-screen flash
constexpr uint32_t kHudTextArgb = 0xFFFFFFFF;
constexpr float kHudTextXPx = 10, kHudTextYPx = 10;
constexpr float kHudCrosshairHalfPx = 64;
// The 32-texel panel scaled to the measured text: 107 % of its width, 110 % of its height.
constexpr float kHudPanelScaleX = 0.0334375f, kHudPanelScaleY = 0.034375f;

// The four icons, each keyed so that opaque black is transparent. Made on every device reset and
// released when the device is lost (both with the GL context current).
struct HudIcons {
    IconSprite background;   // icon 0: panel behind the text block and the crosshair
    IconSprite bullseye;     // icon 1: crosshair
    IconSprite redFlash;     // icon 2: jump flash, scaled to cover the back buffer
    IconSprite yellowFlash;  // icon 3: snapshot flash, likewise
    void release();
};

// Loads the icons from dataDirectory (ending in "/") and sets their colours and the flash scaling
// (back-buffer width / 32, back-buffer height / 31, both integer divisions). Returns the path of
// the first icon that cannot be loaded (the application reports it as a fatal file error), or
// nothing on success.
std::optional<std::string> createHudIcons(HudIcons& icons, const std::string& dataDirectory,
                                          int backBufferWidthPx, int backBufferHeightPx);

// The overlay pass's display steps, in the order it calls them. Each tests its own condition, so
// the application calls all of them on every drawn frame:
//
//   updateFlashes(flashes, state, h); clearOneFrameRequests(state);   // every frame step
//   ...
//   drawFlashes(device, icons, flashes);
//   drawHudBlock(device, icons, font0, hudText, state);
//   (surface warning, keyboard help, restore prompt)
//   drawCrosshair(device, icons, state, w, h);
//   drawDestinationMarker(device, marker, state);                     // destination_marker.h

// The red and/or yellow flash over the whole back buffer, as updateFlashes decided.
void drawFlashes(GlDevice& device, HudIcons& icons, const HudFlashState& flashes);

// Live mode with the HUD-hidden latch clear: the composed lines, joined with an empty line
// between two lines, in white with font 0 at (10, 10) over the translucent panel.
void drawHudBlock(GlDevice& device, HudIcons& icons, TextFont& font0, const HudText& text,
                  const SimState& state);

// With the crosshair shown (the latch, flipped by the replay viewer's control): a 128 x 128 panel and the dimmed bullseye centred on
// (referenceWidthPx / 2, referenceHeightPx / 2): the back-buffer size in full-screen mode, the
// desktop's usable size in windowed mode.
void drawCrosshair(GlDevice& device, HudIcons& icons, const SimState& state, int referenceWidthPx,
                   int referenceHeightPx);
