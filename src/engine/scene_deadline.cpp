#include "engine/scene_deadline.h"

#include <cmath>
#include <limits>

namespace {

constexpr float kUp = std::numeric_limits<float>::infinity();

bool OlderThan(float now, float sceneStart, float seconds) {
    return now - sceneStart > seconds;
}

}  // namespace

double EarliestClockOlderThan(float sceneStart, float seconds) {
    // The sum is within an ulp or two of the first float reading that passes; walk to it.
    float due = sceneStart + seconds;
    while (!OlderThan(due, sceneStart, seconds)) due = std::nextafter(due, kUp);
    while (OlderThan(std::nextafter(due, -kUp), sceneStart, seconds)) {
        due = std::nextafter(due, -kUp);
    }
    // The clock is read rounded to the nearest float: from halfway below `due` it reads `due`,
    // unless the tie goes to the even neighbour below.
    const double below = std::nextafter(due, -kUp);
    double earliest = (below + static_cast<double>(due)) / 2.0;
    if (static_cast<float>(earliest) != due) {
        earliest = std::nextafter(earliest, std::numeric_limits<double>::infinity());
    }
    return earliest;
}
