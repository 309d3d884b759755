#pragma once

#include <vector>

struct GLFWwindow;
struct ImGuiIO;

// The GUI toolkit reads each key's state once per frame, so a key pressed and released between
// two frames (a quick tap of Enter on a slow machine) would never be seen. This keeps every
// press visible as "down" for at least the frame that follows it.
class KeyTaps {
public:
    // Call after the GUI binding has installed its callbacks; its key callback keeps running.
    void Install(GLFWwindow* window);
    // Between polling events and starting the GUI frame: keys pressed since the last frame
    // count as down for this one.
    void BeforeNewFrame(ImGuiIO& io);
    // Once the frame is done: keys released meanwhile are up again for the next one.
    void AfterFrame(ImGuiIO& io);

private:
    static void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods);

    GLFWwindow* window_ = nullptr;
    void (*bindingCallback_)(GLFWwindow*, int, int, int, int) = nullptr;
    std::vector<int> pressed_;
};
