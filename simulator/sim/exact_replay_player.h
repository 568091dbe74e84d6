// Replays a recording from its exact replay side file: each sequence starts from its exact state,
// every frame gets its exact frame time and the control step's recorded input (latches and polled
// keys; F7 is left out, so a replay stores no screenshots by itself), and every frame's end state
// is compared with the recorded digest. A side file made by an integrator of other arithmetic is
// replayed the same way, but its digests cannot match bit for bit, so they are not compared.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "exact_replay_file.h"
#include "integrator.h"

class ExactReplayPlayer {
public:
    // madeBy: the integrator arithmetic that made the side file.
    explicit ExactReplayPlayer(std::vector<ExactSequence> sequences,
                               std::string madeBy = IntegratorState::kArithmetic);
    // The side file was made by this integrator: its digests are compared.
    bool verifies() const { return madeBy_ == IntegratorState::kArithmetic; }

    // In place of the recording's frame advance (the cursor counts the recording file's frame
    // lines): loads a sequence's start state at its first frame line, then sets h, the latches and
    // the keys, and says whether the control step runs. The two lines of a sequence's first frame
    // are one frame here.
    void advance(SimState& state, float& hS, bool& runControls);
    // After the frame step: compares the state with the recorded digest. frameIndex is the frame's
    // number in this run. Returns the summary once, after the last recorded frame was played.
    std::optional<std::string> afterFrame(const SimState& state, long long frameIndex);
    // The summary of what was played so far (for a replay that ends early).
    std::string summary() const;
    bool summaryGiven() const { return summaryGiven_; }
    int frameCount() const { return frameCount_; }

private:
    std::vector<ExactSequence> sequences_;
    std::string madeBy_;
    int frameCount_ = 0;
    int played_ = 0;
    long long firstDiverged_ = -1;
    const ExactFrameInput* current_ = nullptr;
    bool summaryGiven_ = false;
};
