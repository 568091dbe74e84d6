// Runs trajectory predictions on a thread of its own, so that a frame only hands over a copy of
// the state. The newest request wins: one that arrives while another is computed replaces any
// request still waiting, and a result is taken once.
#pragma once

#include <optional>

#include "plan_worker.h"
#include "trajectory_prediction.h"

class PredictionWorker {
public:
    void submit(PredictionRequest request) { submitPlan(worker_, std::move(request), &predictTrajectory); }
    // The newest finished path not taken yet.
    std::optional<PredictedPath> take() { return worker_.take(); }
    // A request is waiting or being computed.
    bool busy() const { return worker_.busy(); }
    // Blocks until nothing is waiting or being computed (tests and benchmarks).
    void waitIdle() { worker_.waitIdle(); }

private:
    PlanWorker<PredictedPath> worker_{false};  // a running prediction is let finish
};

// When a prediction is worth asking for again: the first time, when the thrust, the thruster
// directions, the warp, the horizon or the target changed, when the integrator was set up anew
// (a jump), or when the mission time moved on by a sixteenth of the horizon since the last one.
struct PredictionTrigger {
    bool wanted(const struct SimState& state, double horizonS, int targetIndex);

private:
    bool asked_ = false;
    Vec3f force_, forward_, up_, right_, origin_;
    int32_t warpLevel_ = 0;
    double horizonS_ = 0;
    int targetIndex_ = -1;
    double missionTimeS_ = 0;
};

// The copy a prediction works on: the objects and the integrator as they are now.
PredictionRequest predictionRequest(const struct SimState& state, double horizonS, int targetIndex);
