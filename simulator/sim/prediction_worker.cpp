// The prediction thread and the rule for asking it again.
#include "prediction_worker.h"

#include <cmath>
#include <cstring>

#include "sim_state.h"

PredictionWorker::PredictionWorker() : thread_([this] { run(); }) {}

PredictionWorker::~PredictionWorker() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        pending_.reset();
    }
    cancel_.store(true);
    wake_.notify_all();
    thread_.join();
}

void PredictionWorker::submit(PredictionRequest request) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_ = std::move(request);
    }
    wake_.notify_one();
}

std::optional<PredictedPath> PredictionWorker::take() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::optional<PredictedPath> result = std::move(finished_);
    finished_.reset();
    return result;
}

bool PredictionWorker::busy() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return working_ || pending_.has_value();
}

void PredictionWorker::waitIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return !working_ && !pending_; });
}

void PredictionWorker::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
        if (stopping_) return;
        PredictionRequest request = std::move(*pending_);
        pending_.reset();
        request.cancel = &cancel_;
        working_ = true;
        lock.unlock();
        PredictedPath path = predictTrajectory(std::move(request));
        lock.lock();
        finished_ = std::move(path);
        working_ = false;
        if (!pending_) idle_.notify_all();
    }
}

namespace {
bool sameBits(Vec3f a, Vec3f b) { return std::memcmp(&a, &b, sizeof a) == 0; }
}  // namespace

bool PredictionTrigger::wanted(const SimState& state, double horizonS, int targetIndex) {
    if (state.objects.empty()) return false;
    const SimObject& ship = state.observer();
    const bool changed = !asked_ || !sameBits(ship.actingForceKN, force_) ||
                         !sameBits(ship.forwardDirection, forward_) ||
                         !sameBits(ship.upDirection, up_) || !sameBits(ship.rightDirection, right_) ||
                         !sameBits(state.integrator.origin, origin_) ||
                         state.warp.level != warpLevel_ || horizonS != horizonS_ ||
                         targetIndex != targetIndex_ ||
                         std::fabs(double(state.missionTimeS) - missionTimeS_) >= horizonS / 16;
    if (!changed) return false;
    asked_ = true;
    force_ = ship.actingForceKN;
    forward_ = ship.forwardDirection;
    up_ = ship.upDirection;
    right_ = ship.rightDirection;
    origin_ = state.integrator.origin;
    warpLevel_ = state.warp.level;
    horizonS_ = horizonS;
    targetIndex_ = targetIndex;
    missionTimeS_ = state.missionTimeS;
    return true;
}

PredictionRequest predictionRequest(const SimState& state, double horizonS, int targetIndex) {
    PredictionRequest request;
    request.objects = state.objects;
    request.integrator = state.integrator;
    // One thread: the frame's own integrator keeps the other core.
    request.integrator.setThreadCount(1);
    request.horizonS = horizonS;
    request.startMissionTimeS = static_cast<double>(state.missionTimeS);
    request.targetIndex = targetIndex;
    return request;
}
