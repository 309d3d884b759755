#include "app/window/window_input.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

namespace {

bool IsEnter(int key) {
    return key == GLFW_KEY_ENTER || key == GLFW_KEY_KP_ENTER;
}

// Whether pressing the key does something in the field by itself (moves, deletes, submits,
// Ctrl-V pastes), as opposed to the printable keys and modifiers, which act through the
// character they type or the key they modify.
bool EditsField(int key, int mods) {
    if (key >= GLFW_KEY_LEFT_SHIFT && key <= GLFW_KEY_RIGHT_SUPER) return false;
    return key >= GLFW_KEY_ESCAPE || (mods & (GLFW_MOD_CONTROL | GLFW_MOD_SUPER)) != 0;
}

std::optional<SpeechKey> SpeechKeyOf(int key) {
    switch (key) {
        case GLFW_KEY_F5:
            return SpeechKey::kToggle;
        case GLFW_KEY_F6:
            return SpeechKey::kRepeat;
        case GLFW_KEY_LEFT_CONTROL:
        case GLFW_KEY_RIGHT_CONTROL:
            return SpeechKey::kSilence;
        default:
            return std::nullopt;
    }
}

}  // namespace

void WindowInput::Install(GLFWwindow* window) {
    window_ = window;
    glfwSetWindowUserPointer(window, this);
    bindingKey_ = glfwSetKeyCallback(window, OnKey);
    bindingChar_ = glfwSetCharCallback(window, OnChar);
    bindingMouseButton_ = glfwSetMouseButtonCallback(window, OnMouseButton);
    bindingScroll_ = glfwSetScrollCallback(window, OnScroll);
    bindingCursorPos_ = glfwSetCursorPosCallback(window, OnCursorPos);
    bindingCursorEnter_ = glfwSetCursorEnterCallback(window, OnCursorEnter);
    bindingFocus_ = glfwSetWindowFocusCallback(window, OnFocus);
    glfwSetWindowRefreshCallback(window, OnRefresh);
    // Full screen and back change the framebuffer without an expose on every system.
    glfwSetFramebufferSizeCallback(window, OnFramebufferSize);
    glfwSetWindowIconifyCallback(window, OnIconify);
    focused_ = glfwGetWindowAttrib(window, GLFW_FOCUSED) != 0;
    iconified_ = glfwGetWindowAttrib(window, GLFW_ICONIFIED) != 0;
}

void WindowInput::FeedFrame(bool holdCharacters) {
    const bool holdNow = holdCharacters && !heldLastFrame_;
    heldLastFrame_ = false;
    changedThisFrame_.clear();
    bool edited = false;
    while (!events_.empty()) {
        const Event event = events_.front();
        if (event.isCharacter) {
            if (holdNow) {
                heldLastFrame_ = true;
                break;
            }
            // The toolkit types a frame's characters before it applies the frame's keys, so a
            // character after an editing key waits for the next frame.
            if (edited) break;
            events_.pop_front();
            if (bindingChar_ != nullptr) bindingChar_(window_, static_cast<unsigned>(event.key));
            continue;
        }
        // The toolkit sees one state a frame: a key that went down or up in this frame waits
        // for the next before it changes again.
        const bool changesState = event.action == GLFW_PRESS || event.action == GLFW_RELEASE;
        if (changesState && std::find(changedThisFrame_.begin(), changedThisFrame_.end(),
                                      event.key) != changedThisFrame_.end()) {
            break;
        }
        events_.pop_front();
        if (bindingKey_ != nullptr) {
            bindingKey_(window_, event.key, event.scancode, event.action, event.mods);
        }
        if (changesState) changedThisFrame_.push_back(event.key);
        if (event.action == GLFW_PRESS && IsEnter(event.key)) break;
        if (event.action != GLFW_RELEASE && EditsField(event.key, event.mods)) edited = true;
    }
}

bool WindowInput::TakeActivity() {
    return std::exchange(activity_, false);
}

bool WindowInput::TakeExposed() {
    return std::exchange(exposed_, false);
}

void WindowInput::EditLine(int caret, int start, int end, const std::u32string& text) {
    QueueKeyTaps(start < caret ? GLFW_KEY_LEFT : GLFW_KEY_RIGHT, std::abs(start - caret));
    QueueKeyTaps(GLFW_KEY_DELETE, end - start);
    for (const char32_t character : text) {
        events_.push_back(Event{true, static_cast<int>(character), 0, 0, 0});
    }
    activity_ = true;
}

void WindowInput::QueueKeyTaps(int key, int count) {
    const int scancode = glfwGetKeyScancode(key);
    for (int tap = 0; tap < count; ++tap) {
        events_.push_back(Event{false, key, scancode, GLFW_PRESS, 0});
        events_.push_back(Event{false, key, scancode, GLFW_RELEASE, 0});
    }
}

WindowInput& WindowInput::Of(GLFWwindow* window) {
    return *static_cast<WindowInput*>(glfwGetWindowUserPointer(window));
}

void WindowInput::OnKey(GLFWwindow* window, int key, int scancode, int action, int mods) {
    WindowInput& input = Of(window);
    input.dropCharacters_ = false;
    if (input.keyFilter_ && !input.keyFilter_(key, scancode, action, mods)) {
        input.dropCharacters_ = action != GLFW_RELEASE;
        return;
    }
    if (action == GLFW_PRESS) {
        if (const std::optional<SpeechKey> speechKey = SpeechKeyOf(key)) {
            input.windowKeys_.push_back(*speechKey);
        }
    }
    input.activity_ = true;
    if (action != GLFW_RELEASE) {
        // Kept from the toolkit, so that Alt+Enter submits nothing and Ctrl+Home leaves the
        // field's caret where it is. A release it never saw pressed changes nothing.
        const Shortcut shortcut = ShortcutForKey(key, glfwGetKeyName(key, scancode), mods);
        if (shortcut != Shortcut::None) {
            input.windowKeys_.push_back(shortcut);
            return;
        }
    }
    input.events_.push_back(Event{false, key, scancode, action, mods});
}

void WindowInput::OnChar(GLFWwindow* window, unsigned int codePoint) {
    WindowInput& input = Of(window);
    if (input.dropCharacters_) return;
    input.events_.push_back(Event{true, static_cast<int>(codePoint), 0, 0, 0});
    input.activity_ = true;
}

void WindowInput::OnMouseButton(GLFWwindow* window, int button, int action, int mods) {
    WindowInput& input = Of(window);
    if (input.bindingMouseButton_ != nullptr)
        input.bindingMouseButton_(window, button, action, mods);
    input.activity_ = true;
}

void WindowInput::OnScroll(GLFWwindow* window, double x, double y) {
    WindowInput& input = Of(window);
    input.activity_ = true;
    const bool ctrl = glfwGetKey(window, GLFW_KEY_LEFT_CONTROL) == GLFW_PRESS ||
                      glfwGetKey(window, GLFW_KEY_RIGHT_CONTROL) == GLFW_PRESS;
    if (ctrl) {
        // Zooms the text instead of scrolling the log.
        const Shortcut zoom = input.wheelZoom_.Take(y, true);
        if (zoom != Shortcut::None) input.windowKeys_.push_back(zoom);
        return;
    }
    input.wheelZoom_.Take(y, false);
    if (input.bindingScroll_ != nullptr) input.bindingScroll_(window, x, y);
}

void WindowInput::OnCursorPos(GLFWwindow* window, double x, double y) {
    WindowInput& input = Of(window);
    if (input.bindingCursorPos_ != nullptr) input.bindingCursorPos_(window, x, y);
    input.activity_ = true;
}

void WindowInput::OnCursorEnter(GLFWwindow* window, int entered) {
    WindowInput& input = Of(window);
    if (input.bindingCursorEnter_ != nullptr) input.bindingCursorEnter_(window, entered);
    input.activity_ = true;
}

void WindowInput::OnFocus(GLFWwindow* window, int focused) {
    WindowInput& input = Of(window);
    if (input.bindingFocus_ != nullptr) input.bindingFocus_(window, focused);
    input.focused_ = focused != 0;
    input.activity_ = true;
}

void WindowInput::OnIconify(GLFWwindow* window, int iconified) {
    WindowInput& input = Of(window);
    input.iconified_ = iconified != 0;
    // Shown again, the window needs its pixels back.
    if (!input.iconified_) input.exposed_ = true;
}

void WindowInput::OnFramebufferSize(GLFWwindow* window, int, int) {
    Of(window).exposed_ = true;
}

void WindowInput::OnRefresh(GLFWwindow* window) {
    Of(window).exposed_ = true;
}
