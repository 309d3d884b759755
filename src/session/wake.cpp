#include "session/wake.h"

#include <algorithm>
#include <cmath>

#if defined(__linux__)
#include <sys/resource.h>

#include <cerrno>
#endif

namespace wake {

namespace {

// Far beyond any timer of the story, and within an int of milliseconds.
constexpr double kLongestTimeoutSeconds = 24.0 * 3600.0;
// How Linux estimates a poll's or select's slack (select_estimate_accuracy in fs/select.c): the
// wait's length over 1000, over 200 for a niced thread, at most 0.1 s.
constexpr double kSlackDivisor = 1000.0;
constexpr double kNicedSlackDivisor = 200.0;
constexpr double kLongestSlack = 0.1;
// Slack this small is left alone: a wake-up more would buy nothing a player sees.
constexpr double kNegligibleSlack = 0.001;

double SecondsToSleep(const Sources& sources) {
    const double frameAllowed = std::max(0.0, sources.frameAllowedIn);
    if (sources.inputWaiting) return frameAllowed;
    const double timedFrame =
        sources.timedFrameIn == kNever ? kNever : std::max(sources.timedFrameIn, frameAllowed);
    return std::max(0.0, std::min(sources.gameChangeIn, timedFrame));
}

#if defined(__linux__)
// The calling thread's nice value, on which the kernel's slack for its waits depends; read at
// each wait, since the player may renice the game while it runs.
int Niceness() {
    errno = 0;
    const int niceness = getpriority(PRIO_PROCESS, 0);
    return errno == 0 ? niceness : 0;
}
#endif

double StoppedShortOfTimerSlack(double seconds) {
#if defined(__linux__)
    return StoppedShortOfLinuxSlack(seconds, Niceness());
#elif defined(_WIN32)
    // Windows ends a wait late by at most its timer's tick, a millisecond once the program has
    // asked for that resolution, but counts whole milliseconds, cut down: a wait left with less
    // than one would end at once, find nothing due and wait again. Rounded up, with half a
    // millisecond for the cut.
    if (seconds <= 0.0 || seconds == kNever) return seconds;
    return (std::ceil(seconds * 1000.0 - 1e-6) + 0.5) / 1000.0;
#else
    // Elsewhere a timed wait ends at its time, within the scheduler's tick.
    return seconds;
#endif
}

}  // namespace

double StoppedShortOfLinuxSlack(double seconds, int niceness) {
    if (seconds <= 0.0 || seconds == kNever) return seconds;
    const double divisor = niceness > 0 ? kNicedSlackDivisor : kSlackDivisor;
    const double slack = std::min(seconds / divisor, kLongestSlack);
    if (slack <= kNegligibleSlack) return seconds;
    return seconds - 2.0 * slack;
}

double PlatformWaitFor(const Sources& sources) {
    return StoppedShortOfTimerSlack(SecondsToSleep(sources));
}

int TimeoutMillis(double seconds) {
    if (seconds == kNever) return -1;
    const double clamped = std::clamp(seconds, 0.0, kLongestTimeoutSeconds);
    return static_cast<int>(std::ceil(clamped * 1000.0));
}

}  // namespace wake
