// One simulator run's simulation side, shared by the windowed and the window-less runs: the
// state, the scripted input and the trace, and the frame step with the app's hooks.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "exact_replay_player.h"
#include "exact_replay_recorder.h"
#include "frame_step.h"
#include "script_input.h"
#include "sim_state.h"
#include "text_file.h"
#include "trace_writer.h"

class SimulationSession {
public:
    SimState state;
    // Live frames size the warp's substep budget by the integrator's measured step time; runs
    // with a fixed frame time leave it off, so that they decide alike on every run.
    bool measuresStepCost = false;

    // Loads the scripted input; false with a message naming file and line when it is malformed.
    bool loadScript(const std::string& path, std::string& error);
    // Opens the trace file; false when it cannot be created.
    bool openTrace(const std::string& path);

    // The script events of the next frame (advancedFrames), in file order; removes them. While
    // delivery in pause is on, a later frame's events come at once (input arrives while paused).
    std::vector<ScriptEvent> takeEventsForNextFrame();
    void setPausedDelivery(bool on) { pausedDelivery_ = on; }
    // True while scripted events are still pending.
    bool hasPendingEvents() const { return nextEvent_ < events_.size(); }
    // The frame number of the next pending event (only valid when hasPendingEvents()).
    long long nextEventFrame() const { return events_[nextEvent_].frame; }
    // Applies a scripted key to the scripted key-state buffer (F-keys too, so F7 is polled).
    void applyScriptKey(const ScriptEvent& e);
    // A script given on the command line replaces the keyboard, whatever events it holds.
    bool usesScriptedKeys() const { return scriptLoaded_; }
    // The script plugs in a game controller of its own.
    bool scriptUsesPad() const { return scriptUsesPad_; }
    // Copies the scripted keys into the state's key buffer, keeping the one-frame down flags.
    void fillScriptedKeys(KeyState& keys) const;
    bool scriptedKeyDown(int code) const { return (scriptedKeys_[static_cast<size_t>(code & 0xFF)] & 0x80) != 0; }

    // One frame step; returns the path of a file that could not be read (replay snapshot).
    std::optional<std::string> advance(float elapsedS, bool keyboardReadOk, FrameStepHooks& hooks);

    long long advancedFrames() const { return advancedFrames_; }
    void closeTrace();

    // Exact continuation, after the scene fill: a live run resumes from the exact state record
    // when it still matches the files; a replay plays the exact side file when it belongs to the
    // recording. Otherwise both start as the files alone say.
    void startExactState();
    bool playsExactReplay() const { return exactPlayer_ != nullptr; }
    // Called right after the recording step with what it left.
    void noteRecordingStep(bool recordingOpen, int sequenceNumber);
    // Around the save on exit: the old record goes before the files are written, the new one
    // after all of them were.
    void beforeStateSave();
    void afterStateSave(const std::vector<FileToWrite>& saved);
    // After the recording file was closed at the end of the run.
    void afterRecordingClosed();

private:
    std::vector<ScriptEvent> events_;
    size_t nextEvent_ = 0;
    bool scriptLoaded_ = false;
    bool scriptUsesPad_ = false;
    bool pausedDelivery_ = false;
    std::array<uint8_t, 256> scriptedKeys_{};
    std::unique_ptr<TraceWriter> trace_;
    long long advancedFrames_ = 0;
    ExactReplayRecorder exactRecorder_;
    std::unique_ptr<ExactReplayPlayer> exactPlayer_;
    bool nonFiniteReported_ = false;
};
