#pragma once

#include <optional>
#include <vector>

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

// A screen's work area (the screen less its panels) in desktop pixels, and its scale; a width
// or height of 0 when unknown.
struct WorkArea {
    float contentScale = 1.0f;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// What the window manager adds around the window (title bar, borders), in pixels.
struct FrameExtents {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct WindowPlacement {
    WindowScale size;
    bool positioned = false;  // whether x and y apply; else the window manager places it
    int x = 0;                // of the window's content, as glfwSetWindowPos takes it
    int y = 0;
};

// The window's scale, size and place: chosen as ChooseWindowScale does for the room the work area
// leaves once the frame is added, and centred in the work area frame included.
WindowPlacement PlaceWindow(std::optional<float> requested, const WorkArea& area,
                            const FrameExtents& frame);

// A rectangle of the desktop in pixels: a window's content or a monitor's screen.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The index of the screen that shows most of `window`; a window on none of them goes to the
// first. -1 when there is no screen.
int MostOverlapped(const ScreenRect& window, const std::vector<ScreenRect>& screens);
