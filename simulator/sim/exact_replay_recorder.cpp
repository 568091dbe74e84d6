// The side file's writer. Lines are appended as the recording file's are; the end line written
// when a sequence closes makes the file usable up to that point.
#include "exact_replay_recorder.h"

#include <unistd.h>

#include <bit>

#include "target_navigation.h"
#include "text_file.h"

namespace {

std::string recordingFilePath(const SimState& s) {
    return s.dataDirectory + "Recordings/" + s.recordingTitle + "/" + s.recordingTitle + ".vcr";
}

bool sameBits(Vec3f a, Vec3f b) {
    return std::bit_cast<uint32_t>(a.x) == std::bit_cast<uint32_t>(b.x) &&
           std::bit_cast<uint32_t>(a.y) == std::bit_cast<uint32_t>(b.y) &&
           std::bit_cast<uint32_t>(a.z) == std::bit_cast<uint32_t>(b.z);
}

}  // namespace

ExactReplayRecorder::~ExactReplayRecorder() {
    if (file_) std::fclose(file_);
}

void ExactReplayRecorder::write(std::string_view text) {
    if (!file_ || failed_) return;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) {
        abandon();
        return;
    }
    written_.add(text);
}

void ExactReplayRecorder::abandon() {
    // Without its end line the file is never used; stop writing to it.
    failed_ = true;
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

void ExactReplayRecorder::beforeFrame(const SimState& state, float hS, bool controlsRun) {
    if (!state.isLive()) return;
    input_ = ExactFrameInput{};
    input_.hS = hS;
    input_.controlWord = controlWord(state.latches);
    input_.keys = polledKeyWord(state.keyState);
    if (controlsRun) input_.flags |= ExactFrameInput::kControlsRan;
    if (state.warp.frameWarped)
        input_.flags |= ExactFrameInput::kWarped |
                        (static_cast<uint32_t>(state.warp.level) << ExactFrameInput::kWarpLevelShift);
    // Between two frames only F8 changes the rotation rates.
    if (haveRates_ && !sameBits(state.rotationRates, ratesAfterFrame_))
        input_.flags |= ExactFrameInput::kPanicBefore;
    input_.flags |= static_cast<uint64_t>(navigationRequestFlags(state.nav))
                    << ExactFrameInput::kNavigationShift;

    if (state.flags.recordingOn && !sequenceOpen_) {
        // This frame's recording step starts a sequence. Its first one in this run removes the
        // previous recording; the side file goes first, so that it is not counted as an entry of
        // the recording directory when the sequence number is found.
        if (!previousRemoved_) {
            ::unlink(exactReplayPath(recordingFilePath(state)).c_str());
            previousRemoved_ = true;
        }
        sequenceStart_ = captureExactState(state);
    }
}

void ExactReplayRecorder::afterRecordingStep(const SimState& state, bool recordingOpen,
                                             int sequenceNumber) {
    framePending_ = false;
    if (recordingOpen && (!sequenceOpen_ || sequenceNumber != sequence_)) {
        if (sequenceOpen_) finishSequence(state);
        if (!file_ && !failed_) {
            file_ = openOutputFile(exactReplayPath(recordingFilePath(state)), false);
            if (!file_) failed_ = true;
            write(exactReplayHeaderLine());
        }
        if (!sequenceStart_) abandon();
        if (sequenceStart_) write(exactSequenceLines(sequenceNumber, frameLines_, *sequenceStart_));
        sequenceStart_.reset();
        sequenceOpen_ = true;
        sequence_ = sequenceNumber;
        frameLines_ += 2;  // the first frame line is written twice
        framePending_ = true;
    } else if (recordingOpen) {
        frameLines_ += 1;
        framePending_ = true;
    } else if (sequenceOpen_) {
        finishSequence(state);
    }
}

void ExactReplayRecorder::afterFrame(const SimState& state) {
    if (framePending_) {
        input_.stateDigest = digestSimState(state);
        char line[kExactFrameLineSize];
        write(std::string_view(line, exactFrameLine(input_, line)));
        framePending_ = false;
    }
    ratesAfterFrame_ = state.rotationRates;
    haveRates_ = true;
}

void ExactReplayRecorder::finishSequence(const SimState& state) {
    sequenceOpen_ = false;
    uint64_t recordingDigest = 0;
    if (!file_ || failed_) return;
    if (!digestFile(recordingFilePath(state), recordingDigest)) {
        abandon();
        return;
    }
    write(exactEndLine(frameLines_, recordingDigest, written_.value()));
    if (file_ && std::fflush(file_) != 0) abandon();
}

void ExactReplayRecorder::afterRecordingClosed(const SimState& state) {
    if (sequenceOpen_) finishSequence(state);
    if (file_) {
        if (std::fclose(file_) != 0) failed_ = true;
        file_ = nullptr;
    }
}
