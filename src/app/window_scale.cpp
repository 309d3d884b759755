#include "app/window_scale.h"

#include <algorithm>
#include <cmath>

#include "app/command_line.h"

namespace {

int Scaled(int size, float scale) {
    return static_cast<int>(std::lround(static_cast<double>(size) * scale));
}

}  // namespace

WindowScale ChooseWindowScale(std::optional<float> requested, float contentScale, int workWidth,
                              int workHeight) {
    WindowScale chosen;
    if (requested) {
        chosen.scale = *requested;
    } else {
        // A desktop that reports nonsense gets the plain size.
        if (std::isfinite(contentScale) && contentScale > 0.0f) chosen.scale = contentScale;
        chosen.scale = std::clamp(chosen.scale, kSmallestScale, kLargestScale);
        if (workWidth > 0 && workHeight > 0) {
            const float fits = std::min(static_cast<float>(workWidth) / kBaseWindowWidth,
                                        static_cast<float>(workHeight) / kBaseWindowHeight);
            chosen.scale = std::max(kSmallestScale, std::min(chosen.scale, fits));
        }
    }
    chosen.width = Scaled(kBaseWindowWidth, chosen.scale);
    chosen.height = Scaled(kBaseWindowHeight, chosen.scale);
    if (!requested && workWidth > 0 && workHeight > 0 && chosen.scale > kSmallestScale) {
        // Rounding must not push a fitted window a pixel past the edge.
        chosen.width = std::min(chosen.width, workWidth);
        chosen.height = std::min(chosen.height, workHeight);
    }
    return chosen;
}
