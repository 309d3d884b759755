#include "app/window/window_scale.h"

#include <algorithm>
#include <cmath>

#include "app/startup/command_line.h"

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

WindowPlacement PlaceWindow(std::optional<float> requested, const WorkArea& area,
                            const FrameExtents& frame) {
    const int roomWidth = std::max(0, area.width - frame.left - frame.right);
    const int roomHeight = std::max(0, area.height - frame.top - frame.bottom);
    WindowPlacement placement;
    placement.size = ChooseWindowScale(requested, area.contentScale, roomWidth, roomHeight);
    if (roomWidth > 0 && roomHeight > 0) {
        // A window larger than the room (--scale) keeps its title bar on screen.
        placement.positioned = true;
        placement.x = area.left + frame.left + std::max(0, (roomWidth - placement.size.width) / 2);
        placement.y = area.top + frame.top + std::max(0, (roomHeight - placement.size.height) / 2);
    }
    return placement;
}

int MostOverlapped(const ScreenRect& window, const std::vector<ScreenRect>& screens) {
    int chosen = screens.empty() ? -1 : 0;
    long long largest = 0;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const ScreenRect& screen = screens[i];
        const long long width =
            std::min<long long>(0LL + window.x + window.width, 0LL + screen.x + screen.width) -
            std::max(window.x, screen.x);
        const long long height =
            std::min<long long>(0LL + window.y + window.height, 0LL + screen.y + screen.height) -
            std::max(window.y, screen.y);
        if (width > 0 && height > 0 && width * height > largest) {
            largest = width * height;
            chosen = static_cast<int>(i);
        }
    }
    return chosen;
}
