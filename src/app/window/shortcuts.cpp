#include "app/window/shortcuts.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstring>

namespace {

// The character the layout types at `key`, if it is one ASCII character; else the character the
// key types on a US layout.
char LayoutCharacter(int key, const char* keyName) {
    if (keyName != nullptr && std::strlen(keyName) == 1 &&
        static_cast<unsigned char>(keyName[0]) < 0x80) {
        return keyName[0];
    }
    if (key >= GLFW_KEY_A && key <= GLFW_KEY_Z) return static_cast<char>('a' + (key - GLFW_KEY_A));
    if (key == GLFW_KEY_0) return '0';
    if (key == GLFW_KEY_EQUAL) return '=';
    if (key == GLFW_KEY_MINUS) return '-';
    return '\0';
}

Shortcut CtrlShortcut(int key, const char* keyName, bool shift) {
    switch (key) {
        case GLFW_KEY_KP_ADD:
            return Shortcut::ZoomIn;
        case GLFW_KEY_KP_SUBTRACT:
            return Shortcut::ZoomOut;
        case GLFW_KEY_KP_0:
            return Shortcut::ZoomReset;
        case GLFW_KEY_HOME:
            return Shortcut::ToStart;
        case GLFW_KEY_END:
            return Shortcut::ToEnd;
        default:
            break;
    }
    switch (LayoutCharacter(key, keyName)) {
        case '+':
        case '=':
            return Shortcut::ZoomIn;
        case '-':
            return Shortcut::ZoomOut;
        case '0':
            return Shortcut::ZoomReset;
        case 'c':
        case 'C':
            return shift ? Shortcut::CopyStory : Shortcut::None;
        default:
            return Shortcut::None;
    }
}

}  // namespace

Shortcut ShortcutForKey(int key, const char* keyName, int mods) {
    const bool ctrl = (mods & GLFW_MOD_CONTROL) != 0;
    const bool alt = (mods & GLFW_MOD_ALT) != 0;
    const bool super = (mods & GLFW_MOD_SUPER) != 0;
    if (key == GLFW_KEY_F11 && !ctrl && !alt && !super) return Shortcut::FullScreen;
    if (key == GLFW_KEY_F7 && mods == 0) return Shortcut::TimeToAct;
    if ((key == GLFW_KEY_ENTER || key == GLFW_KEY_KP_ENTER) && alt && !ctrl && !super) {
        return Shortcut::FullScreen;
    }
    if (mods == 0 && key == GLFW_KEY_PAGE_UP) return Shortcut::PageUp;
    if (mods == 0 && key == GLFW_KEY_PAGE_DOWN) return Shortcut::PageDown;
    // Alt with Ctrl is AltGr on Windows, which types characters of its own.
    if (ctrl && !alt && !super) return CtrlShortcut(key, keyName, (mods & GLFW_MOD_SHIFT) != 0);
    return Shortcut::None;
}

float ZoomedScale(float scale, int step) {
    return scale * static_cast<float>(kZoomPercents[NextZoomStep(step, Shortcut::None)]) / 100.0f;
}

int NextZoomStep(int step, Shortcut shortcut) {
    step = std::clamp(step, 0, kZoomStepCount - 1);
    switch (shortcut) {
        case Shortcut::ZoomIn:
            return std::min(step + 1, kZoomStepCount - 1);
        case Shortcut::ZoomOut:
            return std::max(step - 1, 0);
        case Shortcut::ZoomReset:
            return kDefaultZoomStep;
        default:
            return step;
    }
}

Shortcut WheelZoom::Take(double yOffset, bool ctrlHeld) {
    if (!ctrlHeld || !(yOffset == yOffset)) {
        pending_ = 0.0;
        return Shortcut::None;
    }
    if ((pending_ > 0.0 && yOffset < 0.0) || (pending_ < 0.0 && yOffset > 0.0)) pending_ = 0.0;
    pending_ += yOffset;
    if (pending_ >= 1.0) {
        pending_ = 0.0;
        return Shortcut::ZoomIn;
    }
    if (pending_ <= -1.0) {
        pending_ = 0.0;
        return Shortcut::ZoomOut;
    }
    return Shortcut::None;
}
