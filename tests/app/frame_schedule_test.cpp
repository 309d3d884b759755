// The window's schedule: steady game ticks, GUI frames only when asked for.

#include "app/frame_schedule.h"

#include <gtest/gtest.h>

namespace {

constexpr double kTick = FrameSchedule::kTickSeconds;

TEST(FrameSchedule, TicksSixtyTimesASecondAndWaitsInBetween) {
    FrameSchedule schedule(10.0);
    EXPECT_DOUBLE_EQ(schedule.WaitBefore(9.5), 0.5);
    EXPECT_FALSE(schedule.TakeTick(9.99));
    int ticks = 0;
    // Woken often (by events), the loop still ticks once per 1/60 s, on the same grid.
    for (double now = 10.0; now < 11.0 - 1e-9; now += 0.001) {
        if (schedule.TakeTick(now)) ++ticks;
    }
    EXPECT_EQ(ticks, 60);
    EXPECT_NEAR(schedule.WaitBefore(11.0), 0.0, 1e-9);
}

TEST(FrameSchedule, AfterAStallTicksOnceAndThenAFullTickLater) {
    FrameSchedule schedule(0.0);
    ASSERT_TRUE(schedule.TakeTick(0.0));
    // Half a second without a chance to run: one tick, not thirty in a row.
    EXPECT_TRUE(schedule.TakeTick(0.5));
    EXPECT_FALSE(schedule.TakeTick(0.5));
    EXPECT_FALSE(schedule.TakeTick(0.5 + kTick / 2));
    EXPECT_TRUE(schedule.TakeTick(0.5 + kTick));
}

TEST(FrameSchedule, BuildsFramesOnlyWhenAskedFor) {
    FrameSchedule schedule(0.0);
    EXPECT_FALSE(schedule.TakeFrame(0.0));
    schedule.RequestFrames(2);
    schedule.RequestFrames(1);  // never fewer than already asked for
    EXPECT_TRUE(schedule.TakeFrame(0.0));
    EXPECT_TRUE(schedule.TakeFrame(kTick));
    EXPECT_FALSE(schedule.TakeFrame(2 * kTick));

    // The caret's next blink: due at its time, once; a later request replaces it.
    schedule.RequestFrameAt(1.0);
    schedule.RequestFrameAt(0.8);
    EXPECT_FALSE(schedule.TakeFrame(0.79));
    EXPECT_TRUE(schedule.TakeFrame(0.81));
    EXPECT_FALSE(schedule.TakeFrame(1.01));
    schedule.RequestFrameAt(-1.0);
    EXPECT_FALSE(schedule.TakeFrame(100.0));
}

}  // namespace
