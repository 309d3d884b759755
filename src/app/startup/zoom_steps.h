#pragma once

// The text size's named steps, in percent of the size the window started with: the window's
// zoom keys move between them, and the settings keep one.
inline constexpr int kZoomPercents[] = {50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300};
inline constexpr int kZoomStepCount = sizeof kZoomPercents / sizeof kZoomPercents[0];
inline constexpr int kDefaultZoomStep = 5;
