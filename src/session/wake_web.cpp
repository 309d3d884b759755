#include "session/wake.h"

namespace wake {

// A page's timer ends at its time, within the browser's tick.
TimerSlack PlatformTimerSlack() {
    return {};
}

}  // namespace wake
