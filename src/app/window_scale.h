#pragma once

#include <optional>

// The window's size in pixels at scale 1; every size in it grows with the scale.
inline constexpr int kBaseWindowWidth = 1280;
inline constexpr int kBaseWindowHeight = 720;

struct WindowScale {
    float scale = 1.0f;
    int width = kBaseWindowWidth;
    int height = kBaseWindowHeight;
};

// The scale the window opens at: `requested` (--scale) if given, else the desktop's content
// scale, lowered until the window fits a work area of `workWidth` × `workHeight` (0 when the
// screen is unknown), though never below the smallest --scale. The size is rounded to whole
// pixels and, when fitted, kept inside the work area.
WindowScale ChooseWindowScale(std::optional<float> requested, float contentScale, int workWidth,
                              int workHeight);
