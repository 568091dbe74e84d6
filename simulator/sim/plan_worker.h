// One thread that runs jobs (predictions, paths with burns, transfer searches) away from the frame.
// The newest job wins: one submitted while another runs replaces any job still waiting. A planning
// worker also tells the running job to stop through its cancel flag and keeps only the newest
// job's result; a worker that lets jobs finish (predictions: at high warp a new one is asked for
// every frame) keeps every finished result until a newer one comes. A result is taken once.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

template <class Result>
class PlanWorker {
public:
    using Job = std::function<Result(const std::atomic<bool>& cancel)>;

    explicit PlanWorker(bool newJobStopsRunning = true)
        : newJobStopsRunning_(newJobStopsRunning), thread_([this] { run(); }) {}
    ~PlanWorker() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
            cancel_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    PlanWorker(const PlanWorker&) = delete;
    PlanWorker& operator=(const PlanWorker&) = delete;

    void submit(Job job) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            pending_ = std::move(job);
            if (newJobStopsRunning_) cancel_ = true;  // the running job is stale
        }
        wake_.notify_all();
    }
    std::optional<Result> take() {
        std::lock_guard<std::mutex> lock(mutex_);
        std::optional<Result> r = std::move(finished_);
        finished_.reset();
        return r;
    }
    bool busy() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return pending_.has_value() || working_;
    }
    void waitIdle() {
        std::unique_lock<std::mutex> lock(mutex_);
        idle_.wait(lock, [this] { return !pending_ && !working_; });
    }
    // Waits for the jobs, then takes the result (scripted runs take it in the same frame).
    std::optional<Result> waitAndTake() {
        waitIdle();
        return take();
    }

private:
    void run() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
            if (stopping_) return;
            Job job = std::move(*pending_);
            pending_.reset();
            working_ = true;
            cancel_ = false;
            lock.unlock();
            Result result = job(cancel_);
            lock.lock();
            working_ = false;
            if (!pending_ || !newJobStopsRunning_) finished_ = std::move(result);
            idle_.notify_all();
        }
    }

    mutable std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::optional<Job> pending_;
    std::optional<Result> finished_;
    bool working_ = false;
    bool stopping_ = false;
    const bool newJobStopsRunning_;
    std::atomic<bool> cancel_{false};
    std::thread thread_;  // last: starts after the other members exist
};

// Submits plan(request) to worker, with the job's cancel flag in the request's cancel field.
template <class Result, class Request>
void submitPlan(PlanWorker<Result>& worker, Request request, Result (*plan)(Request)) {
    worker.submit([request = std::move(request), plan](const std::atomic<bool>& cancel) mutable {
        request.cancel = &cancel;
        return plan(std::move(request));
    });
}
