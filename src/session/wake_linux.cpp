#include <sys/resource.h>

#include <cerrno>

#include "session/wake.h"

namespace wake {

namespace {

// How Linux estimates a poll's or select's slack (select_estimate_accuracy in fs/select.c): the
// wait's length over 1000, over 200 for a niced thread, at most 0.1 s.
constexpr double kSlackDivisor = 1000.0;
constexpr double kNicedSlackDivisor = 200.0;
constexpr double kLongestSlack = 0.1;

// The calling thread's nice value (Linux keeps one for each thread).
int Niceness() {
    errno = 0;
    const int niceness = getpriority(PRIO_PROCESS, 0);
    return errno == 0 ? niceness : 0;
}

}  // namespace

TimerSlack PlatformTimerSlack() {
    return {Niceness() > 0 ? kNicedSlackDivisor : kSlackDivisor, kLongestSlack, false};
}

}  // namespace wake
