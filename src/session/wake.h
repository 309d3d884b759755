#pragma once

#include <limits>

// When a front end next has to wake, and how long it may sleep until then: the one answer to
// "how long may I sleep?" that the window, the terminal and the page all ask. Every time is in
// seconds from now on the front end's own clock.
namespace wake {

inline constexpr double kNever = std::numeric_limits<double>::infinity();
// One frame at the most frames a second any front end draws, 60; a script plays on a virtual
// clock of such frames.
inline constexpr double kFrameSeconds = 1.0 / 60.0;

struct Sources {
    // Input taken from the platform but not yet handed to the game (keys queued for a frame,
    // a typed line): the front end works on it as soon as a frame may be built.
    bool inputWaiting = false;
    // Until the game may next change without input; kNever while only input can change it.
    double gameChangeIn = kNever;
    // Until the front end's own next timed wake: the caret's blink, the splash's end, a key
    // decoder's timeout. Zero or less: a frame is wanted now.
    double timedFrameIn = kNever;
    // Until the frame rate allows the next frame; zero or less when it allows one now.
    double frameAllowedIn = 0.0;
};

// Seconds to ask of the platform's timed wait: 0 for not at all, kNever for until input comes.
// Waiting input and timed frames wait for the frame rate, never polled for while a frame is
// rate-limited; the game's change does not, since updating it draws nothing by itself. While
// input waits, the game is updated in that input's frame, so its change is not waited for
// separately. The wait is then stopped short of this system's timer slack for this thread.
double PlatformWaitFor(const Sources& sources);

// How late a timed wait may end on a system, a fact each system's file states (wake_linux.cpp,
// wake_windows.cpp, wake_web.cpp).
struct TimerSlack {
    // A wait ends up to its length over `divisor` late (0: not by its length), at most `longest`.
    double divisor = 0.0;
    double longest = 0.0;
    // Waits count whole milliseconds, cut down: one left with less would end at once, find
    // nothing due and wait again.
    bool wholeMilliseconds = false;
};
// This system's slack for the calling thread, read at each wait: it may depend on the thread's
// priority, which the player may change while the game runs.
TimerSlack PlatformTimerSlack();

// The wait to ask for instead of `seconds`, so that the front end wakes on time and sleeps the
// short rest: short by twice the slack wherever it may pass a millisecond (a text due in 20 s
// is then not 20 ms late, nor 100 ms in a niced game); in whole milliseconds, rounded up, with
// half a millisecond for the cut.
double StoppedShortOfSlack(double seconds, const TimerSlack& slack);

// `seconds` as a timeout in whole milliseconds for poll() or a page timer: rounded up, since a
// wake before the time finds nothing due and would wait again; -1 for kNever; at most a day.
int TimeoutMillis(double seconds);

}  // namespace wake
