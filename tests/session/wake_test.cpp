// How long a front end may sleep, from what may wake it.

#include "session/wake.h"

#include <gtest/gtest.h>

namespace {

constexpr double kNever = wake::kNever;

TEST(Wake, InputFirstThenTheEarliestDueAndNoPollWhileAFrameIsRateLimited) {
    struct Case {
        const char* what;
        wake::Sources sources;
        double sleep;
    };
    const Case cases[] = {
        {"nothing due: until input", {false, kNever, kNever, 0.0}, kNever},
        {"input waiting: at once", {true, 5.0, kNever, 0.0}, 0.0},
        {"input waiting, frame rate-limited: until it is allowed", {true, 0.0, 0.0, 0.01}, 0.01},
        {"input waiting takes the frame even past the game's time",
         {true, -1.0, kNever, 0.004},
         0.004},
        {"the game's change", {false, 2.5, kNever, 0.0}, 2.5},
        {"the game's change is not rate-limited", {false, 0.0, kNever, 0.01}, 0.0},
        {"overdue game change: at once", {false, -0.5, kNever, 0.0}, 0.0},
        {"a timed frame before the game's change", {false, 2.5, 0.4, 0.0}, 0.4},
        {"the game's change before a timed frame", {false, 0.3, 0.4, 0.0}, 0.3},
        {"a frame wanted now waits for the frame rate", {false, kNever, 0.0, 0.01}, 0.01},
        {"a timed frame after the rate limit", {false, kNever, 0.5, 0.01}, 0.5},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(wake::SecondsToSleep(c.sources), c.sleep) << c.what;
    }
}

// A wait is asked of the platform short of its timer slack, then as milliseconds rounded up:
// a timeout cut short would wake before anything is due and wait again.
TEST(Wake, PlatformWaitsStopShortOfTheSlackAndTimeoutsRoundUp) {
#if defined(__linux__)
    EXPECT_DOUBLE_EQ(wake::PlatformWaitFor(20.0), 20.0 - 0.04);
    EXPECT_DOUBLE_EQ(wake::PlatformWaitFor(1000.0), 1000.0 - 0.2);
    EXPECT_DOUBLE_EQ(wake::PlatformWaitFor(0.5), 0.5);
    EXPECT_LE(wake::PlatformWaitFor(20.0), 20.0);
#elif defined(_WIN32)
    // Waits count whole milliseconds, cut down: never one short of the time.
    EXPECT_EQ(static_cast<long>(wake::PlatformWaitFor(0.0011) * 1e3), 2);
    EXPECT_EQ(static_cast<long>(wake::PlatformWaitFor(0.002) * 1e3), 2);
#endif
    EXPECT_EQ(wake::TimeoutMillis(0.0), 0);
    EXPECT_EQ(wake::TimeoutMillis(0.0011), 2);
    EXPECT_EQ(wake::TimeoutMillis(2.0), 2000);
    EXPECT_EQ(wake::TimeoutMillis(kNever), -1);
    EXPECT_EQ(wake::TimeoutMillis(1e12), 24 * 3600 * 1000);
}

}  // namespace
