#pragma once

#include <cstdint>

#include "app/window/frame_schedule.h"

// The window loop's decisions as plain values in and out, so that each is checked with a fake
// clock: what comes first in a wake (keys or the game), when the splash ends, which frames to
// build and draw, when to lay the log out again and how long to sleep. The loop
// (window_loop.cpp) gathers the facts from the window and the GUI toolkit and carries the
// answers out. Times are readings of the window's clock in seconds.
class WindowPacer {
public:
    // What the window saw by a wake.
    struct Wake {
        double now = 0.0;
        bool keysWaiting = false;  // key events queued for frames still to come
        bool activity = false;     // keys, the pointer or the focus since the last wake
        bool exposed = false;      // the window's pixels were lost (exposed, shown again)
        bool held = false;         // a key or button held: the toolkit repeats it each frame
        bool focused = true;
        bool iconified = false;
    };
    // What a console frame's drawing showed.
    struct ConsoleFrame {
        bool lineTyped = false;
        double caretChangeIn = -1.0;   // negative: nothing blinks
        int layoutWidth = 0;           // the width the log is measured for, in characters
        float fontSize = 0.0f;         // the font the log is drawn in
        bool scrolledByKey = false;    // the log's view was moved, which shows in the next frame
        std::uint64_t logChanges = 0;  // the log's count of changes drawn (Console::Changes)
    };
    struct ConsoleSteps {
        bool relayout = false;  // lay the whole log out again for the new width or font
        bool playGame = false;  // run the game to now with the frame's line
    };

    // `splashEndsAt`: when the splash ends by itself; kNever without a splash.
    explicit WindowPacer(double splashEndsAt);

    // Takes what the window saw by a wake; returns whether the game runs to now before the
    // frame.
    bool BeginWake(const Wake& wake);
    // Whether to build a GUI frame now (fed the queued keys); asked after the game ran.
    bool TakeFrame();
    // A frame's keys or click asked to skip the splash.
    void SkipSplash();
    bool SplashOver() const { return splashOver_; }
    ConsoleSteps ConsoleDrawn(const ConsoleFrame& frame);
    // Whether the frame built must reach the screen: it differs from the one shown, or the
    // window's pixels were lost.
    bool Present(bool frameChanged);
    // The game has run, leaving its log at `logChanges` (Console::Changes): a log changed since
    // the frame drawn last is drawn in a frame of its own.
    void GamePlayed(std::uint64_t logChanges);
    // The frames due later, and the seconds to sleep from `now` until the next wake, given the
    // keys still queued and the game's next change (kNever for none).
    double EndWake(double now, bool keysWaiting, double gameChangeAt);

private:
    FrameSchedule schedule_;
    Wake wake_;
    double splashEndsAt_;
    double caretAt_ = FrameSchedule::kNever;
    int laidOutWidth_ = 0;
    float laidOutFont_ = 0.0f;
    std::uint64_t logDrawn_ = 0;  // the log's count of changes in the last console frame
    bool splashOver_;
    bool redraw_ = true;  // the window's pixels are not (or no longer) what was drawn
};
