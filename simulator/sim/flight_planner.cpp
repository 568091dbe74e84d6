// Node keys, transfer requests and the path with the burns.
#include "flight_planner.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "step_bound.h"

namespace {

constexpr size_t kMaxTypedDigits = 7;
// A new node this long after the present (or after the selected node).
constexpr double kNewNodeDelayS = 600.0;

double orbitPeriodAbout(const SimState& state, int body) {
    const size_t ship = state.objects.size() - 1;
    if (body < 0 || static_cast<size_t>(body) >= ship) return 0;
    const double gm = pairGm(state.objects, static_cast<size_t>(body), ship);
    const OrbitElements e = elementsFromState(relativeState(state.objects, ship, static_cast<size_t>(body)), gm);
    return e.bound() ? e.periodS(gm) : 0;
}

std::string bodyName(const SimState& state, int body) {
    if (body < 0 || static_cast<size_t>(body) >= state.configEntries.size()) return "Target";
    std::string name = state.configEntries[static_cast<size_t>(body)];
    if (name.size() > 4 && name.ends_with(".cfg")) name.resize(name.size() - 4);
    return name;
}

// The first burn of a new plan no sooner than this from now: the ship's turn to it, and a minute.
double planLeadS(const SimState& state) { return turnLeadS(state.observer(), 0.05) + 60; }

}  // namespace

double FlightPlanner::altitudeGoalKm(const SimState& state, int body) const {
    if (plan_.chosenAltitudeKm >= 0) return plan_.chosenAltitudeKm;
    if (body < 0) return -1;
    const int choice = std::clamp(state.nav.altitudeChoice, 0, kTargetAltitudeChoices - 1);
    return state.objects[static_cast<size_t>(body)].equatorialRadiusKm * kTargetAltitudeRadii[choice];
}

void FlightPlanner::apply(SimState& state, PlanAction action, bool fine, int digit) {
    if (!state.isLive() || state.objects.size() < 2) return;
    const double step = fine ? kNodeFineStepKmPerS : kNodeStepKmPerS;
    const size_t ship = state.objects.size() - 1;
    previewWanted_ = true;
    switch (action) {
        case PlanAction::NewNode: {
            const double after = plan_.selected >= 0 ? plan_.nodes[static_cast<size_t>(plan_.selected)].timeS
                                                     : clockS(state);
            plan_.insertNode(after + kNewNodeDelayS, primaryBody(state.objects, ship));
            break;
        }
        case PlanAction::DeleteNode: plan_.deleteSelected(); break;
        case PlanAction::Later:
        case PlanAction::Earlier: {
            if (plan_.selected < 0) break;
            const double period = orbitPeriodAbout(state, plan_.nodes[static_cast<size_t>(plan_.selected)].primary);
            const double by = period > 0 ? period * kNodeMoveFraction : kNodeMoveUnboundS;
            plan_.moveSelected(action == PlanAction::Later ? by : -by);
            break;
        }
        case PlanAction::ProgradePlus: plan_.changeSelected({step, 0, 0}); break;
        case PlanAction::ProgradeMinus: plan_.changeSelected({-step, 0, 0}); break;
        case PlanAction::NormalPlus: plan_.changeSelected({0, step, 0}); break;
        case PlanAction::NormalMinus: plan_.changeSelected({0, -step, 0}); break;
        case PlanAction::RadialPlus: plan_.changeSelected({0, 0, step}); break;
        case PlanAction::RadialMinus: plan_.changeSelected({0, 0, -step}); break;
        case PlanAction::Digit:
            if (plan_.typedAltitude.size() < kMaxTypedDigits) plan_.typedAltitude += static_cast<char>('0' + digit);
            break;
        case PlanAction::Enter:
            if (plan_.typedAltitude.empty()) break;
            plan_.chosenAltitudeKm = std::stod(plan_.typedAltitude);
            plan_.typedAltitude.clear();
            requestTransfer(state);
            break;
        case PlanAction::PlanTransfer: requestTransfer(state); break;
        case PlanAction::FlyNext:
            if (pilot_.active()) {
                stopAutopilot(pilot_, state, "Autopilot off");
            } else {
                engageAutopilot(pilot_, plan_, state, clockS(state));
            }
            break;
    }
}

void FlightPlanner::requestTransfer(SimState& state) {
    const size_t ship = state.objects.size() - 1;
    const int primary = primaryBody(state.objects, ship);
    const int target = state.nav.target;
    const double lead = planLeadS(state);
    // A typed altitude, or a target that is the body the ship orbits: a change of orbit there.
    if (plan_.chosenAltitudeKm >= 0 || target < 0 || target == primary) {
        const double altitude = altitudeGoalKm(state, primary);
        PlanResult r = planOrbitChange(state.objects, primary, clockS(state), lead, altitude);
        plan_.chosenAltitudeKm = -1;
        plan_.summary = r.summary;
        plan_.transferTarget = -1;
        if (r.found) {
            plan_.nodes = r.nodes;
            plan_.selected = 0;
            plan_.summary += planShortfall(state.observer(), r.nodes, clockS(state), state.energyKJ);
        }
        return;
    }
    TransferRequest request;
    request.objects = state.objects;
    request.integrator = state.integrator;
    request.nowS = clockS(state);
    request.target = target;
    request.altitudeKm = altitudeGoalKm(state, target);
    requestedTarget_ = target;
    requestedAltitudeKm_ = request.altitudeKm;
    request.leadS = lead;
    for (size_t i = 0; i < state.objects.size(); ++i) request.names.push_back(bodyName(state, static_cast<int>(i)));
    searching_ = true;
    plan_.summary = "Searching a transfer to " + bodyName(state, target) + " ...";
    submitPlan(transferWorker_, std::move(request), planTransfer);
    if (waitForResults_) takeTransfer(transferWorker_.waitAndTake());
}

void FlightPlanner::takeTransfer(std::optional<TransferResult> result) {
    if (!result) return;
    searching_ = false;
    plan_.summary = result->plan.summary;
    std::fprintf(stderr, "corvane: plan: %s (uncorrected conic: closest %.0f km; %d corrections)\n",
                 plan_.summary.c_str(), result->conicClosestAltitudeKm, result->corrections);
    if (!result->plan.found) return;
    plan_.nodes = result->plan.nodes;
    plan_.selected = 0;
    plan_.transferTarget = requestedTarget_;
    plan_.transferAltitudeKm = requestedAltitudeKm_;
    previewWanted_ = true;
}

void FlightPlanner::correctCourse(const SimState& state) {
    if (correcting_) {
        takeCorrection(correctionWorker_.take());
        return;
    }
    const BurnNode* next = plan_.next();
    if (!next || next->kind != NodeKind::Correction || plan_.transferTarget < 0 ||
        static_cast<size_t>(plan_.transferTarget) + 1 >= state.objects.size())
        return;
    CorrectionRequest request;
    request.objects = state.objects;
    request.integrator = state.integrator;
    request.nowS = clockS(state);
    request.node = *next;
    // A correction whose time has passed (the plan was not flown at once) is made as soon as the
    // ship can turn to it.
    request.node.timeS = std::max(next->timeS, request.nowS + planLeadS(state));
    request.target = plan_.transferTarget;
    request.altitudeKm = plan_.transferAltitudeKm;
    // The arrival: the capture about the target, else a day after the correction.
    request.arrivalS = next->timeS + 86400;
    for (const BurnNode& node : plan_.nodes)
        if (node.kind == NodeKind::Circularise && node.primary == plan_.transferTarget) {
            request.arrivalS = node.timeS;
            break;
        }
    correcting_ = true;
    correctingNodeS_ = next->timeS;
    submitPlan(correctionWorker_, std::move(request), planCorrection);
    if (waitForResults_) takeCorrection(correctionWorker_.waitAndTake());
}

void FlightPlanner::takeCorrection(std::optional<CorrectionResult> result) {
    if (!result) return;
    correcting_ = false;
    plan_.summary = result->summary;
    std::fprintf(stderr, "corvane: %s\n", result->summary.c_str());
    for (size_t i = 0; i < plan_.nodes.size(); ++i) {
        BurnNode& node = plan_.nodes[i];
        if (node.kind != NodeKind::Correction || node.timeS != correctingNodeS_) continue;
        // None needed (the path already meets the altitude), or none found (cancelled): the node
        // leaves the plan rather than being flown as no burn or asked for again and again.
        if (result->found && length(result->node.deltaVKmPerS) > 0) {
            node = result->node;
        } else {
            plan_.nodes.erase(plan_.nodes.begin() + static_cast<std::ptrdiff_t>(i));
            if (plan_.selected >= static_cast<int>(plan_.nodes.size())) plan_.selected = static_cast<int>(plan_.nodes.size()) - 1;
        }
        break;
    }
    // The capture moves to the corrected closest approach.
    if (result->found)
        for (BurnNode& node : plan_.nodes)
            if (node.kind == NodeKind::Circularise && node.primary == plan_.transferTarget) {
                node.timeS = result->arrivalS;
                break;
            }
    plan_.sortNodes();
    previewWanted_ = true;
}

void FlightPlanner::beforeFrame(SimState& state, float elapsedS) {
    const size_t nodesBefore = plan_.nodes.size();
    autopilotBeforeFrame(pilot_, plan_, state, elapsedS, clockS(state));
    if (plan_.nodes.size() != nodesBefore) previewWanted_ = true;
}

void FlightPlanner::afterFrame(SimState& state, float frameS, bool withPreview) {
    autopilotAfterFrame(pilot_, state, frameS);
    // The frame's time as the step took it (the warped time, as resolveWarpedFrameTime gives it).
    if (!clockSet_) clockS_ = state.missionTimeS, clockSet_ = true;
    else if (state.isLive())
        clockS_ += state.warp.frameWarped ? static_cast<float>(static_cast<double>(frameS) * state.warp.factor()) : frameS;
    if (searching_) takeTransfer(transferWorker_.take());
    correctCourse(state);
    if (!withPreview) return;
    if (std::optional<PlannedPath> done = previewWorker_.take()) preview_ = std::move(*done);
    const double now = clockS(state);
    if (plan_.nodes.empty()) {
        preview_ = PlannedPath{};
        return;
    }
    // The path to a day past the last node; asked again when the plan changed or a sixteenth of
    // that time went by.
    const double horizon = plan_.nodes.back().timeS - now + 86400;
    if (!(horizon > 0)) return;
    if (!previewWanted_ && previewAskedAtS_ >= 0 && now - previewAskedAtS_ < horizon / 16) return;
    previewWanted_ = false;
    previewAskedAtS_ = now;
    PlannedPathRequest request = plannedPathRequest(state, plan_.nodes, horizon, state.nav.target);
    request.nowS = now;
    submitPlan(previewWorker_, std::move(request), predictPlannedPath);
}

void FlightPlanner::finishPreview() {
    if (std::optional<PlannedPath> done = previewWorker_.waitAndTake()) preview_ = std::move(*done);
}
