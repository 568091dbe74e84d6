// SimulatorApp: the simulator program's application object. It owns the simulation session and
// every render resource, answers the frame's hooks, turns keys and clicks into commands, and saves
// the state when it is destroyed. A --no-render run uses the same object without a window.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app_frame.h"
#include "calendar_date_line.h"
#include "command_line.h"
#include "drift_gauge.h"
#include "frame_export.h"
#include "frame_step.h"
#include "game_controllers.h"
#include "gui_components.h"
#include "help_page.h"
#include "hud_display.h"
#include "hud_flashes.h"
#include "hud_text.h"
#include "launch_screen.h"
#include "navigation_figures.h"
#include "navigation_overlay.h"
#include "flight_planner.h"
#include "prediction_line.h"
#include "recording_step.h"
#include "restore_prompt.h"
#include "simulation_session.h"

class Scene;
class TextFont;
class DestinationMarker;

class SimulatorApp : public AppFrame, private FrameStepHooks {
public:
    // The state must already be loaded into session.state (start-up).
    SimulatorApp(const CommandLine& commandLine, std::unique_ptr<SimulationSession> session);
    // Saves the state (live mode, unless a surface approach or the restore prompt forbids it).
    ~SimulatorApp() override;

    // Runs every frame step without a window, GL or media until the frame limit, Esc from the
    // scripted input, or a pause that nothing can end any more. Returns the exit code.
    int runWithoutWindow();

    SimState& state() { return session_->state; }
    const HudText& hudText() const { return hudText_; }

protected:
    int createScene() override;
    int onDeviceCreated() override;
    int onDeviceReset() override;
    int advanceFrame(double appTimeS, float elapsedS) override;
    int renderFrame() override;
    int onDeviceLost() override;
    int onDeviceDestroyed() override;
    int destroyScene() override;
    void onCommand(int commandId) override;
    void onLeftClick(int xPx, int yPx) override;
    void onFocusChange(bool gained) override;
    void paintLaunchScreen() override;
    void idleWhilePaused() override;
    bool stopSignalArrived() const override;
    void onControllerInput() override;
    bool readKeyboard(KeyState& keys) override;

private:
    // FrameStepHooks: what the simulation step asks of drawing and of the program.
    void recordStep(SimState& state, float hS) override;
    void placeBodies(const SimState& state, float hS) override;
    void composeHud(const SimState& state) override;
    void setLights(const SimState& state) override;
    void sortDrawOrder(const SimState& state) override;
    void takeSnapshot(SimState& state) override;

    // One simulation step with the script's events for this frame applied first, then the
    // overlay pass's state effects (flash timers, one-frame requests, terminal pauses).
    void stepOnce(float elapsedS, bool keyboardReadOk);
    void applyScriptEventsForNextFrame();
    // Game controllers: started when a user may hold one (a visible run without a script) or
    // the script plugs one in; polled before every frame step and on their input while paused.
    void startGameControllers();
    void pollGameControllers();
    bool controllersAreHeard() const;
    void applyCommand(int commandId);
    void requestPause();
    // A pause that input asked for (suspension, the restore's outcome), with its message drawn.
    void pauseWithMessage();
    void drawOverlays();
    void hudPanelExtent(float& rightPx, float& bottomPx);
    void drawPlan();
    void drawTopCentre();
    void storeSnapshot(const Image& frame);
    // The on-screen controls of the run's mode, with textures when drawing.
    void buildGui(bool withTextures);
    void applyClickedFlag(const int32_t* flag);
    // A click away from the controls chooses the body under it as the target.
    void pickTarget(int xPx, int yPx);
    void answerRestorePrompt(int xPx, int yPx);
    void closeLikeEsc();
    // The screen the layout is placed on, in layout pixels: the back buffer (or in a window-less
    // run the --size given, 1024 x 768 without one) divided by the UI scale.
    int screenWidth() const;
    int screenHeight() const;
    // The back buffer, or the --size of a window-less run, in device pixels.
    int devicePixelWidth() const;
    int devicePixelHeight() const;
    // Chooses the UI scale for the current screen and gives it to the fonts.
    void updateUiScale();
    // Everything drawn over the scene; withControls false leaves the on-screen controls out.
    void drawOverlayLayers(bool withControls);
    // Where the pointer is for hovering: the last scripted click in a scripted run, else the mouse.
    void pointer(int& xPx, int& yPx) const;

    bool rendering() const { return !commandLine_.noRender; }
    bool frameLimitReached() const;

    CommandLine commandLine_;
    std::unique_ptr<SimulationSession> session_;
    FlightPlanner flightPlanner_;  // nodes, transfer searches, autopilot (live runs)
    HudText hudText_;
    HudFlashState flashes_;
    bool terminalPauseRequested_ = false;  // a terminal message paused the frame
    int noRenderPauseCount_ = 0;           // pause count of a window-less run
    bool scriptClose_ = false;             // Esc from the script in a window-less run
    bool snapshotStoredByCommand_ = false; // replay F7 stored this frame's snapshot already
    RecordingStep recording_;
    std::unique_ptr<FrameExport> frameExport_;  // --export: drawn frames as pictures
    GuiControls gui_;
    RestorePrompt restorePrompt_;
    NavigationOverlay navigationOverlay_;  // markers, target bracket and panel
    NavigationFigures navFigures_;         // this frame's, read by the panel, banner and markers
    HelpPage helpPage_;
    std::vector<ScreenBox> controlBoxes_;  // the shown controls and indicators, kept free of labels
    std::unique_ptr<GameControllers> pads_;
    int scriptPointerX_ = -1, scriptPointerY_ = -1;  // layout pixels
    int uiScale_ = 1;  // device pixels per layout pixel for every text and control

    // Render side, alive between the device hooks.
    std::unique_ptr<Scene> scene_;
    std::unique_ptr<TextFont> fonts_[3];
    std::unique_ptr<HudIcons> hudIcons_;
    std::unique_ptr<DestinationMarker> marker_;
    std::unique_ptr<LaunchScreen> launchScreen_;  // only while the scene is being created
    // Drawn runs only: the prediction changes no state; it follows the navigation's target.
    std::unique_ptr<PredictionLine> prediction_;
    DriftGauge driftGauge_;
    CalendarDateLine calendarLine_;
};
