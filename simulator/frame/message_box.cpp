// Messages to standard error and, where a display exists, to an SDL message box.
// Boxes are skipped without a display: under the offscreen driver a box would never return.
#include "message_box.h"

#include <SDL.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

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

pid_t gBoxParent = 0;

// SDL shows an X11 box from a child process. That child, and anything it starts, dies with the
// simulator: a box left behind by a killed run would hold its files open and confuse the user.
void dieWithParent() {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != gBoxParent) _exit(1);  // the parent died before the line above
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
    static std::once_flag registered;
    std::call_once(registered, [] {
        gBoxParent = getpid();
        pthread_atfork(nullptr, nullptr, dieWithParent);
    });
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    if (icon == MessageIcon::Warning) flags = SDL_MESSAGEBOX_WARNING;
    if (icon == MessageIcon::Error) flags = SDL_MESSAGEBOX_ERROR;
    SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), nullptr);
}
