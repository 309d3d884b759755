// The window's own keys: which key, on which layout, does what; the zoom's steps; the wheel; the
// monitor full screen goes to; and the settings they leave for the next run.

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <vector>

#include "app/window/shortcuts.h"
#include "app/window/view_settings.h"
#include "app/window/window_scale.h"

TEST(Shortcuts, FollowTheLayoutsCharacterElseTheKeysUsPlace) {
    constexpr int kCtrl = GLFW_MOD_CONTROL;
    constexpr int kShift = GLFW_MOD_SHIFT;
    constexpr int kAlt = GLFW_MOD_ALT;
    const struct {
        const char* what;
        int key;
        const char* name;
        int mods;
        Shortcut expected;
    } cases[] = {
        {"US =", GLFW_KEY_EQUAL, "=", kCtrl, Shortcut::ZoomIn},
        {"US + (Shift+=)", GLFW_KEY_EQUAL, "=", kCtrl | kShift, Shortcut::ZoomIn},
        {"German +", GLFW_KEY_RIGHT_BRACKET, "+", kCtrl, Shortcut::ZoomIn},
        {"US -", GLFW_KEY_MINUS, "-", kCtrl, Shortcut::ZoomOut},
        {"German -", GLFW_KEY_SLASH, "-", kCtrl, Shortcut::ZoomOut},
        {"US 0", GLFW_KEY_0, "0", kCtrl, Shortcut::ZoomReset},
        {"French a-grave on the 0 key", GLFW_KEY_0, "\xC3\xA0", kCtrl, Shortcut::ZoomReset},
        {"French ) on the - key", GLFW_KEY_MINUS, ")", kCtrl, Shortcut::None},
        {"keypad +", GLFW_KEY_KP_ADD, "+", kCtrl, Shortcut::ZoomIn},
        {"keypad -", GLFW_KEY_KP_SUBTRACT, nullptr, kCtrl, Shortcut::ZoomOut},
        {"keypad 0", GLFW_KEY_KP_0, "0", kCtrl, Shortcut::ZoomReset},
        {"= without Ctrl types", GLFW_KEY_EQUAL, "=", 0, Shortcut::None},
        {"AltGr (Ctrl+Alt) types", GLFW_KEY_EQUAL, "=", kCtrl | kAlt, Shortcut::None},
        {"Ctrl+Shift+C", GLFW_KEY_C, "c", kCtrl | kShift, Shortcut::CopyStory},
        {"Ctrl+C is the field's", GLFW_KEY_C, "c", kCtrl, Shortcut::None},
        {"Dvorak C on the US I key", GLFW_KEY_I, "c", kCtrl | kShift, Shortcut::CopyStory},
        {"Dvorak J on the US C key", GLFW_KEY_C, "j", kCtrl | kShift, Shortcut::None},
        {"Russian es on the C key", GLFW_KEY_C, "\xD1\x81", kCtrl | kShift, Shortcut::CopyStory},
        {"F11", GLFW_KEY_F11, nullptr, 0, Shortcut::FullScreen},
        {"Alt+Enter", GLFW_KEY_ENTER, nullptr, kAlt, Shortcut::FullScreen},
        {"Alt+keypad Enter", GLFW_KEY_KP_ENTER, nullptr, kAlt, Shortcut::FullScreen},
        {"Enter submits", GLFW_KEY_ENTER, nullptr, 0, Shortcut::None},
        {"Page Up", GLFW_KEY_PAGE_UP, nullptr, 0, Shortcut::PageUp},
        {"Page Down", GLFW_KEY_PAGE_DOWN, nullptr, 0, Shortcut::PageDown},
        {"Ctrl+Home", GLFW_KEY_HOME, nullptr, kCtrl, Shortcut::ToStart},
        {"Ctrl+End", GLFW_KEY_END, nullptr, kCtrl, Shortcut::ToEnd},
        {"Home moves the caret", GLFW_KEY_HOME, nullptr, 0, Shortcut::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShortcutForKey(c.key, c.name, c.mods), c.expected) << c.what;
    }
}

TEST(Shortcuts, ZoomInNamedStepsFromHalfToThreeTimes) {
    EXPECT_EQ(kZoomPercents[kDefaultZoomStep], 100);
    const struct {
        int step;
        Shortcut shortcut;
        int expected;
    } cases[] = {
        {kDefaultZoomStep, Shortcut::ZoomIn, kDefaultZoomStep + 1},
        {kDefaultZoomStep, Shortcut::ZoomOut, kDefaultZoomStep - 1},
        {kZoomStepCount - 1, Shortcut::ZoomIn, kZoomStepCount - 1},
        {0, Shortcut::ZoomOut, 0},
        {2, Shortcut::ZoomReset, kDefaultZoomStep},
        {2, Shortcut::PageUp, 2},
        {-4, Shortcut::None, 0},
        {99, Shortcut::ZoomOut, kZoomStepCount - 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NextZoomStep(c.step, c.shortcut), c.expected) << c.step;
    }

    // The wheel: a notch a step; a touchpad's parts summed; turning back or letting Ctrl go
    // starts anew.
    WheelZoom wheel;
    const struct {
        double offset;
        bool ctrl;
        Shortcut expected;
    } turns[] = {{1.0, true, Shortcut::ZoomIn}, {0.6, true, Shortcut::None},
                 {0.6, true, Shortcut::ZoomIn}, {0.6, true, Shortcut::None},
                 {-0.6, true, Shortcut::None},  {-0.6, true, Shortcut::ZoomOut},
                 {0.6, true, Shortcut::None},   {0.6, false, Shortcut::None},
                 {0.6, true, Shortcut::None},   {-3.0, true, Shortcut::ZoomOut}};
    int turn = 0;
    for (const auto& t : turns) EXPECT_EQ(wheel.Take(t.offset, t.ctrl), t.expected) << turn++;
}

TEST(MostOverlapped, ChoosesTheMonitorShowingMostOfTheWindow) {
    const std::vector<ScreenRect> twoScreens = {{0, 0, 1920, 1080}, {1920, 0, 2560, 1440}};
    const struct {
        ScreenRect window;
        std::vector<ScreenRect> screens;
        int expected;
    } cases[] = {
        {{100, 100, 1280, 720}, twoScreens, 0},
        {{1800, 100, 1280, 720}, twoScreens, 1},
        {{1200, 100, 1280, 720}, twoScreens, 0},
        {{-5000, -5000, 100, 100}, twoScreens, 0},
        {{0, 0, 100, 100}, {}, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(MostOverlapped(c.window, c.screens), c.expected);
}

TEST(ViewSettings, KeepOnlyWhatThePlayerChose) {
    const Settings saved = {125, true, false};
    const struct {
        const char* what;
        ViewChange change;
        ShownView shown;  // zoom step, full screen, speech
        bool sizeFromCommandLine;
        Settings expected;
    } cases[] = {
        {"zoom, speech a reader's", ViewChange::Zoom, {6, true, true}, false, {110, true, false}},
        {"zoom with --scale", ViewChange::Zoom, {6, true, false}, true, saved},
        {"full screen", ViewChange::FullScreen, {7, false, false}, false, {125, false, false}},
        {"speech toggled", ViewChange::Speech, {7, true, true}, true, {125, true, true}},
    };
    for (const auto& c : cases) {
        const Settings kept = KeptSettings(saved, c.change, c.shown, c.sizeFromCommandLine);
        EXPECT_EQ(FormatSettings(kept), FormatSettings(c.expected)) << c.what;
    }
    EXPECT_EQ(StartingZoomStep(saved, false), 7);
    EXPECT_EQ(StartingZoomStep(saved, true), kDefaultZoomStep);
}
