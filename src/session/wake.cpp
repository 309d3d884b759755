#include "session/wake.h"

#include <algorithm>
#include <cmath>

namespace wake {

namespace {

// Far beyond any timer of the story, and within an int of milliseconds.
constexpr double kLongestTimeoutSeconds = 24.0 * 3600.0;

double SecondsToSleep(const Sources& sources) {
    const double frameAllowed = std::max(0.0, sources.frameAllowedIn);
    if (sources.inputWaiting) return frameAllowed;
    const double timedFrame =
        sources.timedFrameIn == kNever ? kNever : std::max(sources.timedFrameIn, frameAllowed);
    return std::max(0.0, std::min(sources.gameChangeIn, timedFrame));
}

double StoppedShortOfTimerSlack(double seconds) {
#if defined(__linux__)
    // Linux lets poll(), select() and the like end up to a thousandth of their length late (the
    // timer slack, at most 0.1 s): a text due in 20 s would come 20 ms late. A wait of more than
    // a second stops short by twice that.
    if (seconds <= 1.0) return seconds;
    return seconds - std::min(seconds * 0.002, 0.2);
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

double PlatformWaitFor(const Sources& sources) {
    return StoppedShortOfTimerSlack(SecondsToSleep(sources));
}

int TimeoutMillis(double seconds) {
    if (seconds == kNever) return -1;
    const double clamped = std::clamp(seconds, 0.0, kLongestTimeoutSeconds);
    return static_cast<int>(std::ceil(clamped * 1000.0));
}

}  // namespace wake
