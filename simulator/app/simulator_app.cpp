// SimulatorApp: start-up fill, the device hooks, one frame step per idle pass, the overlay pass
// and the state saved on exit.
#include "simulator_app.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>

#include "default_restore.h"
#include "destination_marker.h"
#include "fatal_error.h"
#include "flight_plan_commands.h"
#include "flight_plan_panel.h"
#include "hud_display.h"
#include "hud_text.h"
#include "key_commands.h"
#include "navigation_banner.h"
#include "navigation_commands.h"
#include "overlay_text.h"
#include "scene.h"
#include "snapshot.h"
#include "sky_projection.h"
#include "startup.h"
#include "target_navigation.h"
#include "stop_signals.h"
#include "text_font.h"
#include "top_centre_lines.h"
#include "ui_scale.h"
#include "warp_indicator.h"

namespace {

constexpr uint32_t kMessageRedArgb = 0xFFFF0000;
constexpr int kWindowlessScreenWidth = 1024, kWindowlessScreenHeight = 768;

AppFrameOptions frameOptions(const CommandLine& cl) {
    AppFrameOptions o;
    o.windowed = cl.windowed;
    o.width = cl.width;
    o.height = cl.height;
    o.headless = cl.headless;
    o.fixedDtS = cl.fixedDtS;
    o.title = "Celestrix 1.0";
    return o;
}

}  // namespace

SimulatorApp::SimulatorApp(const CommandLine& commandLine, std::unique_ptr<SimulationSession> session)
    : AppFrame(frameOptions(commandLine)),
      commandLine_(commandLine),
      session_(std::move(session)),
      flightPlanner_(commandLine.fixedDtS > 0) {
    session_->measuresStepCost = commandLine.fixedDtS <= 0;
    // Three "Terminal" fonts: the heads-up text, centred messages, the keyboard help.
    if (rendering() && !commandLine.exportDir.empty())
        frameExport_ = std::make_unique<FrameExport>(commandLine.exportDir, commandLine.exportEvery);
    if (rendering()) {
        fonts_[0] = std::make_unique<TextFont>("Terminal", 8, kFontDepthTest);
        fonts_[1] = std::make_unique<TextFont>("Terminal", 14, kFontDepthTest);
        fonts_[2] = std::make_unique<TextFont>("Terminal", 8, kFontDepthTest);
        prediction_ = std::make_unique<PredictionLine>();
    }
    calendarLine_.load(state().dataDirectory);
}

SimulatorApp::~SimulatorApp() {
    session_->beforeStateSave();
    std::vector<FileToWrite> saved;
    if (std::optional<FileSetFailure> failed = saveStateOnExit(state(), &saved))
        fatalFileError(failed->path, failed->reason);
    session_->afterStateSave(saved);
    recording_.close();
    session_->afterRecordingClosed();
    // Everything else is saved by now: a trace that cannot be put in place ends the run with
    // its reason and a failure code rather than being dropped without a word.
    std::string reason;
    if (!session_->closeTrace(&reason)) fatalFileError(commandLine_.tracePath, reason);
}

// ---- window-less run -------------------------------------------------------------------------

int SimulatorApp::runWithoutWindow() {
    createScene();
    using Clock = std::chrono::steady_clock;
    Clock::time_point last = Clock::now();
    while (!scriptClose_ && !stopRequested()) {
        if (frameLimitReached()) break;
        if (noRenderPauseCount_ > 0) {
            // Paused (suspended or a terminal message): only input can go on, and here all input
            // is scripted. With none left the run is over, as if the user had left with Esc.
            if (!session_->hasPendingEvents()) break;
            session_->setPausedDelivery(true);
            applyScriptEventsForNextFrame();
            session_->setPausedDelivery(false);
            last = Clock::now();
            continue;
        }
        applyScriptEventsForNextFrame();
        if (scriptClose_ || noRenderPauseCount_ > 0) continue;
        Clock::time_point now = Clock::now();
        float elapsed = commandLine_.fixedDtS > 0
                            ? static_cast<float>(commandLine_.fixedDtS)
                            : std::chrono::duration<float>(now - last).count();
        last = now;
        pollGameControllers();
        KeyState& keys = state().keyState;
        bool keyboardOk = readKeyboard(keys);
        stepOnce(elapsed, keyboardOk);
    }
    return 0;
}

// ---- frame hooks -----------------------------------------------------------------------------

int SimulatorApp::createScene() {
    fillSceneState(state());
    session_->startExactState();
    if (rendering()) {
        scene_ = std::make_unique<Scene>();
        scene_->createScene(state());
        // The launch screen stays on screen while the device objects and media load; the first
        // rendered frame replaces it.
        launchScreen_ = std::make_unique<LaunchScreen>(state().isLive());
        launchScreen_->create(*device(), state().dataDirectory + "Media/Misc/shuttle_start.bmp");
        setLaunching(true);
        presentLaunchScreen();
        launchScreen_->release();
        launchScreen_.reset();
    }
    // A window-less run has no device reset: its controls are laid out once, without textures.
    if (!rendering()) {
        updateUiScale();
        buildGui(false);
    }
    // The keyboard is SDL's (or the script's); it exists from here on in live mode.
    state().keyboardAvailable = state().isLive();
    startGameControllers();
    setLaunching(false);
    return 0;
}

int SimulatorApp::onDeviceCreated() {
    updateUiScale();
    for (auto& font : fonts_) font->onDeviceCreated(device());
    if (std::optional<SceneError> error = scene_->onDeviceCreated(state())) {
        if (error->isFileError) fatalFileError(error->text, error->reason);
        std::fprintf(stderr, "corvane: %s\n", error->text.c_str());
        return FrameResult::kMediaNotFound;
    }
    marker_ = std::make_unique<DestinationMarker>();
    return 0;
}

int SimulatorApp::onDeviceReset() {
    if (std::optional<SceneError> error =
            scene_->onDeviceReset(*device(), state(), backBufferWidth(), backBufferHeight())) {
        if (error->isFileError) fatalFileError(error->text, error->reason);
        std::fprintf(stderr, "corvane: %s\n", error->text.c_str());
        return FrameResult::kResetFailed;
    }
    // A new back-buffer size may ask for another scale of texts and controls.
    updateUiScale();
    // The controls after the bodies and rings and before the heads-up icons; every reset starts
    // each button pair again with its first icon.
    buildGui(true);
    if (std::optional<std::string> missing = restorePrompt_.loadIcons(state().dataDirectory))
        fatalFileError(*missing);
    hudIcons_ = std::make_unique<HudIcons>();
    if (std::optional<std::string> missing =
            createHudIcons(*hudIcons_, state().dataDirectory, screenWidth(), screenHeight()))
        fatalFileError(*missing);
    for (auto& font : fonts_) font->onDeviceReset();
    return 0;
}

int SimulatorApp::onDeviceLost() {
    for (auto& font : fonts_) font->onDeviceLost();
    if (scene_) scene_->onDeviceLost();
    if (hudIcons_) hudIcons_->release();
    hudIcons_.reset();
    gui_.release();
    restorePrompt_.releaseIcons();
    return 0;
}

int SimulatorApp::onDeviceDestroyed() {
    for (auto& font : fonts_) font->onDeviceDestroyed();
    if (scene_) scene_->onDeviceDestroyed();
    if (marker_) marker_->release();
    marker_.reset();
    return 0;
}

int SimulatorApp::destroyScene() {
    for (auto& font : fonts_) font.reset();
    scene_.reset();
    state().keyboardAvailable = false;
    return 0;
}

int SimulatorApp::advanceFrame(double, float elapsedS) {
    if (frameLimitReached()) {
        requestClose();
        return 0;
    }
    applyScriptEventsForNextFrame();
    // A scripted Esc or F4 before this frame means it is not advanced.
    if (closing() || !active()) return 0;
    pollGameControllers();
    bool keyboardOk = readKeyboard(state().keyState);
    stepOnce(elapsedS, keyboardOk);
    if (frameLimitReached()) requestClose();
    return 0;
}

bool SimulatorApp::frameLimitReached() const {
    return commandLine_.frameLimit >= 0 && session_->advancedFrames() >= commandLine_.frameLimit;
}

void SimulatorApp::stepOnce(float elapsedS, bool keyboardReadOk) {
    SimState& s = state();
    if (keyboardReadOk) flightPlanner_.beforeFrame(s, elapsedS);
    if (std::optional<std::string> failed = session_->advance(elapsedS, keyboardReadOk, *this))
        fatalFileError(*failed);
    flightPlanner_.afterFrame(s, elapsedS, rendering());
    // The overlay pass's effects on the state happen on every frame, drawn or not.
    float frameStep = s.isReplay() && s.replay.cursor > 0
                          ? s.replay.frameTimesS[static_cast<size_t>(s.replay.cursor - 1)]
                          : elapsedS;
    updateFlashes(flashes_, s, frameStep);
    if (prediction_) prediction_->update(s, elapsedS, s.nav.target);
    ageNotice(s.notice, elapsedS);
    navFigures_ = computeNavigationFigures(s, s.nav.target, prediction_ ? &prediction_->path() : nullptr);
    driftGauge_.update(s, s.flags.driftGaugeShown != 0);
    clearOneFrameRequests(s);
    snapshotStoredByCommand_ = false;
    // Terminal messages freeze the frame after it is drawn: a surface approach and the end of a
    // replay. Only Esc is left to the user.
    if ((s.surfaceProximity || s.replay.finished) && !terminalPauseRequested_) {
        if (s.surfaceProximity) {
            s.flags.suspended = 0;
            s.flags.keyboardHelpShown = 0;
        }
        terminalPauseRequested_ = true;
        requestPause();
    }
}

void SimulatorApp::pauseWithMessage() {
    requestPause();
    // Input arrives between frames: draw the frame once more so its message is on screen.
    if (rendering()) redrawFrame();
}

void SimulatorApp::requestPause() {
    if (rendering())
        setPaused(true);
    else
        ++noRenderPauseCount_;
}

int SimulatorApp::renderFrame() {
    const long long frame = session_->advancedFrames() - 1;
    const bool exporting = frameExport_ && frameExport_->due(frame);
    const ExportOverlays kept = commandLine_.exportOverlays;
    scene_->render(*device(), state());
    if (exporting && kept == ExportOverlays::None) frameExport_->write(*device(), frame);
    if (exporting && kept == ExportOverlays::Hud) {
        // The picture leaves the controls out; the screen then gets the whole frame.
        drawOverlayLayers(false);
        frameExport_->write(*device(), frame);
        scene_->render(*device(), state());
    }
    drawOverlayLayers(true);
    if (exporting && kept == ExportOverlays::All) frameExport_->write(*device(), frame);
    return 0;
}

void SimulatorApp::drawOverlayLayers(bool withControls) {
    GlDevice& dev = *device();
    // Every overlay is laid out in layout pixels; the device scales the screen plane.
    dev.setScreenScale(uiScale_);
    controlBoxes_.clear();
    controlBoxes(gui_, state().flags.guiHidden != 0, controlBoxes_);
    // The recording and replay indicators in the bottom-right corner.
    const SimState& s = state();
    if (s.flags.recordingOn || s.isReplay()) {
        const std::string text = s.isReplay() ? replayIndicator(s.recordingTitle, s.replay.currentSequence,
                                                                static_cast<int>(s.replay.sequenceFirstFrame.size()))
                                              : std::string("Rec");
        int cx = 0, cy = 0;
        fonts_[1]->measureText(text.c_str(), &cx, &cy);
        const float w = static_cast<float>(screenWidth()), h = static_cast<float>(screenHeight());
        const float left = w - (s.isReplay() ? 2.1f : 3.0f) * static_cast<float>(cx / 2);
        controlBoxes_.push_back({left - 4, h - 7 * static_cast<float>(cy / 2) - 4, w, h});
    }
    // Body labels keep off the flight plan panel, which is drawn over them later.
    if (flightPlanPanelShown(s)) {
        float hudRight = 0, hudBottom = 0;
        hudPanelExtent(hudRight, hudBottom);
        controlBoxes_.push_back(flightPlanPanelBox(*fonts_[0], composeFlightPlanPanel(flightPlanner_, s), s, navFigures_,
                                                   screenHeight(), hudRight, hudBottom));
    }
    navigationOverlay_.draw(dev, s, navFigures_, hudText_, *fonts_[0], hudIcons_->background, screenWidth(),
                            screenHeight(), controlBoxes_);
    if (withControls) {
        int px = -1, py = -1;
        pointer(px, py);
        gui_.draw(dev, px, py, state().flags.guiHidden != 0);
    }
    drawOverlays();
    dev.setScreenScale(1);
}

void SimulatorApp::updateUiScale() {
    uiScale_ = chooseUiScale(commandLine_.uiScale, devicePixelWidth());
    for (auto& font : fonts_)
        if (font) font->setPixelRatio(uiScale_);
}

void SimulatorApp::buildGui(bool withTextures) {
    SimState& s = state();
    const std::string path = s.dataDirectory + (s.isLive() ? "guispecs.cfg" : "vcrspecs.cfg");
    GuiLoadResult loaded = gui_.load(path, s.dataDirectory, screenWidth(), withTextures,
                                     s.isLive() ? liveGuiBindings(s) : replayGuiBindings(s));
    if (!loaded.unreadableFile.empty()) fatalFileError(loaded.unreadableFile);
    if (!loaded.failedIcon.empty()) fatalError("File error", "Could not create GUI-component " + loaded.failedIcon);
}

int SimulatorApp::devicePixelWidth() const {
    if (rendering()) return backBufferWidth();
    return commandLine_.width > 0 ? commandLine_.width : kWindowlessScreenWidth;
}

int SimulatorApp::devicePixelHeight() const {
    if (rendering()) return backBufferHeight();
    return commandLine_.height > 0 ? commandLine_.height : kWindowlessScreenHeight;
}

int SimulatorApp::screenWidth() const { return devicePixelWidth() / uiScale_; }
int SimulatorApp::screenHeight() const { return devicePixelHeight() / uiScale_; }

void SimulatorApp::pointer(int& xPx, int& yPx) const {
    xPx = scriptPointerX_;
    yPx = scriptPointerY_;
    if (session_->usesScriptedKeys() || !rendering()) return;
    if (!cursorPosition(xPx, yPx)) {
        xPx = yPx = -1;
        return;
    }
    xPx /= uiScale_;
    yPx /= uiScale_;
}

void SimulatorApp::drawOverlays() {
    SimState& s = state();
    GlDevice& dev = *device();
    const int w = screenWidth(), h = screenHeight();
    TextFont& messageFont = *fonts_[1];
    auto measure = [](TextFont& font, const std::string& text) {
        int cx = 0, cy = 0;
        font.measureText(text.c_str(), &cx, &cy);
        return std::pair<int, int>(cx, cy);
    };
    auto centred = [&](const std::string& text) {
        auto [cx, cy] = measure(messageFont, text);
        messageFont.drawText(static_cast<float>(w / 2 - cx / 2), static_cast<float>(h / 2 - cy / 2),
                             kMessageRedArgb, text.c_str());
    };

    if (prediction_) prediction_->draw(dev, s);
    drawPlan();
    drawTopCentre();
    drawFlashes(dev, *hudIcons_, flashes_);
    // The help page hangs over the heads-up table's corner: the table waits while it shows.
    if (!s.flags.keyboardHelpShown) drawHudBlock(dev, *hudIcons_, *fonts_[0], hudText_, s);
    if (s.surfaceProximity) centred("You have come to close to the surface.\n\n          Press Esc to exit.");
    if (s.flags.keyboardHelpShown)
        helpPage_.draw(dev, hudIcons_->background, *fonts_[2], keyboardHelpPage(s.isLive()),
                       keyboardHelpAdditions(s.isLive()), s.isLive(), w, h);
    if (s.flags.restorePromptShown) {
        int px = -1, py = -1;
        pointer(px, py);
        restorePrompt_.draw(dev, messageFont, w, h, px, py);
    }
    if (crosshairShown(s.latches, s.flags)) drawCrosshair(dev, *hudIcons_, s, w, h);
    if (marker_) {
        if (std::optional<std::string> missing = marker_->draw(dev, s)) fatalFileError(*missing);
    }
    if (s.flags.suspended)
        centred(std::string(s.isLive() ? "Simulation suspended.\n\n" : "  Replay suspended.\n\n") +
                "Press F4 to continue.");
    if (s.flags.recordingOn) {
        auto [cx, cy] = measure(messageFont, "Rec");
        messageFont.drawText(static_cast<float>(w - 3 * (cx / 2)), static_cast<float>(h - 7 * (cy / 2)),
                             kMessageRedArgb, "Rec");
    }
    if (s.isReplay()) {
        std::string text = replayIndicator(s.recordingTitle, s.replay.currentSequence,
                                           static_cast<int>(s.replay.sequenceFirstFrame.size()));
        auto [cx, cy] = measure(messageFont, text);
        messageFont.drawText(static_cast<float>(w - 2.1f * static_cast<float>(cx / 2)),
                             static_cast<float>(h - 7 * (cy / 2)), kMessageRedArgb, text.c_str());
    }
    if (s.replay.finished) centred(" Replay finished.\n\nPress Esc to exit.");
}

void SimulatorApp::hudPanelExtent(float& rightPx, float& bottomPx) {
    // The heads-up panel's extent as drawHudBlock sizes it: the plan panel keeps clear of it.
    rightPx = bottomPx = 0;
    if (state().latches[kHudHidden] != 0) return;
    int cx = 0, cy = 0;
    fonts_[0]->measureText(joinHudLines(hudText_).c_str(), &cx, &cy);
    rightPx = static_cast<float>(cx) * kHudPanelScaleX * 32;
    bottomPx = static_cast<float>(cy) * kHudPanelScaleY * 32;
}

void SimulatorApp::drawPlan() {
    const SimState& s = state();
    float hudRight = 0, hudBottom = 0;
    hudPanelExtent(hudRight, hudBottom);
    // Snapshots of a scripted run show the path with the burns that the plan asked for.
    if (commandLine_.fixedDtS > 0) flightPlanner_.finishPreview();
    drawFlightPlan(*device(), hudIcons_->background, *fonts_[0], flightPlanner_, s, navFigures_, screenHeight(),
                   hudRight, hudBottom);
}

void SimulatorApp::drawTopCentre() {
    const SimState& s = state();
    std::vector<TopCentreLine> lines;
    lines.push_back({warpFactorText(s.warp), kWarpLineArgb, true});
    lines.push_back({calendarLine_.text(s.missionTimeS), kCalendarArgb, false});
    if (s.notice.shown()) lines.push_back({s.notice.text, kNoticeArgb, false});
    if (s.replay.finished) lines.push_back({session_->exactReplayVerdict(), kVerdictArgb, false});
    for (std::string& line : navigationBannerLines(navFigures_, bodyDisplayName(s, navFigures_.target)))
        lines.push_back({std::move(line), kBannerArgb, false});
    if (prediction_) lines.push_back({prediction_->horizonNotice(), kBannerArgb, false});
    if (driftGauge_.shown()) {
        const std::string gauge = driftGaugeText(driftGauge_.drift());
        const size_t split = gauge.find('\n');
        lines.push_back({gauge.substr(0, split), kGaugeArgb, false});
        lines.push_back({gauge.substr(split + 1), kGaugeArgb, false});
    }
    drawTopCentreLines(*fonts_[1], *fonts_[0], lines, screenWidth());
}

// ---- simulation step hooks -------------------------------------------------------------------

void SimulatorApp::recordStep(SimState& s, float hS) {
    if (std::optional<std::string> failed = recording_.run(s, hS)) fatalFileError(*failed);
    session_->noteRecordingStep(recording_.isOpen(), recording_.sequenceNumber());
}

void SimulatorApp::placeBodies(const SimState& s, float) {
    if (scene_) scene_->placeBodies(s);
}

void SimulatorApp::composeHud(const SimState& s) { ::composeHud(hudText_, s); }

void SimulatorApp::setLights(const SimState& s) {
    if (scene_) scene_->setLights(s);
}

void SimulatorApp::sortDrawOrder(const SimState& s) {
    if (scene_) scene_->sortDrawOrder(s);
}

void SimulatorApp::takeSnapshot(SimState& s) {
    // Storing a snapshot sets the request; the overlay pass of this frame clears it again.
    s.flags.snapshotRequest = 1;
    if (snapshotStoredByCommand_ || !rendering()) return;
    Image frame;
    if (captureFrontBuffer(frame)) storeSnapshot(frame);
}

void SimulatorApp::storeSnapshot(const Image& frame) {
    SnapshotResult result = ::takeSnapshot(state().dataDirectory, state().screenshotTitle, frame);
    if (!result.written) std::fprintf(stderr, "corvane: snapshot not stored: %s\n", result.error.c_str());
}

// ---- input -----------------------------------------------------------------------------------

void SimulatorApp::onCommand(int commandId) {
    // No key acts before the scene exists.
    if (launching()) return;
    applyCommand(commandId);
}

void SimulatorApp::applyCommand(int commandId) {
    // After a restore the prompt stays up, so that Esc cannot save over the restored files.
    if (commandId == Command::RestorePrompt && restorePrompt_.answered()) return;
    if (handleNavigationCommand(state(), commandId)) return;
    if (handleFlightPlanCommand(flightPlanner_, state(), commandId)) return;
    CommandEffects fx = handleCommand(state(), commandId);
    if (fx.pauseChange > 0) pauseWithMessage();
    if (fx.pauseChange < 0) {
        if (rendering())
            setPaused(false);
        else if (noRenderPauseCount_ > 0)
            --noRenderPauseCount_;
    }
    if (fx.takeSnapshot) {
        // Stored at once (also while paused); the request then only starts the flash, so the
        // next frame step does not store the same picture again.
        state().flags.snapshotRequest = 1;
        snapshotStoredByCommand_ = true;
        Image frame;
        if (rendering() && captureFrontBuffer(frame)) storeSnapshot(frame);
    }
    if (fx.closeWindow && !rendering()) scriptClose_ = true;
    // A windowed run: the frame itself closes the window after the Esc command.
}

void SimulatorApp::onLeftClick(int xPx, int yPx) {
    if (launching()) return;
    SimState& s = state();
    // Clicks come in device pixels; the controls are laid out in layout pixels.
    xPx /= uiScale_;
    yPx /= uiScale_;
    scriptPointerX_ = xPx;
    scriptPointerY_ = yPx;
    // The restore prompt is modal: a click answers it or does nothing.
    if (s.flags.restorePromptShown) {
        answerRestorePrompt(xPx, yPx);
        return;
    }
    if (!s.flags.suspended) {
        // A click on a control belongs to it; elsewhere it may pick a marker or a disc.
        const bool onControl = pointOnControls(gui_, xPx, yPx, s.flags.guiHidden != 0);
        for (const int32_t* flag : gui_.click(xPx, yPx, s.flags.guiHidden != 0)) applyClickedFlag(flag);
        if (!onControl) pickTarget(xPx, yPx);
    }
    if (s.flags.exitOnClick) closeLikeEsc();
}

void SimulatorApp::pickTarget(int xPx, int yPx) {
    std::vector<BodyOnScreen> bodies;
    placeBodiesOnScreen(state(), screenWidth(), screenHeight(), bodies);
    const int body = pickBody(bodies, static_cast<float>(xPx), static_cast<float>(yPx));
    if (body >= 0) selectTarget(state(), body);
}

void SimulatorApp::applyClickedFlag(const int32_t* flag) {
    SimState& s = state();
    // The suspend control acts like F4: the frame pauses with it (and F4 resumes, since clicks
    // do not reach the controls while suspended).
    if (flag == &s.flags.suspended && s.flags.suspended) pauseWithMessage();
}

void SimulatorApp::answerRestorePrompt(int xPx, int yPx) {
    SimState& s = state();
    switch (restorePrompt_.click(xPx, yPx, screenWidth(), screenHeight())) {
        case RestoreAnswer::No:
            s.flags.restorePromptShown = 0;
            break;
        case RestoreAnswer::Yes: {
            DefaultRestoreResult result = restoreDefaultConfiguration(s.dataDirectory);
            if (result.configurationUnreadable) fatalFileError(result.failedSource, result.reason);
            if (!result.restored)
                std::fprintf(stderr, "corvane: the restore stopped at %s (%s)\n", result.failedSource.c_str(),
                             result.reason.c_str());
            restorePrompt_.setOutcome(result.restored ? RestoreOutcome::Restored : RestoreOutcome::Failed);
            // Like the other terminal messages: shown, then the frame stands still until Esc.
            pauseWithMessage();
            break;
        }
        case RestoreAnswer::None:
            break;
    }
}

bool SimulatorApp::stopSignalArrived() const { return stopRequested(); }

void SimulatorApp::closeLikeEsc() {
    if (rendering())
        requestClose();
    else
        scriptClose_ = true;
}

void SimulatorApp::onFocusChange(bool gained) {
    // The first focus arrives while launching; the frame's own pause is released by create().
    if (launching()) return;
    AppFrame::onFocusChange(gained);
}

void SimulatorApp::paintLaunchScreen() {
    if (launchScreen_) launchScreen_->draw(*device(), backBufferWidth(), backBufferHeight());
}

// Without a usable keyboard (no window, a hidden window without focus, replay mode) every key
// reads as up and the read counts as made: the control step runs as in a visible run in which no
// key is held, so latches (say, a thruster firing when the state was stored) still act.
bool SimulatorApp::readKeyboard(KeyState& keys) {
    if (state().keyboardAvailable && session_->usesScriptedKeys()) {
        session_->fillScriptedKeys(keys);
        if (pads_) pads_->addHeldKeys(keys);
        return true;
    }
    if (state().keyboardAvailable && rendering() && AppFrame::readKeyboard(keys)) {
        if (pads_) pads_->addHeldKeys(keys);
        return true;
    }
    keys.keys.fill(0);
    return true;
}

void SimulatorApp::startGameControllers() {
    const bool userMayHoldOne = rendering() && !commandLine_.headless && !session_->usesScriptedKeys();
    if (!userMayHoldOne && !session_->scriptUsesPad()) return;
    pads_ = std::make_unique<GameControllers>();
    std::string error;
    if (!pads_->start(session_->usesScriptedKeys(), rendering(), error)) {
        std::fprintf(stderr, "corvane: game controllers cannot be used: %s\n", error.c_str());
        pads_.reset();
    }
}

bool SimulatorApp::controllersAreHeard() const {
    // As the keyboard: a script's pad always, a user's only while the window has the focus.
    return session_->usesScriptedKeys() || hasKeyboardFocus();
}

void SimulatorApp::pollGameControllers() {
    if (!pads_) return;
    std::vector<int> commands = pads_->poll();
    if (!controllersAreHeard()) return;
    for (int command : commands) applyCommand(command);
}

void SimulatorApp::onControllerInput() {
    // While running, the frame step polls; while paused (suspended), a button may resume.
    if (!active() && !launching()) pollGameControllers();
}

void SimulatorApp::idleWhilePaused() {
    if (!session_->usesScriptedKeys()) pollGameControllers();
    // A paused window still takes scripted input, so a scripted F4 can resume it. A headless run
    // has no user: once its script is spent, nothing can end the pause, so it ends like Esc.
    if (!session_->hasPendingEvents()) {
        if (commandLine_.headless) requestClose();
        return;
    }
    session_->setPausedDelivery(true);
    applyScriptEventsForNextFrame();
    session_->setPausedDelivery(false);
}

void SimulatorApp::applyScriptEventsForNextFrame() {
    bool padMoved = false;
    for (const ScriptEvent& e : session_->takeEventsForNextFrame()) {
        if (e.kind == ScriptEventKind::Click) {
            onLeftClick(e.x, e.y);
            continue;
        }
        if (isPadEvent(e.kind)) {
            std::string error;
            if (pads_ && !pads_->applyScriptEvent(e, error))
                std::fprintf(stderr, "corvane: the script's controller could not be plugged in: %s\n", error.c_str());
            padMoved = true;
            continue;
        }
        session_->applyScriptKey(e);
        int command = e.isCommand ? acceleratorCommand(e.keyName) : 0;
        if (e.kind == ScriptEventKind::KeyDown && command == 0)
            command = navigationScriptCommand(e.keyName, session_->scriptedKeyDown(kLeftShiftKeyCode));
        bool planKey = false;
        if (e.kind == ScriptEventKind::KeyDown && command == 0) {
            command = flightPlanScriptCommand(e.keyName, session_->scriptedKeyDown(kLeftShiftKeyCode));
            planKey = command != 0;
        }
        if (e.kind != ScriptEventKind::KeyDown || command == 0) continue;
        // F7 is polled in live mode: its key byte is set above, its command does nothing.
        applyCommand(command);
        // An unattended run logs the flight plan panel as each of its keys left it.
        if (planKey) logFlightPlanPanel(e.keyName, flightPlanner_, state());
        if (command == Command::Exit && rendering()) requestClose();
    }
    // The pad's buttons give their commands where the script's keys give theirs.
    if (padMoved) pollGameControllers();
}
