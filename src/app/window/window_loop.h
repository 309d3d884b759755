#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/window/drawn_frame.h"
#include "app/window/splash.h"
#include "app/window/window_pacer.h"

class ConsoleFont;
class PlaySession;
class SpeakingDisplay;
class WindowInput;
struct GLFWwindow;
enum class Shortcut;

// The window's main loop: it sleeps until input comes or something falls due (the game's next
// deadline, the caret's blink, the splash's end), moves the game on, and builds a GUI frame
// only when one was asked for, drawing it only when it differs from what the window shows.
// While keys wait to be fed to the GUI toolkit, frames follow each other at the frame rate.
// What to do when is the pacer's to decide; this carries it out with GLFW and the toolkit.
class WindowLoop {
public:
    // How the player has the window: the text's zoom step (shortcuts.h), full screen, speech.
    struct View {
        int zoomStep = 0;
        bool fullScreen = false;
        std::optional<bool> speech;  // the player's speech toggle, once toggled in this run
    };
    using ViewChanged = std::function<void(const View&)>;

    // `font` at `scale` is the text's size at zoom 100%. The window starts as `view` says and
    // tells `viewChanged` whenever the player changes it.
    WindowLoop(GLFWwindow* window, WindowInput& input, std::optional<SplashTexture> splash,
               PlaySession& session, SpeakingDisplay& speech, ConsoleFont& font, float scale,
               const View& view, ViewChanged viewChanged);

    // Runs until the window is asked to close.
    void Run();
    // Called after every GUI frame built.
    void SetFrameBuilt(std::function<void()> frameBuilt) { frameBuilt_ = std::move(frameBuilt); }

private:
    static void Sleep(double seconds);
    // Carries out the window's own keys pressed since the last wake.
    void TakeShortcuts();
    void Zoom(Shortcut shortcut);
    void ToggleFullScreen();
    // Rasterises the font again at the zoomed size, between frames.
    void LoadFont();
    WindowPacer::Wake TakeEvents(double now);
    // Runs the game's clock on to this wake and hands it the line typed (if any).
    void PlayGame(const std::string& line);
    // One GUI frame: the splash or the console, the line typed in it, and the pixels if they
    // changed.
    void BuildFrame();
    void PresentSplash();
    void PresentConsole();

    GLFWwindow* window_;
    WindowInput& input_;
    std::optional<SplashTexture> splash_;
    PlaySession& session_;
    SpeakingDisplay& speech_;
    double origin_;  // the window's clock reading at which the game's clock reads 0
    WindowPacer pacer_;
    DrawnFrame drawnFrame_;
    double now_ = 0.0;
    std::uint64_t changesDrawn_;
    ConsoleFont& font_;
    float scale_;
    View view_;
    ViewChanged viewChanged_;
    std::function<void()> frameBuilt_;
    bool fontStale_ = true;
    int windowedPlace_[4] = {};  // x, y, width and height of the window before full screen
};
