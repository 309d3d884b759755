#pragma once

#include <limits>

// When the window's loop builds a GUI frame and how long it may sleep until then. Nothing runs
// at a steady rate: the loop sleeps until input comes or the earliest time it was given falls
// due (a frame asked for, a timed frame such as the caret's blink or the splash's end, the
// game's next deadline), and frames come at most 60 a second. Times are seconds on one clock.
class FrameSchedule {
public:
    static constexpr double kFrameSeconds = 1.0 / 60.0;
    static constexpr double kNever = std::numeric_limits<double>::infinity();

    // Builds a frame as soon as the frame rate allows.
    void RequestFrame() { frameWanted_ = true; }
    // Builds a frame at `time`, replacing an earlier such time; kNever asks for none.
    void RequestFrameAt(double time) { frameAt_ = time; }
    // The game's next deadline: the loop wakes then to update it; kNever when only input can
    // change the game.
    void SetGameDueAt(double time) { gameDueAt_ = time; }

    // How long the loop may sleep at `now` (0: not at all, kNever: until input). While frames
    // cannot be shown (`drawable` false, the window minimised), only the game's deadline counts.
    double WaitBefore(double now, bool drawable) const;
    // Whether a frame is due at `now`; takes it if so.
    bool TakeFrame(double now);

private:
    // When the next frame is due, or kNever.
    double FrameDueAt() const;

    bool frameWanted_ = false;
    double frameAt_ = kNever;
    double gameDueAt_ = kNever;
    double lastFrame_ = -kNever;
};
