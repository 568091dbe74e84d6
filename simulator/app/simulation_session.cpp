// The simulation side of a run: scripted input, the frame step and the trace.
#include "simulation_session.h"

#include "state_check.h"

bool SimulationSession::loadScript(const std::string& path, std::string& error) {
    ScriptParseResult parsed = readScriptInput(path);
    if (!parsed.ok()) {
        error = parsed.error;
        return false;
    }
    events_ = std::move(parsed.events);
    nextEvent_ = 0;
    return true;
}

bool SimulationSession::openTrace(const std::string& path) {
    trace_ = std::make_unique<TraceWriter>();
    return trace_->open(path);
}

void SimulationSession::closeTrace() {
    if (trace_) trace_->close();
    trace_.reset();
}

std::vector<ScriptEvent> SimulationSession::takeEventsForNextFrame() {
    std::vector<ScriptEvent> due;
    // Events are sorted by frame; a paused run takes the next pending frame's events early.
    long long frame = advancedFrames_;
    if (nextEvent_ < events_.size() && events_[nextEvent_].frame > frame && pausedDelivery_)
        frame = events_[nextEvent_].frame;
    while (nextEvent_ < events_.size() && events_[nextEvent_].frame <= frame) due.push_back(events_[nextEvent_++]);
    return due;
}

void SimulationSession::applyScriptKey(const ScriptEvent& e) {
    if (e.keyCode < 0 || e.keyCode > 255) return;
    const bool down = e.kind == ScriptEventKind::KeyDown;
    scriptedKeys_[static_cast<size_t>(e.keyCode)] = down ? 0x80 : 0;
}

void SimulationSession::fillScriptedKeys(KeyState& keys) const { keys.keys = scriptedKeys_; }

std::optional<std::string> SimulationSession::advance(float elapsedS, bool keyboardReadOk, FrameStepHooks& hooks) {
    FrameInput in;
    in.elapsedS = elapsedS;
    in.keyboardReadOk = keyboardReadOk;
    std::optional<std::string> failed = stepSimulation(state, in, hooks);
    if (failed) return failed;
    if (trace_) trace_->writeFrame(advancedFrames_, state.missionTimeS, state.integrator);
    ++advancedFrames_;
    if (!nonFiniteReported_) {
        if (std::optional<std::string> where = findNonFiniteState(state)) {
            std::fprintf(stderr,
                         "corvane: the simulation state is no longer finite (%s) after frame %lld; "
                         "the state will not be saved, so the files of the previous run stay as they are.\n",
                         where->c_str(), advancedFrames_);
            nonFiniteReported_ = true;
        }
    }
    return std::nullopt;
}
