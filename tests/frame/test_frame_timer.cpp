// The frame timer's commands and the pause count's effect on application time, with a clock the
// test moves by hand.
#include <gtest/gtest.h>

#include "frame_timer.h"

namespace {

struct ManualClock {
    double nowS = 1000.0;
    FrameTimer::Clock clock() {
        return [this] { return nowS; };
    }
};

TEST(FrameTimer, CommandsReadAndFreezeTheClock) {
    ManualClock c;
    FrameTimer t(c.clock());
    EXPECT_EQ(t.command(kTimerReset), 0);
    c.nowS += 2.5;
    EXPECT_DOUBLE_EQ(t.command(kTimerAppTime), 2.5);
    EXPECT_DOUBLE_EQ(t.command(kTimerElapsedTime), 2.5);
    c.nowS += 0.25;
    EXPECT_DOUBLE_EQ(t.command(kTimerElapsedTime), 0.25);
    EXPECT_DOUBLE_EQ(t.command(kTimerElapsedTime), 0.0);
    EXPECT_DOUBLE_EQ(t.command(kTimerAbsoluteTime), c.nowS);

    // Stopped: application time stands, elapsed is 0, absolute time still runs.
    t.command(kTimerStop);
    EXPECT_TRUE(t.stopped());
    c.nowS += 10;
    EXPECT_DOUBLE_EQ(t.command(kTimerAppTime), 2.75);
    EXPECT_DOUBLE_EQ(t.command(kTimerElapsedTime), 0.0);
    EXPECT_DOUBLE_EQ(t.command(kTimerAbsoluteTime), c.nowS);
    // A second stop changes nothing.
    t.command(kTimerStop);
    EXPECT_DOUBLE_EQ(t.command(kTimerAppTime), 2.75);

    // Advance moves the stopped clock by exactly 0.1 s.
    t.command(kTimerAdvance);
    constexpr double kTolS = 1e-9;  // the clock's base of 1000 s costs a few ulps
    EXPECT_NEAR(t.command(kTimerAppTime), 2.85, kTolS);
    EXPECT_NEAR(t.command(kTimerElapsedTime), 0.1, kTolS);

    // Start: the stopped span does not count (the advance does), elapsed counts from the start.
    t.command(kTimerStart);
    EXPECT_FALSE(t.stopped());
    EXPECT_NEAR(t.command(kTimerAppTime), 2.85, kTolS);
    c.nowS += 1;
    EXPECT_DOUBLE_EQ(t.command(kTimerElapsedTime), 1.0);
    EXPECT_NEAR(t.command(kTimerAppTime), 3.85, kTolS);

    EXPECT_EQ(t.command(7), -1);
    EXPECT_EQ(t.command(-1), -1);
}

TEST(PauseCount, PausesStopTimeAndReleasesBalanceThem) {
    ManualClock c;
    FrameTimer t(c.clock());
    t.command(kTimerReset);
    PauseCount p;
    EXPECT_TRUE(p.active());

    // A pause and a release do not move application time by the paused span.
    c.nowS += 1;
    p.request(t, true);
    EXPECT_FALSE(p.active());
    EXPECT_TRUE(t.stopped());
    c.nowS += 50;
    p.release(t, true);
    EXPECT_TRUE(p.active());
    EXPECT_DOUBLE_EQ(t.command(kTimerAppTime), 1.0);
    EXPECT_DOUBLE_EQ(t.command(kTimerElapsedTime), 0.0);  // counts only from the resumption

    // Two pauses need two releases.
    p.request(t, true);
    p.request(t, true);
    EXPECT_EQ(p.count(), 2);
    p.release(t, true);
    EXPECT_FALSE(p.active());
    EXPECT_TRUE(t.stopped());
    p.release(t, true);
    EXPECT_TRUE(p.active());
    EXPECT_FALSE(t.stopped());

    // A release without a request is refused and leaves the frame active.
    EXPECT_FALSE(p.release(t, true));
    EXPECT_EQ(p.count(), 0);
    EXPECT_TRUE(p.active());

    // With frame moving off the timer is not touched.
    t.command(kTimerStop);
    p.request(t, false);
    p.release(t, false);
    EXPECT_TRUE(t.stopped());
}

}  // namespace
