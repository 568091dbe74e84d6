// The flight plan of a live run: the nodes and what the node keys do to them, the transfer search
// and the path with the burns (both on worker threads), and the autopilot. The app hands it the
// keys' actions and calls it around each frame step.
#pragma once

#include <string>

#include "autopilot.h"
#include "flight_plan.h"
#include "plan_worker.h"
#include "planned_path.h"
#include "sim_state.h"
#include "transfer_plan.h"

enum class PlanAction {
    NewNode, DeleteNode, Later, Earlier,
    ProgradePlus, ProgradeMinus, NormalPlus, NormalMinus, RadialPlus, RadialMinus,
    PlanTransfer, FlyNext, Digit, Enter
};

class FlightPlanner {
public:
    // waitForResults: a scripted run (fixed frame time) waits for the transfer search in the same
    // frame, so that the same input gives the same flight every time.
    explicit FlightPlanner(bool waitForResults = false) : waitForResults_(waitForResults) {}

    // One key: digit is 0..9 for PlanAction::Digit; fine for the keypad with Shift.
    void apply(SimState& state, PlanAction action, bool fine = false, int digit = 0);

    // Before the frame step of a live frame: the autopilot's keys.
    void beforeFrame(SimState& state, float elapsedS);
    // After it: the burn's accounting, the transfer search's result, a new path with the burns when
    // the plan changed or time moved on (withPreview: drawn runs only; the path changes nothing).
    void afterFrame(SimState& state, float frameS, bool withPreview);

    const FlightPlan& plan() const { return plan_; }
    const Autopilot& autopilot() const { return pilot_; }
    const PlannedPath& preview() const { return preview_; }
    bool searching() const { return searching_; }
    // Mission time in double precision, carried from the first frame on.
    double clockS(const SimState& state) const { return clockSet_ ? clockS_ : state.missionTimeS; }
    // Blocks until the path with the burns is done (tests and snapshots of scripted runs).
    void finishPreview();

private:
    void requestTransfer(SimState& state);
    void takeTransfer(std::optional<TransferResult> result);
    // A mid-course correction node that is next is worked out from the ship's state now.
    void correctCourse(const SimState& state);
    void takeCorrection(std::optional<CorrectionResult> result);
    double altitudeGoalKm(const SimState& state, int body) const;

    FlightPlan plan_;
    Autopilot pilot_;
    PlannedPath preview_;
    bool waitForResults_ = false;
    bool searching_ = false;
    bool previewWanted_ = true;
    double previewAskedAtS_ = -1;
    bool correcting_ = false;
    double correctingNodeS_ = 0;      // the time of the node being worked out
    int requestedTarget_ = -1;        // of the transfer search running
    double requestedAltitudeKm_ = 0;
    double clockS_ = 0;
    bool clockSet_ = false;
    PlanWorker<TransferResult> transferWorker_;
    PlanWorker<PlannedPath> previewWorker_;
    PlanWorker<CorrectionResult> correctionWorker_;
};
