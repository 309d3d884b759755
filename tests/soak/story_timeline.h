#pragma once

// What the story does as time passes with nobody typing, written as data from the story's
// tables of timed steps, so that a long run can be checked frame by frame against it.

#include <string>

namespace soak {

// What one frame's update does.
struct TimedEvent {
    const char* text = nullptr;  // printed, if any
    bool clearsLog = false;      // the wake-up scene was entered again
    float repeatsEvery = 0.0f;   // for a text that comes again and again: its period
};

// Follows the game clock and the current scene's timed steps as the story runs them: one step
// at most per frame, the first in table order whose test holds.
class StoryTimeline {
public:
    // Starts in `scene`, entered (or re-armed) at `sceneStart`, with `eventStage`.
    StoryTimeline(int scene, float sceneStart, int eventStage, double clock);

    // One frame of `seconds`: the clock moves on, then the current scene's update runs.
    TimedEvent Frame(float seconds);

    int scene() const { return scene_; }
    // The GUI clock as the story reads it.
    float Now() const { return static_cast<float>(clock_); }

private:
    int scene_;
    float sceneStart_;
    int eventStage_;
    double clock_;  // the GUI toolkit keeps time as a double and adds each frame's float
};

}  // namespace soak
