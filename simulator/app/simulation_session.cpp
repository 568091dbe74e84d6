// The simulation side of a run: scripted input, the frame step and the trace.
#include "simulation_session.h"

#include <cstdio>

#include "exact_state_record.h"
#include "startup.h"
#include "state_check.h"

bool SimulationSession::loadScript(const std::string& path, std::string& error) {
    ScriptParseResult parsed = readScriptInput(path);
    if (!parsed.ok()) {
        error = parsed.error;
        return false;
    }
    events_ = std::move(parsed.events);
    nextEvent_ = 0;
    scriptLoaded_ = true;
    scriptUsesPad_ = parsed.usesPad;
    return true;
}

bool SimulationSession::openTrace(const std::string& path, std::string* reason) {
    trace_ = std::make_unique<TraceWriter>();
    return trace_->open(path, reason);
}

bool SimulationSession::closeTrace(std::string* reason) {
    const bool closed = !trace_ || trace_->close(reason);
    trace_.reset();
    return closed;
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
    // Live frames run the warped time (exactly elapsedS at warp 1); it is what gets recorded.
    if (measuresStepCost) state.warp.stepCostS = state.integrator.recentStepCostS();
    const float h = state.isLive() && !state.objects.empty() ? resolveWarpedFrameTime(state, elapsedS) : elapsedS;
    FrameInput in;
    in.elapsedS = h;
    in.keyboardReadOk = keyboardReadOk;
    in.exactReplay = exactPlayer_.get();
    exactRecorder_.beforeFrame(state, h, keyboardReadOk);
    std::optional<std::string> failed = stepSimulation(state, in, hooks);
    if (failed) return failed;
    if (trace_) trace_->writeFrame(advancedFrames_, state.missionTimeS, state.integrator);
    if (state.isLive()) exactRecorder_.afterFrame(state);
    if (exactPlayer_) {
        if (std::optional<std::string> summary = exactPlayer_->afterFrame(state, advancedFrames_)) {
            exactVerdict_ = *summary;
            std::printf("%s\n", summary->c_str());
            std::fflush(stdout);
        }
    }
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

void SimulationSession::startExactState() {
    if (state.isLive()) {
        std::string notUsedBecause;
        if (!resumeFromExactStateRecord(state, &notUsedBecause) && !notUsedBecause.empty()) {
            std::fprintf(stderr, "corvane: %s%s is not used, as %s; the run continues from the saved files.\n",
                         state.dataDirectory.c_str(), kExactStateRecordName, notUsedBecause.c_str());
            showNotice(state.notice, std::string(kExactStateRecordName) + " is not used, as " + notUsedBecause +
                                         ": the run continues from the saved files.");
        }
        return;
    }
    std::string recording = state.dataDirectory + "Recordings/" + state.recordingTitle + "/" +
                            state.recordingTitle + ".vcr";
    std::string side = exactReplayPath(recording);
    std::vector<ExactSequence> sequences;
    std::string reason, madeBy;
    if (loadExactReplay(side, recording, state.replay, state.objects.size(), sequences, &reason,
                        &madeBy)) {
        exactPlayer_ = std::make_unique<ExactReplayPlayer>(std::move(sequences), madeBy);
        if (!exactPlayer_->verifies())
            std::printf("Exact replay: %s was made by another integrator (%s); it is replayed "
                        "without exact verification.\n", side.c_str(), madeBy.c_str());
    } else if (std::FILE* f = std::fopen(side.c_str(), "rb")) {
        // A side file that does not fit is not an error: the recording file alone is played.
        std::fclose(f);
        std::fprintf(stderr, "corvane: %s is not used, as %s; the recording is replayed without it\n",
                     side.c_str(), reason.c_str());
    }
}

void SimulationSession::noteRecordingStep(bool recordingOpen, int sequenceNumber) {
    exactRecorder_.afterRecordingStep(state, recordingOpen, sequenceNumber);
}

void SimulationSession::beforeStateSave() {
    if (stateIsSavedOnExit(state)) removeExactStateRecord(state);
}

void SimulationSession::afterStateSave(const std::vector<FileToWrite>& saved) {
    if (stateIsSavedOnExit(state)) writeExactStateRecord(state, saved);
}

void SimulationSession::afterRecordingClosed() {
    exactRecorder_.afterRecordingClosed(state);
    if (exactPlayer_ && !exactPlayer_->summaryGiven()) {
        std::printf("%s\n", exactPlayer_->summary().c_str());
        std::fflush(stdout);
    }
}
