// Keyboard help page layout and drawing.
#include "help_page.h"

#include <algorithm>

HelpPageLayout layoutHelpPage(int pageW, int pageH, int addW, int addH, int widthPx, int heightPx) {
    HelpPageLayout l;
    const int gap = 12;
    const bool below = pageH + gap + addH + 10 <= heightPx;
    const int total = below ? pageH + gap + addH : pageH;
    // Hanging from the bottom edge; on a screen too low for it, its first line stays on screen.
    const int top = std::max(0, heightPx - total - 10);
    l.pageY = static_cast<float>(top);
    if (below) {
        l.additionsX = 10;
        l.additionsY = static_cast<float>(top + pageH + gap);
    } else {
        l.additionsX = static_cast<float>(10 + pageW + 3 * gap);
        l.additionsY = static_cast<float>(top);
    }
    const float right = below ? 10.0f + static_cast<float>(std::max(pageW, addW))
                              : l.additionsX + static_cast<float>(addW);
    const float bottom = below ? l.additionsY + static_cast<float>(addH)
                               : static_cast<float>(top + std::max(pageH, addH));
    // A pixel past the screen's edges where it reaches them, so that no edge row is left uncovered.
    l.backdrop = {-1, l.pageY > 10 ? l.pageY - 10 : -1.0f, std::min(static_cast<float>(widthPx), right + 10),
                  std::min(static_cast<float>(heightPx) + 1, bottom + 10)};
    return l;
}

void HelpPage::draw(GlDevice& device, IconSprite& background, TextFont& font, const std::string& page,
                    const std::string& additions, bool live, int widthPx, int heightPx) {
    int cx = 0, cy = 0, ax = 0, ay = 0;
    font.measureText(page.c_str(), &cx, &cy);
    font.measureText(additions.c_str(), &ax, &ay);
    const HelpPageLayout l = layoutHelpPage(cx, cy, ax, ay, widthPx, heightPx);
    backdrop_.clear();
    backdrop_.rect(l.backdrop.x0, l.backdrop.y0, l.backdrop.x1, l.backdrop.y1, kHelpBackdropArgb);
    backdrop_.draw(device);
    // The translucent panel: the 32-texel icon scaled a little past the page's extent.
    background.setTranslation(0, l.pageY - (live ? 15.0f : 10.0f));
    background.setScaling(static_cast<float>(cx) * 0.0334375f,
                          static_cast<float>(cy) * (live ? 0.034375f : 0.0359375f));
    background.drawIcon(device);
    font.drawText(l.pageX, l.pageY, 0xFFFFFFFF, page.c_str());
    font.drawText(l.additionsX, l.additionsY, 0xFFFFFFFF, additions.c_str());
}
