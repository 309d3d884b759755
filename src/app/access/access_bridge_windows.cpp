#include "app/access/access_bridge.h"

#define GLFW_EXPOSE_NATIVE_WIN32
#include <GLFW/glfw3.h>
#include <GLFW/glfw3native.h>

#include "app/access/uia_window_windows.h"

// UI Automation asks the window itself (uia_window_windows.h), on the window's thread: its parts
// answer from the text handed over here. Keys go to the game: a Windows screen reader takes its
// own keys before the window sees them.
struct AccessBridge::Bridge {};

AccessBridge::AccessBridge(const std::string&, GLFWwindow* window, std::function<void()>) {
    if (window != nullptr) AnswerAutomationFor(glfwGetWin32Window(window));
}

AccessBridge::~AccessBridge() = default;

void AccessBridge::Show(const std::string& story, const Console& console, bool) {
    ShowAutomationText(story, console.Layout().line);
}

bool AccessBridge::PassKey(int, int, int, int) {
    return true;
}

// UI Automation's edit field is read only here: the reader types through the keyboard.
std::vector<LineEdit> AccessBridge::TakeLineEdits() {
    return {};
}
