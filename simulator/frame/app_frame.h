// AppFrame: the simulator's application frame on SDL2 and OpenGL 3.3 core: window and context,
// the device lifecycle hooks, the main loop with its stoppable clock and pause count, input.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "controls.h"
#include "frame_timer.h"
#include "gl_device.h"
#include "image.h"

struct SDL_Window;
union SDL_Event;

// Result codes (negative = failure) that the frame and its hooks return.
namespace FrameResult {
constexpr int kOk = 0;
constexpr int kFail = static_cast<int>(0x80004005u);                  // generic failure
constexpr int kNoOpenGl = static_cast<int>(0x82000001u);              // no window or GL context
constexpr int kNoCompatibleDevices = static_cast<int>(0x82000003u);   // no usable GL 3.3 core
constexpr int kNonZeroRefCount = static_cast<int>(0x8200000Au);
constexpr int kMediaNotFound = static_cast<int>(0x8200000Bu);         // a hook may return it
constexpr int kResetFailed = static_cast<int>(0x8200000Cu);
constexpr int kNullReference = static_cast<int>(0x8200000Du);
constexpr int kFileNotFound = static_cast<int>(0x80070002u);
constexpr int kOutOfMemory = static_cast<int>(0x8007000Eu);
constexpr int kOutOfVideoMemory = static_cast<int>(0x8876017Cu);
}  // namespace FrameResult

// The fixed message of a result code (without the fatal suffix).
const char* frameErrorText(int code);

enum class ErrorKind { Warning = 0, Fatal = 1 };

struct AppFrameOptions {
    bool windowed = false;  // false: full screen at the desktop's size
    int width = 0;          // back-buffer size in pixels; 0 = the desktop's size
    int height = 0;
    bool headless = false;  // hidden window (or SDL's offscreen driver), no message boxes
    double fixedDtS = 0;    // > 0: every frame's elapsed time; 0: the clock's
    std::string title = "Celestrix";
    FrameTimer::Clock clock;  // seconds; empty = the steady system clock (tests inject their own)
};

// Hook order: createScene once -> onDeviceCreated -> onDeviceReset -> { advanceFrame ->
// renderFrame } per idle pass -> on a resize: onDeviceLost -> back buffer resized ->
// onDeviceReset -> ... -> at the end onDeviceLost -> onDeviceDestroyed -> destroyScene.
// The GL context and device() exist from before createScene until after destroyScene, so
// createScene may draw the launch screen (presentLaunchScreen) with its own resources.
// Hooks return a result code; a negative one from createScene, onDeviceCreated or onDeviceReset
// makes create() fail, and from advanceFrame or renderFrame closes the window.
class AppFrame {
public:
    // Touches no SDL or GL; pauses once, so a new frame is inactive until create() succeeds.
    explicit AppFrame(AppFrameOptions options = {});
    virtual ~AppFrame();
    AppFrame(const AppFrame&) = delete;
    AppFrame& operator=(const AppFrame&) = delete;

    // SDL, window, GL 3.3 core context, device, timer, then createScene, onDeviceCreated,
    // onDeviceReset, and the constructor's pause is released. A failure is reported with
    // showErrorMessage (fatal) and returned; everything made so far is released again.
    int create();
    // The main loop until the window closes; returns 0.
    int run();

    // One pause request (true) or release (false).
    void setPaused(bool pause);
    bool active() const { return pauses_.active(); }
    int pauseCount() const { return pauses_.count(); }
    // The frame closes its window at the next pass of the loop (hooks run as for a window close).
    void requestClose() { closeRequested_ = true; }
    bool closing() const { return closeRequested_; }

    // Kind Fatal appends "\n\nThe program will now exit." and closes the window. After the first
    // fatal message later calls show nothing. Returns code.
    int showErrorMessage(int code, ErrorKind kind);

    // Valid between create() and the close of the window.
    GlDevice* device() { return device_.get(); }
    int backBufferWidth() const;
    int backBufferHeight() const;
    SDL_Window* window() { return window_; }
    const AppFrameOptions& options() const { return options_; }

    // The last presented frame (what the window shows). False before the first present.
    bool captureFrontBuffer(Image& image);

    // Simulation time: set before each advanceFrame; time stands still while paused.
    double appTimeS() const { return timeS_; }
    float elapsedS() const { return elapsedS_; }
    FrameTimer& timer() { return timer_; }
    bool frameMoving() const { return frameMoving_; }
    // Frame moving off freezes time; a single step runs one advanceFrame anyway.
    void setFrameMoving(bool moving);
    void requestSingleStep() { singleStep_ = true; }
    long long presentedFrames() const { return presentedFrames_; }

    // The keyboard as DirectInput key codes: fills state.keys (cleared first) from SDL's key
    // state. False when no window has the keyboard focus (the state is then all up). Override to
    // feed keys from elsewhere (scripted input).
    virtual bool readKeyboard(KeyState& state);

    // Whether the window has the keyboard focus (keys and game controllers count only then).
    bool hasKeyboardFocus() const;

    // The mouse pointer in back-buffer pixels. False when the pointer is not over the window.
    bool cursorPosition(int& xPx, int& yPx) const;

    // Resizes the window (and the back buffer) as a user would; runs the reset hooks.
    void setWindowSize(int widthPx, int heightPx);

protected:
    virtual int createScene() { return 0; }
    virtual int onDeviceCreated() { return 0; }
    virtual int onDeviceReset() { return 0; }
    virtual int advanceFrame(double appTimeS, float elapsedS) {
        (void)appTimeS;
        (void)elapsedS;
        return 0;
    }
    virtual int renderFrame() { return 0; }
    virtual int onDeviceLost() { return 0; }
    virtual int onDeviceDestroyed() { return 0; }
    virtual int destroyScene() { return 0; }

    // An accelerator key went down (every key-down, auto-repeat included). After this hook the
    // frame itself closes the window for kCmdExit (40006).
    virtual void onCommand(int commandId) { (void)commandId; }
    // Left button down at back-buffer pixel (x, y).
    virtual void onLeftClick(int xPx, int yPx) {
        (void)xPx;
        (void)yPx;
    }
    // Keyboard focus gained or lost. The frame's own behaviour: a focus loss requests one pause
    // and the next gain releases it (never more releases than requests).
    virtual void onFocusChange(bool gained);
    // Draws the launch screen into the back buffer; called by presentLaunchScreen() and while
    // launching() when the window must be repainted.
    virtual void paintLaunchScreen() {}
    // Called about every 100 ms while the loop waits paused, so a scripted input source can
    // still deliver events. Default: nothing.
    virtual void idleWhilePaused() {}
    // A game controller was plugged in or out or a button of one went down (the frame may be
    // paused: the hook can read the controllers then). Default: nothing.
    virtual void onControllerInput() {}

    // Draws paintLaunchScreen() and presents it at once; launching() is true until
    // setLaunching(false).
    void presentLaunchScreen();
    // Draws and presents one frame now, also while paused, so that a message that comes with a
    // pause (after input between two frames) is on screen.
    void redrawFrame();
    bool launching() const { return launching_; }
    void setLaunching(bool on) { launching_ = on; }

private:
    int createWindowAndContext();
    int startDevice();
    void releaseDevice();
    void closeWindow();
    void destroyWindow();
    int stepAndPresent();
    void present();
    void handleEvent(const SDL_Event& event);
    void handleKeyDown(const SDL_Event& event);
    void checkWindowResize();
    int resetDevice(int widthPx, int heightPx);

    AppFrameOptions options_;
    FrameTimer timer_;
    PauseCount pauses_;
    SDL_Window* window_ = nullptr;
    void* glContext_ = nullptr;
    std::unique_ptr<GlDevice> device_;
    bool sdlInitialised_ = false;
    bool sceneCreated_ = false;
    bool deviceObjectsCreated_ = false;
    bool deviceObjectsRestored_ = false;
    bool frameMoving_ = true;
    bool singleStep_ = false;
    bool closeRequested_ = false;
    bool windowClosed_ = false;
    bool minimized_ = false;
    bool focusPauseHeld_ = false;
    bool launching_ = false;
    bool haveFrame_ = false;
    bool fatalShown_ = false;
    double timeS_ = 0;
    float elapsedS_ = 0;
    long long presentedFrames_ = 0;
};

// Creates a hidden window with an OpenGL 3.3 core context and returns its version as
// (major << 16) | (minor << 8); 0 when no such context can be made.
int probeOpenGlVersion();
