#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "app/window/shortcuts.h"

struct GLFWwindow;
struct ImGuiIO;

// Keys that control speech, none of which types or edits: F5 turns it on or off, F6 says the
// last reply again, and Ctrl (alone or starting a shortcut) silences it.
enum class SpeechKey { kToggle, kRepeat, kSilence };

// A key the window acts on itself: one of its shortcuts or a speech key.
using WindowKey = std::variant<Shortcut, SpeechKey>;

// The GUI toolkit reads keys as a state once a frame and takes every character queued for the
// frame at once, so keys typed faster than frames come would merge: an Enter between two lines
// would submit them as one, and a key pressed and released between frames would not be seen.
// This keeps the window's key and character events in a queue and hands them to the GUI
// binding a few at a time, in order, so that each frame sees a state the player really had.
// It also notes any other input and the window being exposed, which call for a new frame, and
// whether the window has the focus or is minimised. The window's own keys are kept for the loop
// in one queue, in the order pressed: the shortcuts (shortcuts.h) and the wheel turned with Ctrl
// never reach the toolkit; the speech keys still do, Ctrl starting the field's own shortcuts.
class WindowInput {
public:
    // Asked about every key event before anything else sees it (GLFW's key, scancode, action
    // and modifiers): whether it goes on. The characters a held-back press types are dropped.
    using KeyFilter = std::function<bool(int, int, int, int)>;

    // Call after the GUI binding has installed its callbacks, which keep running behind these.
    void Install(GLFWwindow* window);
    void SetKeyFilter(KeyFilter filter) { keyFilter_ = std::move(filter); }

    // Before a GUI frame: passes on queued events, stopping after an Enter press (which
    // submits the field's line in this frame) and before a key that already went down or up in
    // this frame changes again, so that every press is seen down for at least one frame and
    // every repeated press as a new one, and before a character that follows an editing key
    // (the toolkit would type it before the key acts). Characters wait for one frame while
    // `holdCharacters` (the field has not taken the focus back yet).
    void FeedFrame(bool holdCharacters);

    // Types an edit of the field's line as keys would: from the caret at `caret`, moves to
    // character `start`, deletes up to `end` and types `text`, all after what already waits.
    void EditLine(int caret, int start, int end, const std::u32string& text);

    // Whether events wait in the queue for a later frame.
    bool Pending() const { return !events_.empty(); }
    // Whether anything arrived since the last call: keys, characters, the mouse, the focus.
    bool TakeActivity();
    // Whether the window was exposed since the last call and must be drawn again.
    bool TakeExposed();
    bool Focused() const { return focused_; }
    // The window's own keys pressed since the last call, in order.
    std::vector<WindowKey> TakeWindowKeys() { return std::exchange(windowKeys_, {}); }
    // Minimised: nothing drawn would be seen.
    bool Iconified() const { return iconified_; }

private:
    struct Event {
        bool isCharacter;
        int key;  // the character's code point for a character
        int scancode;
        int action;
        int mods;
    };
    using KeyFunction = void (*)(GLFWwindow*, int, int, int, int);
    using CharFunction = void (*)(GLFWwindow*, unsigned int);
    using MouseButtonFunction = void (*)(GLFWwindow*, int, int, int);
    using ScrollFunction = void (*)(GLFWwindow*, double, double);
    using CursorFunction = void (*)(GLFWwindow*, double, double);
    using FlagFunction = void (*)(GLFWwindow*, int);

    static WindowInput& Of(GLFWwindow* window);
    void QueueKeyTaps(int key, int count);
    static void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods);
    static void OnChar(GLFWwindow* window, unsigned int codePoint);
    static void OnMouseButton(GLFWwindow* window, int button, int action, int mods);
    static void OnScroll(GLFWwindow* window, double x, double y);
    static void OnCursorPos(GLFWwindow* window, double x, double y);
    static void OnCursorEnter(GLFWwindow* window, int entered);
    static void OnFocus(GLFWwindow* window, int focused);
    static void OnRefresh(GLFWwindow* window);
    static void OnFramebufferSize(GLFWwindow* window, int width, int height);
    static void OnIconify(GLFWwindow* window, int iconified);

    GLFWwindow* window_ = nullptr;
    KeyFunction bindingKey_ = nullptr;
    CharFunction bindingChar_ = nullptr;
    MouseButtonFunction bindingMouseButton_ = nullptr;
    ScrollFunction bindingScroll_ = nullptr;
    CursorFunction bindingCursorPos_ = nullptr;
    FlagFunction bindingCursorEnter_ = nullptr;
    FlagFunction bindingFocus_ = nullptr;
    KeyFilter keyFilter_;
    bool dropCharacters_ = false;
    std::deque<Event> events_;
    std::vector<WindowKey> windowKeys_;
    WheelZoom wheelZoom_;
    std::vector<int> changedThisFrame_;
    bool heldLastFrame_ = false;
    bool activity_ = false;
    bool exposed_ = false;
    bool focused_ = false;
    bool iconified_ = false;
};
