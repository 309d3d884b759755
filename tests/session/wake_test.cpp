// How long a front end may sleep, from what may wake it.

#include "session/wake.h"

#include <gtest/gtest.h>

#include <thread>

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
// wake before anything is due and wait again. A slack of exactly a millisecond is left alone.
// Windows counts whole milliseconds, cut down:
// never one short of the time (1.001 s is a hair under 1001 ms as a double).
TEST(Wake, PlatformWaitsStopShortOfTheSlackAndTimeoutsRoundUp) {
    const wake::TimerSlack nice0{1000.0, 0.1, false}, niced{200.0, 0.1, false};
    const wake::TimerSlack windows{0.0, 0.0, true}, none{};
    const struct {
        double seconds;
        wake::TimerSlack slack;
        double asked;
    } rows[] = {
        {20.0, nice0, 19.96},      {1000.0, nice0, 999.8},      {0.5, nice0, 0.5},
        {1.0, nice0, 1.0},         {20.0, niced, 19.8},         {0.5, niced, 0.495},
        {kNever, niced, kNever},   {1.0 / 60, niced, 1.0 / 60}, {20.0, none, 20.0},
        {0.0011, windows, 0.0025}, {0.002, windows, 0.0025},    {1.001, windows, 1.0015},
        {0.0, windows, 0.0},
    };
    for (const auto& row : rows) {
        EXPECT_DOUBLE_EQ(wake::StoppedShortOfSlack(row.seconds, row.slack), row.asked)
            << row.seconds << " s, divisor " << row.slack.divisor;
    }
#if defined(__linux__)
    // The slack follows the waiting thread's nice value, read at each wait: niced (as far as
    // it goes, which any thread may do), a text due in 20 s is asked for 0.2 s early.
    double nicedWait = 0.0;
    std::thread([&nicedWait] {
        setpriority(PRIO_PROCESS, 0, 19);
        nicedWait = WaitForGameChangeIn(20.0);
    }).join();
    EXPECT_DOUBLE_EQ(nicedWait, 19.8);
#endif
    EXPECT_EQ(wake::TimeoutMillis(0.0), 0);
    EXPECT_EQ(wake::TimeoutMillis(0.0011), 2);
    EXPECT_EQ(wake::TimeoutMillis(2.0), 2000);
    EXPECT_EQ(wake::TimeoutMillis(kNever), -1);
    EXPECT_EQ(wake::TimeoutMillis(1e12), 24 * 3600 * 1000);
}

}  // namespace
