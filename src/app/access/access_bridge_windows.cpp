#include "app/access/access_bridge.h"

#include "app/access/uia_window_windows.h"

// UI Automation asks the window itself (uia_window_windows.h), on the window's thread: its parts
// answer from the text handed over here. Keys go to the game: a Windows screen reader takes its
// own keys before the window sees them.
struct AccessBridge::Bridge {};

AccessBridge::AccessBridge(const std::string&, std::function<void()>) {}

AccessBridge::~AccessBridge() = default;

void AccessBridge::Show(const std::string& story, const std::string& line, int, const AccessWindow&,
                        const WindowPosition&) {
    ShowAutomationText(story, line);
}

bool AccessBridge::PassKey(int, int, int, int) {
    return true;
}

// UI Automation's edit field is read only here: the reader types through the keyboard.
std::vector<LineEdit> AccessBridge::TakeLineEdits() {
    return {};
}

bool ScreenReaderReadsTree() {
    return false;
}
