// Writes the exact replay side file while a live run records: it follows the recording step
// (which it does not change) and adds, per sequence, the state before its first frame and, per
// recorded frame, the control step's whole input and the digest of the state after the frame.
// Nothing it does can end the run: if the side file cannot be written it is left incomplete, and
// replay then ignores it.
#pragma once

#include <cstdio>
#include <optional>

#include "exact_replay_file.h"
#include "state_digest.h"

class ExactReplayRecorder {
public:
    ExactReplayRecorder() = default;
    ExactReplayRecorder(const ExactReplayRecorder&) = delete;
    ExactReplayRecorder& operator=(const ExactReplayRecorder&) = delete;
    ~ExactReplayRecorder();

    // Before each live frame step, with the frame time and whether the keyboard was read (the
    // control step runs). Takes the frame's input, and the state when its recording step is
    // going to start a sequence.
    void beforeFrame(const SimState& state, float hS, bool controlsRun);
    // Right after the recording step, with what it left: the recording file open or not and the
    // number of its sequence.
    void afterRecordingStep(const SimState& state, bool recordingOpen, int sequenceNumber);
    // After the frame step: the frame's line, with the digest of the state it ended in.
    void afterFrame(const SimState& state);
    // After the recording file was closed at the end of the run.
    void afterRecordingClosed(const SimState& state);

private:
    void write(std::string_view text);
    void finishSequence(const SimState& state);
    void abandon();

    std::FILE* file_ = nullptr;
    bool failed_ = false;
    bool previousRemoved_ = false;
    ByteDigest written_;
    bool sequenceOpen_ = false;
    int sequence_ = 0;
    int frameLines_ = 0;  // frame lines the recording file holds so far
    std::optional<ExactState> sequenceStart_;
    ExactFrameInput input_;
    bool framePending_ = false;
    bool haveRates_ = false;
    Vec3f ratesAfterFrame_;
};
