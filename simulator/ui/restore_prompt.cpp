// The restore prompt's hit squares, answer and drawing.
#include "restore_prompt.h"

#include "text_font.h"

namespace {

constexpr uint32_t kMessageRedArgb = 0xFFFF0000;
constexpr uint32_t kDimmedArgb = 0x96FFFFFF;
constexpr float kIconScale = 0.5f;  // the 64-pixel icons as 32-pixel buttons

void drawCentred(TextFont& font, int w, int h, int dy, const char* text) {
    int cx = 0, cy = 0;
    font.measureText(text, &cx, &cy);
    font.drawText(static_cast<float>(w / 2 - cx / 2), static_cast<float>(h / 2 - cy / 2 + dy), kMessageRedArgb,
                  text);
}

}  // namespace

RestoreAnswer restoreAnswerAt(int x, int y, int w, int h) {
    if (y < h / 2 + 25 || y > h / 2 + 57) return RestoreAnswer::None;
    if (x >= w / 2 - 50 && x <= w / 2 - 18) return RestoreAnswer::Yes;
    if (x >= w / 2 + 18 && x <= w / 2 + 50) return RestoreAnswer::No;
    return RestoreAnswer::None;
}

std::optional<std::string> RestorePrompt::loadIcons(const std::string& dataDirectory) {
    for (auto [icon, file] : {std::pair{&yes_, kRestoreYesIconFile}, std::pair{&no_, kRestoreNoIconFile}}) {
        const std::string path = dataDirectory + file;
        if (!icon->loadIcon(path)) return path;
        icon->setScaling(kIconScale, kIconScale);
    }
    return std::nullopt;
}

void RestorePrompt::releaseIcons() {
    yes_.release();
    no_.release();
}

RestoreAnswer RestorePrompt::click(int x, int y, int w, int h) const {
    if (answered()) return RestoreAnswer::None;
    return restoreAnswerAt(x, y, w, h);
}

void RestorePrompt::draw(GlDevice& device, TextFont& font, int w, int h, int cursorX, int cursorY) {
    drawCentred(font, w, h, 0, kRestoreQuestionText);
    const RestoreAnswer hovered = restoreAnswerAt(cursorX, cursorY, w, h);
    yes_.setTranslation(static_cast<float>(w) * 0.5f - 50, static_cast<float>(h) * 0.5f + 25);
    no_.setTranslation(static_cast<float>(w) * 0.5f + 18, static_cast<float>(h) * 0.5f + 25);
    yes_.setModulateColour(hovered == RestoreAnswer::Yes ? kIconOpaqueWhite : kDimmedArgb);
    no_.setModulateColour(hovered == RestoreAnswer::No ? kIconOpaqueWhite : kDimmedArgb);
    yes_.drawIcon(device);
    no_.drawIcon(device);
    if (outcome_ == RestoreOutcome::Restored) drawCentred(font, w, h, 100, kRestoreDoneText);
    if (outcome_ == RestoreOutcome::Failed) drawCentred(font, w, h, 100, kRestoreFailedText);
}
