// The keyboard help page on screen: the page and, below it, the keys this program adds (beside it,
// top-aligned, when the screen is too low for both), on an opaque backdrop so that neither the
// heads-up table nor a bright body shows through the text.
#pragma once

#include <string>

#include "gl_device.h"
#include "icon_sprite.h"
#include "screen_shapes.h"
#include "text_font.h"

inline constexpr uint32_t kHelpBackdropArgb = 0xFF101820;

struct HelpPageLayout {
    float pageX = 10, pageY = 0;            // top-left of the page's text
    float additionsX = 10, additionsY = 0;  // top-left of the added keys' text
    ScreenBox backdrop;                     // covers both
};

// Where the page (measured pageW x pageH) and the additions (addW x addH) go on a screen of
// widthPx x heightPx: the page hangs from the bottom edge as before; the additions follow below it
// when both fit the height, else they stand beside it.
HelpPageLayout layoutHelpPage(int pageW, int pageH, int addW, int addH, int widthPx, int heightPx);

class HelpPage {
public:
    // live selects the page; background is the heads-up display's translucent panel icon.
    void draw(GlDevice& device, IconSprite& background, TextFont& font, const std::string& page,
              const std::string& additions, bool live, int widthPx, int heightPx);

private:
    ScreenShapes backdrop_;
};
