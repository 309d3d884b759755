#pragma once

// The window's own keys, which act on the window rather than on the input line: the text size,
// full screen, scrolling the story, copying it and the time to act. Plain functions of what GLFW
// reports, so that every layout's case is checked without a window.

#include "app/startup/zoom_steps.h"

enum class Shortcut {
    None,
    ZoomIn,
    ZoomOut,
    ZoomReset,
    FullScreen,
    PageUp,
    PageDown,
    ToStart,
    ToEnd,
    CopyStory,
    TimeToAct,  // the next step of the time to act (time_to_act.h)
};

// The shortcut a key press (or repeat) gives: GLFW's `key` (a physical position), `keyName`
// (what glfwGetKeyName says the keyboard layout types there, or nullptr) and `mods`. Ctrl's
// shortcuts follow the character the layout types, as desktop programs do; a layout whose key
// types no ASCII character (Cyrillic, or "à" on the French layout's 0) falls back to the key's
// US position.
Shortcut ShortcutForKey(int key, const char* keyName, int mods);

// The step a zoom shortcut leads to from `step`; others leave it as it is. Steps out of range are
// brought into it.
int NextZoomStep(int step, Shortcut shortcut);
// The text's scale at zoom step `step`, given its `scale` at 100%.
float ZoomedScale(float scale, int step);

// Turns the mouse wheel with Ctrl held into zoom steps: one step a notch. A touchpad reports a
// notch in small parts, which are summed until they make one; turning back starts anew.
class WheelZoom {
public:
    Shortcut Take(double yOffset, bool ctrlHeld);

private:
    double pending_ = 0.0;
};
