#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/drawn_frame.h"
#include "app/frame_schedule.h"
#include "app/splash.h"

class Console;
class Game;
class WindowInput;
struct GLFWwindow;

// The window's main loop: it sleeps until input comes or something falls due (the game's next
// deadline, the caret's blink, the splash's end), moves the game on, and builds a GUI frame
// only when one was asked for, drawing it only when it differs from what the window shows.
class WindowLoop {
public:
    WindowLoop(GLFWwindow* window, WindowInput& input, std::optional<SplashTexture> splash,
               Console& console, Game& game);

    // Runs until the window is asked to close.
    void Run();

private:
    // Waits for input or for the earliest time something is due.
    void Sleep();
    // What arrived while asleep, and what it asks for: a frame, the window's pixels again, the
    // splash's end.
    void TakeEvents();
    // Sets the game's clock, hands it the line typed (if any) and runs its timers; notes its
    // next deadline and asks for a frame when the log changed.
    void UpdateGame(const std::string& line);
    // One GUI frame: the splash or the console, the line typed in it, and the pixels if they
    // changed.
    void BuildFrame();
    void PresentSplash();
    void PresentConsole();
    // The next frame due by the clock alone: the splash's end, or the caret's next blink while
    // the window has the focus and is shown.
    void ScheduleTimedFrame();
    // What the GUI toolkit's clock reads at `now`: the first frame counts as one nominal frame.
    double GuiSeconds(double now) const { return now - start_ + FrameSchedule::kFrameSeconds; }

    GLFWwindow* window_;
    WindowInput& input_;
    std::optional<SplashTexture> splash_;
    Console& console_;
    Game& game_;
    FrameSchedule schedule_;
    DrawnFrame drawnFrame_;
    double start_;
    double now_;
    double caretAt_ = FrameSchedule::kNever;
    std::uint64_t changesDrawn_;
    bool splashOver_;
    bool rewrapDone_ = false;
    bool updateAfterDraw_ = false;  // keys wait for this wake's frame: the game updates after it
    bool redraw_ = true;            // the window's pixels are not (or no longer) what was drawn
};
