// AppFrame: creation of the window, context and device, the main loop, resets and shutdown.
// Everything runs on the thread that calls create() and run(); SDL events drive the loop.
#include "app_frame.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdlib>

#include "key_map.h"
#include "message_box.h"
#include "flight_plan_keys.h"
#include "navigation_keys.h"

const char* frameErrorText(int code) {
    switch (static_cast<unsigned>(code)) {
        case 0x82000001u:
            return "Could not initialize OpenGL. You may\nwant to check that the latest version of\n"
                   "OpenGL is correctly installed on your\nsystem.  Also make sure that this program\n"
                   "was compiled with header files that match\nthe installed OpenGL libraries.";
        case 0x82000003u: return "Could not find any compatible OpenGL\ndevices.";
        case 0x8200000Au:
            return "An OpenGL object has a non-zero reference\ncount (meaning things were not properly\n"
                   "cleaned up).";
        case 0x8200000Bu:
        case 0x80070002u: return "Could not load required media.";
        case 0x8200000Cu: return "Could not reset the OpenGL device.";
        case 0x8200000Du:
            return "Warning: Nothing will be rendered.\nThe software rendering device was selected, but "
                   "your\ncomputer only has a reduced-functionality software device\ninstalled.  "
                   "Install Mesa's llvmpipe driver to get the full\nsoftware device.\n";
        case 0x8007000Eu: return "Not enough memory.";
        case 0x8876017Cu: return "Not enough video memory.";
        default: return "Generic application error. Enable\ndebug output for detailed information.";
    }
}

AppFrame::AppFrame(AppFrameOptions options)
    : options_(std::move(options)), timer_(options_.clock) {
    // A new frame is inactive until create() releases this pause.
    pauses_.request(timer_, frameMoving_);
}

AppFrame::~AppFrame() {
    // Hooks cannot run here (the derived object is gone); run() or a failed create() has normally
    // closed the window already. Release what is left without them.
    destroyWindow();
}

int AppFrame::backBufferWidth() const { return device_ ? device_->backBufferWidth() : 0; }
int AppFrame::backBufferHeight() const { return device_ ? device_->backBufferHeight() : 0; }

int AppFrame::showErrorMessage(int code, ErrorKind kind) {
    if (fatalShown_) return code;
    std::string text = frameErrorText(code);
    if (kind == ErrorKind::Fatal) {
        fatalShown_ = true;
        text += "\n\nThe program will now exit.";
        showMessageBox(options_.title, text, MessageIcon::Error);
        requestClose();
    } else {
        showMessageBox(options_.title, text, MessageIcon::Warning);
    }
    return code;
}

int AppFrame::createWindowAndContext() {
    if (options_.headless) {
        setMessageBoxesEnabled(false);
        // No display is needed: SDL's offscreen driver renders through EGL pbuffers.
        if (!std::getenv("SDL_VIDEODRIVER")) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return FrameResult::kNoOpenGl;
    sdlInitialised_ = true;

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);  // depth lives in the device's own back buffer

    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
        desktop.w = 1024;
        desktop.h = 768;
    }
    const bool fullScreen = !options_.windowed && !options_.headless;
    const int width = options_.width > 0 ? options_.width : desktop.w;
    const int height = options_.height > 0 ? options_.height : desktop.h;
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI;
    flags |= options_.headless ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN;
    flags |= fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_RESIZABLE;
    window_ = SDL_CreateWindow(options_.title.c_str(), SDL_WINDOWPOS_UNDEFINED,
                               SDL_WINDOWPOS_UNDEFINED, width, height, flags);
    if (!window_) return FrameResult::kNoOpenGl;
    SDL_SetWindowMinimumSize(window_, 100, 100);
    glContext_ = SDL_GL_CreateContext(window_);
    if (!glContext_) return FrameResult::kNoCompatibleDevices;
    SDL_GL_MakeCurrent(window_, glContext_);
    SDL_GL_SetSwapInterval(0);  // present immediately, not synchronised with the display

    device_ = std::make_unique<GlDevice>();
    if (!device_->init()) {
        SDL_Log("%s", device_->errorText());
        return FrameResult::kNoCompatibleDevices;
    }
    // Full screen keeps the requested back-buffer size (scaled on present); a window's back
    // buffer follows its client size.
    int bbWidth = width, bbHeight = height;
    if (!fullScreen) SDL_GetWindowSize(window_, &bbWidth, &bbHeight);
    if (!device_->resizeBackBuffer(bbWidth, bbHeight)) return FrameResult::kOutOfVideoMemory;
    device_->clear(true, 0xFF000000u, true);
    SDL_ShowCursor(SDL_ENABLE);
    if (fullScreen) SDL_SetWindowGrab(window_, SDL_TRUE);  // cursor confined while full screen
    return FrameResult::kOk;
}

int AppFrame::create() {
    int result = createWindowAndContext();
    if (result < 0) {
        showErrorMessage(result, ErrorKind::Fatal);
        destroyWindow();
        return result;
    }
    timer_.command(kTimerReset);
    launching_ = true;
    result = createScene();
    if (result < 0) {
        launching_ = false;
        showErrorMessage(result, ErrorKind::Fatal);
        destroyScene();
        destroyWindow();
        return result;
    }
    sceneCreated_ = true;
    result = startDevice();
    launching_ = false;
    if (result < 0) {
        showErrorMessage(result, ErrorKind::Fatal);
        closeWindow();
        return result;
    }
    pauses_.release(timer_, frameMoving_);
    return FrameResult::kOk;
}

int AppFrame::startDevice() {
    int result = onDeviceCreated();
    if (result < 0) {
        onDeviceDestroyed();
        return result;
    }
    deviceObjectsCreated_ = true;
    device_->bindBackBuffer();
    result = onDeviceReset();
    if (result < 0) {
        onDeviceLost();
        releaseDevice();
        return result;
    }
    deviceObjectsRestored_ = true;
    return FrameResult::kOk;
}

void AppFrame::releaseDevice() {
    if (deviceObjectsRestored_) {
        deviceObjectsRestored_ = false;
        onDeviceLost();
    }
    if (deviceObjectsCreated_) {
        deviceObjectsCreated_ = false;
        onDeviceDestroyed();
    }
}

void AppFrame::closeWindow() {
    if (windowClosed_) return;
    releaseDevice();
    if (sceneCreated_) {
        sceneCreated_ = false;
        destroyScene();
    }
    destroyWindow();
    windowClosed_ = true;
}

void AppFrame::destroyWindow() {
    if (glContext_ && window_) SDL_GL_MakeCurrent(window_, glContext_);
    device_.reset();
    if (glContext_) SDL_GL_DeleteContext(glContext_);
    glContext_ = nullptr;
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
    if (sdlInitialised_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    sdlInitialised_ = false;
}

void AppFrame::setPaused(bool pause) {
    if (pause) pauses_.request(timer_, frameMoving_);
    else pauses_.release(timer_, frameMoving_);
}

void AppFrame::setFrameMoving(bool moving) {
    if (moving == frameMoving_) return;
    frameMoving_ = moving;
    if (!active()) return;
    timer_.command(moving ? kTimerStart : kTimerStop);
}

void AppFrame::onFocusChange(bool gained) {
    if (gained) {
        if (focusPauseHeld_ && !launching_) {
            focusPauseHeld_ = false;
            setPaused(false);
        }
    } else if (!focusPauseHeld_) {
        focusPauseHeld_ = true;
        setPaused(true);
    }
}

int AppFrame::run() {
    while (!windowClosed_) {
        if (closeRequested_) {
            closeWindow();
            break;
        }
        SDL_Event event;
        if (active()) {
            if (SDL_PollEvent(&event)) {
                handleEvent(event);
                continue;
            }
            if (stepAndPresent() < 0) closeWindow();
        } else if (SDL_WaitEventTimeout(&event, 100)) {
            handleEvent(event);
        } else {
            idleWhilePaused();
        }
    }
    return 0;
}

int AppFrame::stepAndPresent() {
    double appTimeS = timer_.command(kTimerAppTime);
    double elapsedS = timer_.command(kTimerElapsedTime);
    if (options_.fixedDtS > 0) {
        elapsedS = options_.fixedDtS;
        appTimeS = timeS_ + options_.fixedDtS;
    }
    if (elapsedS == 0.0 && frameMoving_) return FrameResult::kOk;
    if (frameMoving_ || singleStep_) {
        timeS_ = appTimeS;
        elapsedS_ = static_cast<float>(elapsedS);
        const int result = advanceFrame(timeS_, elapsedS_);
        if (result < 0) return result;
        singleStep_ = false;
    }
    device_->bindBackBuffer();
    const int result = renderFrame();
    if (result < 0) return result;
    present();
    return FrameResult::kOk;
}

void AppFrame::present() {
    if (!device_) return;
    if (options_.headless) {
        glFlush();
    } else {
        int drawableW = 0, drawableH = 0;
        SDL_GL_GetDrawableSize(window_, &drawableW, &drawableH);
        device_->presentTo(drawableW, drawableH);
        SDL_GL_SwapWindow(window_);
    }
    haveFrame_ = true;
    ++presentedFrames_;
}

void AppFrame::presentLaunchScreen() {
    if (!device_) return;
    device_->bindBackBuffer();
    paintLaunchScreen();
    present();
}

bool AppFrame::cursorPosition(int& xPx, int& yPx) const {
    if (!window_ || !device_ || SDL_GetMouseFocus() != window_) return false;
    int x = 0, y = 0, windowW = 0, windowH = 0;
    SDL_GetMouseState(&x, &y);
    SDL_GetWindowSize(window_, &windowW, &windowH);
    if (windowW > 0 && windowH > 0) {
        x = static_cast<int>(static_cast<long long>(x) * device_->backBufferWidth() / windowW);
        y = static_cast<int>(static_cast<long long>(y) * device_->backBufferHeight() / windowH);
    }
    xPx = x;
    yPx = y;
    return true;
}

void AppFrame::redrawFrame() {
    if (!device_ || !deviceObjectsRestored_ || launching_) return;
    device_->bindBackBuffer();
    if (renderFrame() >= 0) present();
}

bool AppFrame::captureFrontBuffer(Image& image) {
    if (!device_ || !haveFrame_) return false;
    return device_->readBackBuffer(image);
}

bool AppFrame::readKeyboard(KeyState& state) {
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    if (!window_ || SDL_GetKeyboardFocus() != window_) {
        state.keys.fill(0);
        return false;
    }
    fillKeyState(keys, count, state);
    return true;
}

bool AppFrame::hasKeyboardFocus() const { return window_ && SDL_GetKeyboardFocus() == window_; }

void AppFrame::setWindowSize(int widthPx, int heightPx) {
    if (!window_) return;
    SDL_SetWindowSize(window_, widthPx, heightPx);
    checkWindowResize();
}

void AppFrame::checkWindowResize() {
    if (!window_ || !device_) return;
    if (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) return;  // fixed back buffer
    int width = 0, height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    if (width <= 0 || height <= 0) return;
    if (width == device_->backBufferWidth() && height == device_->backBufferHeight()) return;
    setPaused(true);
    const int result = resetDevice(width, height);
    if (result < 0) {
        showErrorMessage(result == FrameResult::kOutOfVideoMemory ? result
                                                                  : FrameResult::kResetFailed,
                         ErrorKind::Fatal);
    }
    setPaused(false);
}

int AppFrame::resetDevice(int widthPx, int heightPx) {
    if (deviceObjectsRestored_) {
        deviceObjectsRestored_ = false;
        onDeviceLost();
    }
    if (!device_->resizeBackBuffer(widthPx, heightPx)) return FrameResult::kOutOfVideoMemory;
    device_->clear(true, 0xFF000000u, true);
    haveFrame_ = false;
    const int result = onDeviceReset();
    if (result < 0) {
        onDeviceLost();
        return result;
    }
    deviceObjectsRestored_ = true;
    if (!frameMoving_) {
        // Time is frozen: draw one frame at the new size anyway.
        singleStep_ = true;
        timer_.command(kTimerStart);
        timer_.command(kTimerStop);
    }
    return FrameResult::kOk;
}

void AppFrame::handleKeyDown(const SDL_Event& event) {
    int command = acceleratorCommand(event.key.keysym.scancode);
    if (command == 0 && !event.key.repeat)
        command = navigationKeyCommand(event.key.keysym.scancode, (event.key.keysym.mod & KMOD_SHIFT) != 0);
    if (command == 0)
        command = flightPlanKeyCommand(event.key.keysym.scancode, (event.key.keysym.mod & KMOD_SHIFT) != 0,
                                       event.key.repeat != 0);
    if (command == 0) return;
    onCommand(command);
    if (command == kCmdExit) requestClose();
}

void AppFrame::handleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT: requestClose(); break;
        case SDL_KEYDOWN: handleKeyDown(event); break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED: onControllerInput(); break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_LEFT && window_ && device_) {
                int windowW = 0, windowH = 0;
                SDL_GetWindowSize(window_, &windowW, &windowH);
                int x = event.button.x, y = event.button.y;
                if (windowW > 0 && windowH > 0) {
                    x = static_cast<int>(static_cast<long long>(x) * device_->backBufferWidth() / windowW);
                    y = static_cast<int>(static_cast<long long>(y) * device_->backBufferHeight() / windowH);
                }
                onLeftClick(x, y);
            }
            break;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_CLOSE: requestClose(); break;
                case SDL_WINDOWEVENT_FOCUS_GAINED: onFocusChange(true); break;
                case SDL_WINDOWEVENT_FOCUS_LOST: onFocusChange(false); break;
                case SDL_WINDOWEVENT_MINIMIZED:
                    if (!minimized_) {
                        minimized_ = true;
                        if (window_) SDL_SetWindowGrab(window_, SDL_FALSE);
                        setPaused(true);
                    }
                    break;
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_MAXIMIZED:
                    if (minimized_) {
                        minimized_ = false;
                        if (window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN))
                            SDL_SetWindowGrab(window_, SDL_TRUE);
                        setPaused(false);
                    }
                    checkWindowResize();
                    break;
                case SDL_WINDOWEVENT_SIZE_CHANGED: checkWindowResize(); break;
                case SDL_WINDOWEVENT_EXPOSED:
                    if (launching_) {
                        presentLaunchScreen();
                    } else if (!active()) {
                        // Paused: show the frozen scene again (with its pause message).
                        redrawFrame();
                    }
                    break;
                default: break;
            }
            break;
        default: break;
    }
}

int probeOpenGlVersion() {
    // Without any display the offscreen driver still answers (and SDL prints no Wayland warning).
    if (!std::getenv("SDL_VIDEODRIVER") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 0;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    int code = 0;
    SDL_Window* window = SDL_CreateWindow("probe", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window) {
        SDL_GLContext context = SDL_GL_CreateContext(window);
        if (context) {
            GLint major = 0, minor = 0;
            glGetIntegerv(GL_MAJOR_VERSION, &major);
            glGetIntegerv(GL_MINOR_VERSION, &minor);
            if (major > 0) code = (major << 16) | (minor << 8);
            SDL_GL_DeleteContext(context);
        }
        SDL_DestroyWindow(window);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return code;
}
