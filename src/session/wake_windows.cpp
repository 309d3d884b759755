#include "session/wake.h"

namespace wake {

// Windows ends a wait late by at most its timer's tick, a millisecond once the program has asked
// for that resolution, but counts whole milliseconds, cut down.
TimerSlack PlatformTimerSlack() {
    return {0.0, 0.0, true};
}

}  // namespace wake
