// How long a front end may sleep, from what may wake it.

#include "session/wake.h"

#include <gtest/gtest.h>

#if defined(__linux__)
#include <sys/resource.h>
#endif

namespace {

constexpr double kNever = wake::kNever;

// A wait for the game's change alone, as the platform's timed wait is asked for it.
double WaitForGameChangeIn(double seconds) {
    return wake::PlatformWaitFor({false, seconds, kNever, 0.0});
}

TEST(Wake, InputFirstThenTheEarliestDueAndNoPollWhileAFrameIsRateLimited) {
    struct Case {
        const char* what;
        wake::Sources sources;
        double sleep;
    };
    const Case cases[] = {
        {"nothing due: until input", {false, kNever, kNever, 0.0}, kNever},
        {"input waiting: at once", {true, 5.0, kNever, 0.0}, 0.0},
        {"input waiting, frame rate-limited: until it is allowed", {true, 0.0, 0.0, 0.05}, 0.05},
        {"input waiting takes the frame even past the game's time",
         {true, -1.0, kNever, 0.04},
         0.04},
        {"the game's change", {false, 0.8, kNever, 0.0}, 0.8},
        {"the game's change is not rate-limited", {false, 0.0, kNever, 0.01}, 0.0},
        {"overdue game change: at once", {false, -0.5, kNever, 0.0}, 0.0},
        {"a timed frame before the game's change", {false, 0.8, 0.4, 0.0}, 0.4},
        {"the game's change before a timed frame", {false, 0.3, 0.4, 0.0}, 0.3},
        {"a frame wanted now waits for the frame rate", {false, kNever, 0.0, 0.01}, 0.01},
        {"a timed frame after the rate limit", {false, kNever, 0.5, 0.01}, 0.5},
    };
    for (const Case& c : cases) {
        const double wait = wake::PlatformWaitFor(c.sources);
        if (c.sleep == kNever || c.sleep == 0.0) {
            EXPECT_EQ(wait, c.sleep) << c.what;
        } else {
            // Within the platform's rounding of short waits, or its slack (a niced test run).
            EXPECT_NEAR(wait, c.sleep, 0.01) << c.what;
        }
    }
}

// A wait is asked of the platform short of its timer slack (a text due in 20 s would otherwise
// come tens of milliseconds late), then as milliseconds rounded up: a timeout cut short would
// wake before anything is due and wait again.
TEST(Wake, PlatformWaitsStopShortOfTheSlackAndTimeoutsRoundUp) {
#if defined(__linux__)
    // At this thread's own nice value, since tests may run niced.
    const double asked = wake::StoppedShortOfLinuxSlack(20.0, getpriority(PRIO_PROCESS, 0));
    EXPECT_DOUBLE_EQ(WaitForGameChangeIn(20.0), asked);
#elif defined(_WIN32)
    // Waits count whole milliseconds, cut down: never one short of the time.
    EXPECT_EQ(static_cast<long>(WaitForGameChangeIn(0.0011) * 1e3), 2);
    EXPECT_EQ(static_cast<long>(WaitForGameChangeIn(0.002) * 1e3), 2);
    // 1.001 s is a hair under 1001 ms as a double: cut down, the wait would end 1 ms early.
    EXPECT_EQ(static_cast<long>(WaitForGameChangeIn(1.001) * 1e3), 1001);
    EXPECT_EQ(WaitForGameChangeIn(0.0), 0.0);
#endif
    // A niced thread's slack is five times as long: 100 ms on a text due in 20 s.
    struct Row {
        double seconds;
        int niceness;
        double asked;
    };
    const Row rows[] = {{20.0, 0, 19.96},    {1000.0, 0, 999.8}, {0.5, 0, 0.5},
                        {20.0, 10, 19.8},    {0.5, 19, 0.495},   {1.0 / 60, 10, 1.0 / 60},
                        {kNever, 10, kNever}};
    for (const Row& row : rows) {
        EXPECT_DOUBLE_EQ(wake::StoppedShortOfLinuxSlack(row.seconds, row.niceness), row.asked)
            << row.seconds << " s at nice " << row.niceness;
    }
    EXPECT_EQ(wake::TimeoutMillis(0.0), 0);
    EXPECT_EQ(wake::TimeoutMillis(0.0011), 2);
    EXPECT_EQ(wake::TimeoutMillis(2.0), 2000);
    EXPECT_EQ(wake::TimeoutMillis(kNever), -1);
    EXPECT_EQ(wake::TimeoutMillis(1e12), 24 * 3600 * 1000);
}

}  // namespace
