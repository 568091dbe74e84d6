// Exact replay stepping and the per-frame comparison.
#include "exact_replay_player.h"

#include "ship_controls.h"
#include "state_digest.h"
#include "target_navigation.h"

ExactReplayPlayer::ExactReplayPlayer(std::vector<ExactSequence> sequences, std::string madeBy)
    : sequences_(std::move(sequences)), madeBy_(std::move(madeBy)) {
    for (const ExactSequence& s : sequences_) frameCount_ += static_cast<int>(s.frames.size());
}

void ExactReplayPlayer::advance(SimState& state, float& h, bool& runControls) {
    ReplayTables& replay = state.replay;
    replay.exactInput = true;
    current_ = nullptr;
    const int line = replay.cursor;
    // The sequence holding this frame line.
    const ExactSequence* sequence = nullptr;
    size_t number = 0;
    for (size_t s = 0; s < sequences_.size(); ++s)
        if (sequences_[s].firstFrameLine <= line) {
            sequence = &sequences_[s];
            number = s;
        }
    if (!sequence || line < 0 || line > replay.lastFrameIndex) {
        replay.finished = 1;
        h = 0;
        runControls = false;
        return;
    }
    size_t frame = 0;
    if (line == sequence->firstFrameLine) {
        applyExactState(state, sequence->start);
        replay.currentSequence = static_cast<int>(number) + 1;
        replay.cursor = line + 2;
    } else {
        frame = static_cast<size_t>(line - sequence->firstFrameLine - 1);
        replay.cursor = line + 1;
    }
    if (frame >= sequence->frames.size()) frame = sequence->frames.size() - 1;
    if (replay.cursor - 1 >= replay.lastFrameIndex) replay.finished = 1;

    current_ = &sequence->frames[frame];
    h = current_->hS;
    setLatchesFromWord(state.latches, current_->controlWord);
    // F7 is not replayed: the recorded screenshots were stored when they were taken.
    setPolledKeys(state.keyState, current_->keys & ~(1u << (kExactPolledKeys.size() - 1)));
    if (current_->flags & ExactFrameInput::kPanicBefore) panicStop(state);
    setNavigationRequests(state.nav,
                          static_cast<uint32_t>(current_->flags >> ExactFrameInput::kNavigationShift));
    runControls = (current_->flags & ExactFrameInput::kControlsRan) != 0;
    state.warp.frameWarped = (current_->flags & ExactFrameInput::kWarped) != 0;
    const uint32_t level = (current_->flags >> ExactFrameInput::kWarpLevelShift) & 7u;
    state.warp.level = state.warp.frameWarped && level < kWarpFactors.size() ? static_cast<int32_t>(level) : 0;
}

std::optional<std::string> ExactReplayPlayer::afterFrame(const SimState& state, long long frameIndex) {
    if (!current_) return std::nullopt;
    ++played_;
    if (verifies() && firstDiverged_ < 0 && digestSimState(state) != current_->stateDigest)
        firstDiverged_ = frameIndex;
    current_ = nullptr;
    if (summaryGiven_ || !state.replay.finished) return std::nullopt;
    summaryGiven_ = true;
    return summary();
}

std::string ExactReplayPlayer::summary() const {
    std::string total = std::to_string(frameCount_);
    if (!verifies())
        return "Exact replay: made by another integrator (" + madeBy_ + "); " +
               std::to_string(played_) + " of " + total +
               " frames replayed without exact verification.";
    if (firstDiverged_ >= 0)
        return "Exact replay: frame " + std::to_string(firstDiverged_) + " is the first of " + total +
               " frames that diverged.";
    if (played_ >= frameCount_) return "Exact replay: all " + total + " frames matched.";
    return "Exact replay: stopped after " + std::to_string(played_) + " of " + total +
           " frames; all of them matched.";
}
