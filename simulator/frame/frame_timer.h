// FrameTimer: the stoppable application clock with its seven commands, and PauseCount: the pause
// requests and releases that stop and restart it. Neither touches SDL; the clock is injectable.
#pragma once

#include <functional>

enum FrameTimerCommand : int {
    kTimerReset = 0,        // base and last-elapsed := now; running
    kTimerStart = 1,        // a stopped clock resumes without counting the stopped span
    kTimerStop = 2,         // freeze: later reads return the stop time
    kTimerAdvance = 3,      // stop time += 0.1 s
    kTimerAbsoluteTime = 4, // the clock itself
    kTimerAppTime = 5,      // now - base
    kTimerElapsedTime = 6,  // now - previous elapsed read
};

class FrameTimer {
public:
    using Clock = std::function<double()>;  // seconds, monotonic

    // Without a clock the steady system clock is used.
    explicit FrameTimer(Clock clock = {});

    // Runs one command; returns its result in seconds (0 for the state-changing commands, -1 for
    // an unknown command). "now" is the stop time while stopped, except for start and absolute
    // time, which always read the clock.
    double command(int cmd);

    bool stopped() const { return stopped_; }

private:
    double now(bool alwaysClock);

    Clock clock_;
    bool stopped_ = false;
    double baseTimeS_ = 0;
    double stopTimeS_ = 0;
    double lastElapsedTimeS_ = 0;
};

// Pause requests and releases. The frame is active exactly when the count is 0. The timer stops
// when a request takes the count to 1 and starts again when the count returns to 0, both only
// while frame moving is on. A release at count 0 is refused (it would leave the frame paused
// until an unmatched request arrived) and returns false.
class PauseCount {
public:
    bool request(FrameTimer& timer, bool frameMoving);
    bool release(FrameTimer& timer, bool frameMoving);
    int count() const { return count_; }
    bool active() const { return count_ == 0; }

private:
    int count_ = 0;
};
