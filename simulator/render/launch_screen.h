// The launch screen shown while the scene loads: the shuttle picture, scaled to the screen and
// placed slightly right and down, with the launching text in dark grey.
#pragma once

#include <string>

#include "gl_device.h"
#include "text_font.h"

class LaunchScreen {
public:
    explicit LaunchScreen(bool liveMode);

    // "Celestrix is launching in live mode ... Please wait..." (or replay mode).
    static std::string launchText(bool liveMode);

    // Loads the picture (a path relative to the current directory) and the text font. A missing
    // picture is not an error: the screen then shows the text alone. False when the font fails.
    bool create(GlDevice& device, const std::string& picturePath = "Media/Misc/shuttle_start.bmp");
    bool hasPicture() const { return picture_.valid(); }

    // Draws into the device's back buffer for a screen of W x H pixels; the caller presents.
    void draw(GlDevice& device, int screenWidthPx, int screenHeightPx);

    void release();

private:
    bool liveMode_;
    GlTexture picture_;
    TextFont font_;
    bool fontReady_ = false;
};
