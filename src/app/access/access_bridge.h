#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Where the window is on the screen, how it lays its text out, and whether it has the keyboard.
struct AccessWindow {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int lineHeight = 0;  // the input line's row along the bottom edge
    // How the log lays its text out: characters a row, a character's width and a row's height
    // in pixels, and the margin left of the text.
    int columns = 1;
    double characterWidth = 0.0;
    int rowHeight = 0;
    int margin = 0;
    bool focused = false;

    bool operator==(const AccessWindow& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height &&
               lineHeight == other.lineHeight && columns == other.columns &&
               characterWidth == other.characterWidth && rowHeight == other.rowHeight &&
               margin == other.margin && focused == other.focused;
    }
};

// A screen reader's edit of the line being typed (braille input, its editing keys): characters
// [start, end) of the line replaced by `text`.
struct LineEdit {
    int start = 0;
    int end = 0;
    std::u32string text;
};

// Whether a screen reader finds the game's texts by itself, so that the game's own voice need not
// follow it: on Linux the tree's terminal holds the focus and the reader says what it gains,
// unless NO_AT_BRIDGE=1 leaves the bridge (and so the tree) out, as it does for every toolkit;
// on Windows the texts reach the reader only as the game's own notifications.
bool ScreenReaderReadsTree();

// The window in the desktop's accessibility tree, for the player's own screen reader: on Linux
// through ATK and its AT-SPI bridge, whose work runs on a thread of its own and answers from the
// last state handed over; on Windows through UI Automation (access_bridge_windows.cpp).
class AccessBridge {
public:
    // `wake` wakes the window's loop, from any thread, when the reader edited the line.
    AccessBridge(const std::string& applicationName, std::function<void()> wake);
    ~AccessBridge();
    AccessBridge(const AccessBridge&) = delete;
    AccessBridge& operator=(const AccessBridge&) = delete;

    // Where the window's top left corner is on the screen: asked only when something else
    // changed, since asking the window system takes a round trip.
    using WindowPosition = std::function<std::pair<int, int>()>;

    // Hands over what the window shows: the story as plain text (it only grows), the line being
    // typed (UTF-8), its caret in characters, and the window (whose x and y `position` gives).
    // The first call, after the first frame, starts the bridge. When nothing changed it only
    // compares.
    void Show(const std::string& story, const std::string& line, int caret,
              const AccessWindow& window, const WindowPosition& position);
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
