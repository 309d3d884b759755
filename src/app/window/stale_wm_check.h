#pragma once

// Removes a root window's _NET_SUPPORTING_WM_CHECK left behind by a window manager that has
// died, before GLFW starts. GLFW 3.3.8 reads that property in glfwInit; when the window it names
// is gone, or does not name itself in turn, GLFW keeps its X error handler installed, and
// creating the game's window then fails GLFW's assertion and aborts the program. With the
// property gone, GLFW starts as it does with no window manager at all. Nothing on Windows.
void RemoveStaleWindowManagerCheck();

// What the X server showed under its grab, for the decision below.
struct WindowManagerCheck {
    bool namedExists = false;  // the window the root's check names exists
    bool namesItself = false;  // and its own check names it in turn, as a live manager's does
    bool managerRuns = false;  // some client redirects the root's children
};

// Whether the root's check is a dead manager's, to be removed: by EWMH a manager names on the root
// a window of its own that names itself, and keeps both while it runs; so a check naming a window
// that is gone says that no compliant manager runs, and any manager that starts later sets the
// property anew. A named window that exists but does not name itself (another client's, given the
// dead one's id) could also be a manager's halfway through its start, so that check is removed
// only while no client redirects the root.
bool IsStaleWindowManagerCheck(const WindowManagerCheck& check);
