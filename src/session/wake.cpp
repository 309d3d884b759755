#include "session/wake.h"

#include <algorithm>
#include <cmath>

namespace wake {

namespace {

// Far beyond any timer of the story, and within an int of milliseconds.
constexpr double kLongestTimeoutSeconds = 24.0 * 3600.0;
// Slack this small is left alone: a wake-up more would buy nothing a player sees.
constexpr double kNegligibleSlack = 0.001;

double SecondsToSleep(const Sources& sources) {
    const double frameAllowed = std::max(0.0, sources.frameAllowedIn);
    if (sources.inputWaiting) return frameAllowed;
    const double timedFrame =
        sources.timedFrameIn == kNever ? kNever : std::max(sources.timedFrameIn, frameAllowed);
    return std::max(0.0, std::min(sources.gameChangeIn, timedFrame));
}

}  // namespace

double StoppedShortOfSlack(double seconds, const TimerSlack& slack) {
    if (seconds <= 0.0 || seconds == kNever) return seconds;
    if (slack.wholeMilliseconds) return (std::ceil(seconds * 1000.0 - 1e-6) + 0.5) / 1000.0;
    if (slack.divisor <= 0.0) return seconds;
    const double late = std::min(seconds / slack.divisor, slack.longest);
    if (late <= kNegligibleSlack) return seconds;
    return seconds - 2.0 * late;
}

double PlatformWaitFor(const Sources& sources) {
    return StoppedShortOfSlack(SecondsToSleep(sources), PlatformTimerSlack());
}

int TimeoutMillis(double seconds) {
    if (seconds == kNever) return -1;
    const double clamped = std::clamp(seconds, 0.0, kLongestTimeoutSeconds);
    return static_cast<int>(std::ceil(clamped * 1000.0));
}

}  // namespace wake
