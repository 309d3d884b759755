#pragma once

// Removes a root window's _NET_SUPPORTING_WM_CHECK left behind by a window manager that has
// died, before GLFW starts. GLFW 3.3.8 reads that property in glfwInit; when the window it names
// is gone, or does not name itself in turn, GLFW keeps its X error handler installed, and
// creating the game's window then fails GLFW's assertion and aborts the program. With the
// property gone, GLFW starts as it does with no window manager at all. Nothing on Windows.
void RemoveStaleWindowManagerCheck();
