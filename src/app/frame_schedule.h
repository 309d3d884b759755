#pragma once

// When the window's loop ticks the game and when it builds a GUI frame. The game ticks at a
// steady 60 Hz whatever is drawn; a GUI frame is built only on a tick, and only when something
// asked for one, so the loop waits for events in between and never draws more than 60 frames a
// second.
class FrameSchedule {
public:
    static constexpr double kTickSeconds = 1.0 / 60.0;

    // The first tick is due at `start`.
    explicit FrameSchedule(double start) : nextTick_(start) {}

    // How long the loop may wait for events before the next tick is due.
    double WaitBefore(double now) const;
    // Whether a tick is due at `now`; takes it if so. The next one is due a tick later, or a
    // tick after now when the loop fell behind: after a stall the game updates once a frame
    // again rather than several times at once.
    bool TakeTick(double now);

    // Builds a GUI frame on each of the next `count` ticks (no fewer than already asked for).
    void RequestFrames(int count);
    // Builds a GUI frame on the first tick at or after `time`, replacing an earlier such time;
    // a negative time asks for none.
    void RequestFrameAt(double time) { frameAt_ = time; }
    // Whether this tick, at `now`, builds a GUI frame; uses up what asked for it.
    bool TakeFrame(double now);

private:
    double nextTick_;
    int framesWanted_ = 0;
    double frameAt_ = -1.0;
};
