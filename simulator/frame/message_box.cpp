// Messages to standard error and, where a display exists, to an SDL message box.
// Boxes are skipped without a display: under the offscreen driver a box would never return.
#include "message_box.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
bool gBoxesEnabled = true;

// Drivers without a display: a box would fail or, worse, never show and never return.
bool haveDisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0))
        return false;
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}
}  // namespace

void setMessageBoxesEnabled(bool enabled) { gBoxesEnabled = enabled; }

bool messageBoxesEnabled() {
    return gBoxesEnabled && std::getenv("CELESTRIX_NO_MESSAGE_BOXES") == nullptr;
}

void showMessageBox(const std::string& caption, const std::string& text, MessageIcon icon) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    if (!messageBoxesEnabled() || !haveDisplay()) return;
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    if (icon == MessageIcon::Warning) flags = SDL_MESSAGEBOX_WARNING;
    if (icon == MessageIcon::Error) flags = SDL_MESSAGEBOX_ERROR;
    SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), nullptr);
}
