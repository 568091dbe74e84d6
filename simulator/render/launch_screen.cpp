// Launch screen drawing: the picture as one screen-space quad cut at the right and bottom, the
// text through a TextFont of the default bold face.
#include "launch_screen.h"

#include "bmp_file.h"

namespace {
constexpr uint32_t kBackgroundArgb = 0xFFC0C0C0;  // light grey window background
constexpr uint32_t kTextArgb = 0xFF444444;        // dark grey (68, 68, 68)
}  // namespace

LaunchScreen::LaunchScreen(bool liveMode) : liveMode_(liveMode), font_("Sans", 10, kFontBold) {}

std::string LaunchScreen::launchText(bool liveMode) {
    std::string text = liveMode ? "Celestrix is launching in live mode ... "
                                : "Celestrix is launching in replay mode ... ";
    text += "Please wait.\n\nPress F1 to toggle keyboard help.\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n";
    return text;
}

bool LaunchScreen::create(GlDevice& device, const std::string& picturePath) {
    Image image;
    if (readBmp(picturePath, image)) picture_.create(image, true);
    fontReady_ = font_.onDeviceCreated(&device) == 0 && font_.onDeviceReset() == 0;
    return fontReady_;
}

void LaunchScreen::draw(GlDevice& device, int screenWidthPx, int screenHeightPx) {
    const RenderState saved = device.state();
    device.clear(true, kBackgroundArgb, true);
    const float w = static_cast<float>(screenWidthPx), h = static_cast<float>(screenHeightPx);
    if (picture_.valid()) {
        RenderState s = saved;
        s.texture = &picture_;
        s.colorOp = TextureOp::SelectTexture;
        s.alphaOp = TextureOp::SelectTexture;
        s.minFilter = s.magFilter = TextureFilter::Linear;
        s.mipFilter = TextureFilter::Linear;
        s.address = TextureAddress::Clamp;
        s.blend = false;
        s.alphaTest = false;
        s.depthTest = false;
        s.cull = CullMode::None;
        device.setState(s);
        // The picture scaled to W x H, copied at (0.01 W, 0.05 H) with width 0.98 W and height H:
        // its right 2 % and whatever falls below the window are cut off.
        const float x0 = static_cast<float>(static_cast<int>(0.01 * screenWidthPx));
        const float y0 = static_cast<float>(static_cast<int>(0.05 * screenHeightPx));
        const float cw = static_cast<float>(static_cast<int>(0.98 * screenWidthPx));
        const float uRight = cw / w;
        const VertexScreen quad[4] = {
            {x0 - 0.5f, y0 - 0.5f, 0, 1, 0xFFFFFFFF, 0, 0},
            {x0 + cw - 0.5f, y0 - 0.5f, 0, 1, 0xFFFFFFFF, uRight, 0},
            {x0 - 0.5f, y0 + h - 0.5f, 0, 1, 0xFFFFFFFF, 0, 1},
            {x0 + cw - 0.5f, y0 + h - 0.5f, 0, 1, 0xFFFFFFFF, uRight, 1},
        };
        device.drawUp(PrimitiveType::TriangleStrip, VertexFormat::Screen, quad, 4);
        device.setState(saved);
    }
    if (fontReady_) {
        const float tx = static_cast<float>(static_cast<int>(0.05 * screenWidthPx));
        const float ty = static_cast<float>(static_cast<int>(0.1 * screenHeightPx));
        font_.drawText(tx, ty, kTextArgb, launchText(liveMode_).c_str(), 0);
    }
    device.setState(saved);
}

void LaunchScreen::release() {
    font_.onDeviceLost();
    font_.onDeviceDestroyed();
    fontReady_ = false;
    picture_.release();
}
