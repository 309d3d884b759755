#pragma once

#include <algorithm>

// How long to ask poll() or select() to sleep when the wake-up is due in `seconds`. Linux lets
// such a wait end up to a thousandth of its length late (at most 0.1 s): a text due in 20 s
// would come 20 ms late. A wait of more than a second stops short by twice that, and the
// front end then sleeps the short rest, which ends on time.
inline double WakeEarlyFor(double seconds) {
    if (seconds <= 1.0) return seconds;
    return seconds - std::min(seconds * 0.002, 0.2);
}
