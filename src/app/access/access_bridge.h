#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "console/console.h"

struct GLFWwindow;

// Where the window is on the screen, how the console laid its text out there, and whether the
// window has the keyboard.
struct AccessWindow {
    int x = 0;  // where the window's content was when last asked
    int y = 0;
    unsigned long nativeWindow = 0;  // on Linux the X window, asked again as extents are asked
    ConsoleLayout layout;
    bool focused = false;
};

// A screen reader's edit of the line being typed (braille input, its editing keys): characters
// [start, end) of the line replaced by `text`.
struct LineEdit {
    int start = 0;
    int end = 0;
    std::u32string text;
};

// The window in the desktop's accessibility tree, for the player's own screen reader: on Linux
// through ATK and its AT-SPI bridge, whose work runs on a thread of its own and answers from the
// last state handed over; on Windows through UI Automation's provider, started on `window` and
// answering on the window's thread.
class AccessBridge {
public:
    // `wake` wakes the window's loop, from any thread, when the reader edited the line.
    AccessBridge(const std::string& applicationName, GLFWwindow* window,
                 std::function<void()> wake);
    ~AccessBridge();
    AccessBridge(const AccessBridge&) = delete;
    AccessBridge& operator=(const AccessBridge&) = delete;

    // Hands over what the window shows after a frame: the story as plain text (it only grows)
    // and the console as it drew it (its rows, its layout, the line being typed). The first call
    // starts the bridge. When nothing changed it only compares.
    void Show(const std::string& story, const Console& console, bool focused);
    // A key event (GLFW's key, scancode, action and modifiers) before the game sees it: whether
    // the game gets it. While a screen reader listens for keys, it is asked first, and the
    // answer is awaited for a short while at most.
    bool PassKey(int key, int scancode, int action, int mods);
    // The reader's edits of the line since the last call, in order, for the window to type
    // into the line (on the window's thread, after `wake`).
    std::vector<LineEdit> TakeLineEdits();

    // What the system's bridge keeps, shared with its thread.
    struct Bridge;

private:
    std::shared_ptr<Bridge> bridge_;
};
