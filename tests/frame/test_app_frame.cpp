// AppFrame run headless on SDL's offscreen driver: the hook order across a resize, the launch
// screen before the first frame, captures of the presented frame, frozen clocks, fixed steps,
// pause rules, focus pauses and fatal messages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <SDL.h>

#include "app_frame.h"
#include "message_box.h"

namespace {

uint32_t argbAt(const Image& img, int x, int y) {
    const size_t o = img.offset(x, y);
    return 0xFF000000u | uint32_t(img.rgba[o]) << 16 | uint32_t(img.rgba[o + 1]) << 8 | img.rgba[o + 2];
}

class RecordingFrame : public AppFrame {
public:
    using AppFrame::AppFrame;
    using AppFrame::onFocusChange;

    std::vector<std::string> calls;
    std::vector<double> times;
    std::vector<float> elapsed;
    int closeAfterFrames = 6;
    int resizeAtFrame = 3;
    int failCreateScene = 0;
    bool pushInputAtFirstFrame = false;
    Image launchCapture, frameCapture;
    bool launchCaptured = false, frameCaptured = false;

protected:
    int createScene() override {
        calls.push_back("createScene");
        if (failCreateScene) return failCreateScene;
        presentLaunchScreen();
        return 0;
    }
    void paintLaunchScreen() override { device()->clear(true, 0xFF445566, true); }
    int onDeviceCreated() override {
        calls.push_back("onDeviceCreated");
        launchCaptured = captureFrontBuffer(launchCapture);
        return 0;
    }
    int onDeviceReset() override {
        calls.push_back("onDeviceReset " + std::to_string(backBufferWidth()) + "x" +
                        std::to_string(backBufferHeight()));
        return 0;
    }
    int advanceFrame(double appTimeS, float elapsedS) override {
        calls.push_back("advanceFrame");
        times.push_back(appTimeS);
        elapsed.push_back(elapsedS);
        const int n = static_cast<int>(times.size());
        if (n == 1 && pushInputAtFirstFrame) pushInput();
        if (n == resizeAtFrame) setWindowSize(320, 200);
        if (n == resizeAtFrame + 2) frameCaptured = captureFrontBuffer(frameCapture);
        if (n == closeAfterFrames) requestClose();
        return 0;
    }
    void onCommand(int id) override { calls.push_back("command " + std::to_string(id)); }
    void onLeftClick(int x, int y) override {
        calls.push_back("click " + std::to_string(x) + "," + std::to_string(y));
    }
    static void pushKey(SDL_Scancode code, bool repeat) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.scancode = code;
        e.key.repeat = repeat;
        SDL_PushEvent(&e);
    }
    void pushInput() {
        pushKey(SDL_SCANCODE_F4, false);
        pushKey(SDL_SCANCODE_F4, true);  // auto-repeat delivers the command again
        pushKey(SDL_SCANCODE_W, false);  // a polled key: no command
        SDL_Event click{};
        click.type = SDL_MOUSEBUTTONDOWN;
        click.button.button = SDL_BUTTON_LEFT;
        click.button.windowID = SDL_GetWindowID(window());
        click.button.x = 10;
        click.button.y = 20;
        SDL_PushEvent(&click);
        click.button.button = SDL_BUTTON_RIGHT;
        SDL_PushEvent(&click);
        pushKey(SDL_SCANCODE_ESCAPE, false);
    }
    int renderFrame() override {
        calls.push_back("renderFrame");
        GlDevice& d = *device();
        d.clear(true, 0xFF0000FF, true);
        // A red square at the top-left 10 x 10 pixels.
        const VertexScreen v[4] = {{-0.5f, -0.5f, 0.5f, 1, 0xFFFF0000, 0, 0},
                                   {9.5f, -0.5f, 0.5f, 1, 0xFFFF0000, 0, 0},
                                   {-0.5f, 9.5f, 0.5f, 1, 0xFFFF0000, 0, 0},
                                   {9.5f, 9.5f, 0.5f, 1, 0xFFFF0000, 0, 0}};
        d.setCull(CullMode::None);
        d.drawUp(PrimitiveType::TriangleStrip, VertexFormat::Screen, v, 4);
        return 0;
    }
    int onDeviceLost() override {
        calls.push_back("onDeviceLost");
        return 0;
    }
    int onDeviceDestroyed() override {
        calls.push_back("onDeviceDestroyed");
        return 0;
    }
    int destroyScene() override {
        calls.push_back("destroyScene");
        return 0;
    }
};

AppFrameOptions headless(double fixedDtS = 0.05) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setMessageBoxesEnabled(false);
    AppFrameOptions o;
    o.windowed = true;
    o.headless = true;
    o.width = 256;
    o.height = 160;
    o.fixedDtS = fixedDtS;
    return o;
}

TEST(AppFrame, HookOrderAcrossAResizeAndCaptures) {
    RecordingFrame frame(headless());
    EXPECT_FALSE(frame.active());
    EXPECT_EQ(frame.pauseCount(), 1);
    const int created = frame.create();
    if (created == FrameResult::kNoOpenGl || created == FrameResult::kNoCompatibleDevices)
        GTEST_SKIP() << "no offscreen OpenGL here";
    ASSERT_EQ(created, 0);
    EXPECT_TRUE(frame.active());
    EXPECT_EQ(frame.run(), 0);

    const std::vector<std::string> expected = {
        "createScene", "onDeviceCreated", "onDeviceReset 256x160",
        "advanceFrame", "renderFrame", "advanceFrame", "renderFrame",
        "advanceFrame", "onDeviceLost", "onDeviceReset 320x200", "renderFrame",
        "advanceFrame", "renderFrame", "advanceFrame", "renderFrame",
        "advanceFrame", "renderFrame",
        "onDeviceLost", "onDeviceDestroyed", "destroyScene"};
    EXPECT_EQ(frame.calls, expected);

    // The launch screen was on screen before the device objects were made.
    ASSERT_TRUE(frame.launchCaptured);
    EXPECT_EQ(argbAt(frame.launchCapture, 100, 100), 0xFF445566u);
    // The capture shows the last presented frame at the new size.
    ASSERT_TRUE(frame.frameCaptured);
    EXPECT_EQ(frame.frameCapture.width, 320);
    EXPECT_EQ(frame.frameCapture.height, 200);
    EXPECT_EQ(argbAt(frame.frameCapture, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(argbAt(frame.frameCapture, 9, 9), 0xFFFF0000u);
    EXPECT_EQ(argbAt(frame.frameCapture, 10, 10), 0xFF0000FFu);
    EXPECT_EQ(argbAt(frame.frameCapture, 319, 199), 0xFF0000FFu);

    // Fixed steps: every elapsed time is the step, application time adds up.
    ASSERT_EQ(frame.times.size(), 6u);
    for (size_t i = 0; i < frame.times.size(); ++i) {
        EXPECT_FLOAT_EQ(frame.elapsed[i], 0.05f);
        EXPECT_NEAR(frame.times[i], 0.05 * double(i + 1), 1e-12);
    }
}

TEST(AppFrame, AcceleratorsClicksAndEscapeClosing) {
    RecordingFrame frame(headless());
    frame.pushInputAtFirstFrame = true;
    frame.resizeAtFrame = 100;
    frame.closeAfterFrames = 100;
    const int created = frame.create();
    if (created == FrameResult::kNoOpenGl || created == FrameResult::kNoCompatibleDevices)
        GTEST_SKIP() << "no offscreen OpenGL here";
    ASSERT_EQ(created, 0);
    frame.run();
    const std::vector<std::string> expected = {
        "createScene", "onDeviceCreated", "onDeviceReset 256x160", "advanceFrame", "renderFrame",
        "command 40036", "command 40036", "click 10,20", "command 40006",
        "onDeviceLost", "onDeviceDestroyed", "destroyScene"};
    EXPECT_EQ(frame.calls, expected);
}

TEST(AppFrame, FrozenClockNeitherAdvancesNorDraws) {
    int reads = 0;
    AppFrameOptions o = headless(0);
    // The clock stands still for the first 300 reads, then moves 10 ms per read.
    o.clock = [&reads] {
        ++reads;
        return reads <= 300 ? 5.0 : 5.0 + (reads - 300) * 0.01;
    };
    RecordingFrame frame(o);
    frame.closeAfterFrames = 3;
    frame.resizeAtFrame = 100;
    const int created = frame.create();
    if (created == FrameResult::kNoOpenGl || created == FrameResult::kNoCompatibleDevices)
        GTEST_SKIP() << "no offscreen OpenGL here";
    ASSERT_EQ(created, 0);
    frame.run();
    int advances = 0, renders = 0;
    for (const auto& c : frame.calls) {
        advances += c == "advanceFrame";
        renders += c == "renderFrame";
    }
    EXPECT_EQ(advances, 3);
    EXPECT_EQ(renders, 3);
    ASSERT_EQ(frame.elapsed.size(), 3u);
    for (float e : frame.elapsed) EXPECT_GT(e, 0.0f);
    EXPECT_GT(reads, 300);
}

TEST(AppFrame, FailingSceneCreationReportsOnceAndCleansUp) {
    RecordingFrame frame(headless());
    frame.failCreateScene = FrameResult::kMediaNotFound;
    testing::internal::CaptureStderr();
    const int created = frame.create();
    const std::string err = testing::internal::GetCapturedStderr();
    if (created == FrameResult::kNoOpenGl || created == FrameResult::kNoCompatibleDevices)
        GTEST_SKIP() << "no offscreen OpenGL here";
    EXPECT_EQ(created, FrameResult::kMediaNotFound);
    EXPECT_NE(err.find("Could not load required media.\n\nThe program will now exit."),
              std::string::npos);
    EXPECT_EQ(frame.calls, (std::vector<std::string>{"createScene", "destroyScene"}));
    EXPECT_FALSE(frame.active());
    // Only the first fatal message is shown.
    testing::internal::CaptureStderr();
    frame.showErrorMessage(FrameResult::kResetFailed, ErrorKind::Fatal);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(AppFrame, PausesAndFocusWithoutAWindow) {
    RecordingFrame frame(AppFrameOptions{});
    EXPECT_EQ(frame.pauseCount(), 1);  // the constructor's pause
    frame.setPaused(false);
    EXPECT_TRUE(frame.active());
    frame.setPaused(true);
    frame.setPaused(true);
    frame.setPaused(false);
    EXPECT_FALSE(frame.active());
    frame.setPaused(false);
    EXPECT_TRUE(frame.active());
    frame.setPaused(false);  // unmatched release: refused
    EXPECT_EQ(frame.pauseCount(), 0);

    // Focus: a loss pauses once however often it is reported; a gain releases only that pause.
    frame.onFocusChange(true);
    EXPECT_EQ(frame.pauseCount(), 0);
    frame.onFocusChange(false);
    frame.onFocusChange(false);
    EXPECT_EQ(frame.pauseCount(), 1);
    frame.setPaused(true);  // e.g. suspension
    frame.onFocusChange(true);
    EXPECT_EQ(frame.pauseCount(), 1);
    frame.setPaused(false);
    EXPECT_TRUE(frame.active());

    // Error texts name OpenGL and keep their shape.
    EXPECT_STREQ(frameErrorText(FrameResult::kNoCompatibleDevices),
                 "Could not find any compatible OpenGL\ndevices.");
    EXPECT_STREQ(frameErrorText(FrameResult::kFileNotFound), "Could not load required media.");
    EXPECT_STREQ(frameErrorText(FrameResult::kOutOfMemory), "Not enough memory.");
    EXPECT_STREQ(frameErrorText(-12345),
                 "Generic application error. Enable\ndebug output for detailed information.");
}

// The visible path (window, blit to the window's framebuffer, swap) where an X display exists,
// e.g. under xvfb-run.
TEST(AppFrame, VisibleWindowPresentsAndCapturesUnderX) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setMessageBoxesEnabled(false);
    AppFrameOptions o;
    o.windowed = true;
    o.width = 200;
    o.height = 150;
    o.fixedDtS = 0.01;
    RecordingFrame frame(o);
    frame.resizeAtFrame = 2;
    frame.closeAfterFrames = 5;
    const int created = frame.create();
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (created == FrameResult::kNoOpenGl || created == FrameResult::kNoCompatibleDevices)
        GTEST_SKIP() << "no OpenGL on this display";
    ASSERT_EQ(created, 0);
    frame.run();
    ASSERT_TRUE(frame.frameCaptured);
    EXPECT_EQ(frame.frameCapture.width, 320);
    EXPECT_EQ(argbAt(frame.frameCapture, 5, 5), 0xFFFF0000u);
    EXPECT_EQ(argbAt(frame.frameCapture, 100, 100), 0xFF0000FFu);
    EXPECT_EQ(frame.calls.back(), "destroyScene");
}

TEST(AppFrame, ProbeReportsAtLeastOpenGl33) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    const int code = probeOpenGlVersion();
    if (code == 0) GTEST_SKIP() << "no offscreen OpenGL here";
    EXPECT_GE(code, 0x30300);
    EXPECT_EQ(code & 0xFF, 0);
}

}  // namespace
