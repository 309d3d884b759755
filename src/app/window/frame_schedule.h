#pragma once

#include "session/wake.h"

// Which GUI frames the window has been asked for and when the frame rate allows the next: at
// most 60 a second. A frame is asked for at once (input, a change on screen) or for a time (the
// caret's blink, the splash's end). Times are seconds on one clock.
class FrameSchedule {
public:
    static constexpr double kFrameSeconds = wake::kFrameSeconds;
    static constexpr double kNever = wake::kNever;

    // Builds a frame as soon as the frame rate allows.
    void RequestFrame() { frameWanted_ = true; }
    // Builds a frame at `time`, replacing an earlier such time; kNever asks for none.
    void RequestFrameAt(double time) { frameAt_ = time; }

    // Seconds from `now` until a frame is wanted: zero or less for now, kNever for none.
    double FrameWantedIn(double now) const;
    // Seconds from `now` until the frame rate allows the next frame; zero or less for now.
    double FrameAllowedIn(double now) const { return lastFrame_ + kFrameSeconds - now; }
    // Whether a frame is wanted and allowed at `now`; takes it if so.
    bool TakeFrame(double now);

private:
    bool frameWanted_ = false;
    double frameAt_ = kNever;
    double lastFrame_ = -kNever;
};
