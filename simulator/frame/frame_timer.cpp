// The frame timer's commands and the pause count that stops and restarts it.
// Pure logic: the clock is a function handed in, so tests can move time by hand.
#include "frame_timer.h"

#include <chrono>

FrameTimer::FrameTimer(Clock clock) : clock_(std::move(clock)) {
    if (!clock_) {
        clock_ = [] {
            using namespace std::chrono;
            return duration<double>(steady_clock::now().time_since_epoch()).count();
        };
    }
}

double FrameTimer::now(bool alwaysClock) {
    if (stopped_ && !alwaysClock) return stopTimeS_;
    return clock_();
}

double FrameTimer::command(int cmd) {
    switch (cmd) {
        case kTimerReset: {
            const double t = now(false);
            baseTimeS_ = t;
            lastElapsedTimeS_ = t;
            stopTimeS_ = 0;
            stopped_ = false;
            return 0;
        }
        case kTimerStart: {
            const double t = now(true);
            if (stopped_) baseTimeS_ += t - stopTimeS_;
            stopTimeS_ = 0;
            lastElapsedTimeS_ = t;
            stopped_ = false;
            return 0;
        }
        case kTimerStop:
            if (!stopped_) {
                const double t = now(false);
                stopTimeS_ = t;
                lastElapsedTimeS_ = t;
                stopped_ = true;
            }
            return 0;
        case kTimerAdvance:
            stopTimeS_ += 0.1;
            return 0;
        case kTimerAbsoluteTime: return now(true);
        case kTimerAppTime: return now(false) - baseTimeS_;
        case kTimerElapsedTime: {
            const double t = now(false);
            const double elapsed = t - lastElapsedTimeS_;
            lastElapsedTimeS_ = t;
            return elapsed;
        }
        default: return -1;
    }
}

bool PauseCount::request(FrameTimer& timer, bool frameMoving) {
    ++count_;
    if (count_ == 1 && frameMoving) timer.command(kTimerStop);
    return true;
}

bool PauseCount::release(FrameTimer& timer, bool frameMoving) {
    if (count_ <= 0) return false;
    --count_;
    if (count_ == 0 && frameMoving) timer.command(kTimerStart);
    return true;
}
