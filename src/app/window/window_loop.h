#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/startup/settings.h"
#include "app/window/drawn_frame.h"
#include "app/window/splash.h"
#include "app/window/view_settings.h"
#include "app/window/window_pacer.h"

class ConsoleFont;
class PlaySession;
class SpeakingDisplay;
class WindowInput;
struct GLFWwindow;
enum class Shortcut;
enum class SpeechKey;

// The window's main loop: it sleeps until input comes or something falls due (the game's next
// deadline, the caret's blink, the splash's end), moves the game on, and builds a GUI frame
// only when one was asked for, drawing it only when it differs from what the window shows.
// While keys wait to be fed to the GUI toolkit, frames follow each other at the frame rate.
// What to do when is the pacer's to decide; this carries it out with GLFW and the toolkit.
class WindowLoop {
public:
    // Takes the settings to keep for the next run.
    using KeepSettings = std::function<void(const Settings&)>;

    // `font` at `scale` is the text's size at zoom 100%. The window starts with the zoom and
    // full screen of `saved` (the zoom at 100% when `sizeFromCommandLine`), and hands `keep` the
    // settings to keep whenever the player changes the view (view_settings.h).
    WindowLoop(GLFWwindow* window, WindowInput& input, std::optional<SplashTexture> splash,
               PlaySession& session, SpeakingDisplay& speech, ConsoleFont& font, float scale,
               const Settings& saved, bool sizeFromCommandLine, KeepSettings keep);

    // Runs until the window is asked to close.
    void Run();
    // Called at every wake, before the input is looked at.
    void SetWoken(std::function<void()> woken) { woken_ = std::move(woken); }
    // Called after every GUI frame built.
    void SetFrameBuilt(std::function<void()> frameBuilt) { frameBuilt_ = std::move(frameBuilt); }

private:
    static void Sleep(double seconds);
    // Carries out the window's own keys pressed since the last wake, in the order pressed.
    void CarryOutWindowKeys();
    void CarryOutShortcut(Shortcut shortcut);
    void CarryOutSpeechKey(SpeechKey key);
    void StepTimeToAct();
    void Zoom(Shortcut shortcut);
    void ToggleFullScreen();
    // Hands on the settings to keep once the player made `change`.
    void Keep(ViewChange change);
    // Rasterises the font again at the zoomed size, between frames, unless it is at that size.
    void LoadFont();
    // What the window saw by this wake.
    WindowPacer::Wake GatherFacts(double now);
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
    ConsoleFont& font_;
    float scale_;
    int zoomStep_;
    Settings kept_;  // what the player chose, in this run or before
    bool sizeFromCommandLine_;
    KeepSettings keep_;
    std::function<void()> woken_;
    std::function<void()> frameBuilt_;
    int windowedPlace_[4] = {};  // x, y, width and height of the window before full screen
};
