// One simulator run's simulation side, shared by the windowed and the window-less runs: the
// state, the scripted input and the trace, and the frame step with the app's hooks.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frame_step.h"
#include "script_input.h"
#include "sim_state.h"
#include "trace_writer.h"

class SimulationSession {
public:
    SimState state;

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
    bool usesScriptedKeys() const { return !events_.empty(); }
    // Copies the scripted keys into the state's key buffer, keeping the one-frame down flags.
    void fillScriptedKeys(KeyState& keys) const;

    // One frame step; returns the path of a file that could not be read (replay snapshot).
    std::optional<std::string> advance(float elapsedS, bool keyboardReadOk, FrameStepHooks& hooks);

    long long advancedFrames() const { return advancedFrames_; }
    void closeTrace();

private:
    std::vector<ScriptEvent> events_;
    size_t nextEvent_ = 0;
    bool pausedDelivery_ = false;
    std::array<uint8_t, 256> scriptedKeys_{};
    std::unique_ptr<TraceWriter> trace_;
    long long advancedFrames_ = 0;
    bool nonFiniteReported_ = false;
};
