#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/drawn_frame.h"
#include "app/frame_schedule.h"
#include "app/splash.h"

class PlaySession;
class WindowInput;
struct GLFWwindow;

// The window's main loop: it sleeps until input comes or something falls due (the game's next
// deadline, the caret's blink, the splash's end), moves the game on, and builds a GUI frame
// only when one was asked for, drawing it only when it differs from what the window shows.
// While keys wait to be fed to the GUI toolkit, frames follow each other at the frame rate.
class WindowLoop {
public:
    WindowLoop(GLFWwindow* window, WindowInput& input, std::optional<SplashTexture> splash,
               PlaySession& session);

    // Runs until the window is asked to close.
    void Run();

private:
    // Waits for input or for the earliest time something is due, as the shared rule says.
    void Sleep();
    // What arrived while asleep, and what it asks for: a frame, the window's pixels again, the
    // splash's end.
    void TakeEvents();
    // Keys wait for this wake's frame, which hands the game their line before its update.
    bool KeysFirst() const;
    // Runs the game's clock on to this wake and hands it the line typed (if any); asks for a
    // frame when the log changed.
    void PlayGame(const std::string& line);
    // One GUI frame: the splash or the console, the line typed in it, and the pixels if they
    // changed.
    void BuildFrame(bool keysFirst);
    void PresentSplash();
    void PresentConsole(bool keysFirst);
    // The frames due later: the next at once while keys still wait, the splash's end, or the
    // caret's next blink while the window has the focus and is shown.
    void ScheduleFrames();
    // The window's clock reading at which the game's clock reads 0: one nominal frame before
    // the loop began, as the GUI toolkit's clock counts its first frame.
    double GameOrigin() const { return start_ - FrameSchedule::kFrameSeconds; }
    double GameChangeIn(double now) const;

    GLFWwindow* window_;
    WindowInput& input_;
    std::optional<SplashTexture> splash_;
    PlaySession& session_;
    FrameSchedule schedule_;
    DrawnFrame drawnFrame_;
    double start_;
    double now_;
    double caretAt_ = FrameSchedule::kNever;
    std::uint64_t changesDrawn_;
    bool splashOver_;
    bool rewrapDone_ = false;
    bool redraw_ = true;  // the window's pixels are not (or no longer) what was drawn
};
