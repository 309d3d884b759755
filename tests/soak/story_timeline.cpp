#include "soak/story_timeline.h"

#include "story/story.h"

namespace soak {

namespace {

constexpr int kAnyStage = -1;

enum class Then {
    Stay,           // the scene stays current
    Rearm,          // the scene's clock starts again
    BackToConfirm,  // the question becomes current again, not entered, its clock running on
    WakeUpAgain,    // clock re-armed, wake-up scene entered: log emptied, stage 0
};

struct TimedStep {
    int scene;
    float after;  // seconds since the scene's clock started, to be exceeded
    int stage;    // the stage the step waits for
    int nextStage;
    const char* text;
    Then then;
};

// Every timed step of the story, in the order each scene tests them.
constexpr TimedStep kSteps[] = {
    {Welcome, 20.0f, 0, 1, "You can do this! Write <a>I understand</>.", Then::Stay},
    {Welcome, 35.0f, 1, 2, "Testing my patience bro? Cuz I can do this all day, you know I can.",
     Then::Stay},
    {Welcome, 45.0f, 2, 2, "Just type in <a>I underst</>... you know what? Never mind.",
     Then::Rearm},
    {Confirm, 15.0f, 0, 1, "Is that a <a>yes</> or <a>no</> pal?", Then::Stay},
    {RedButton, 15.0f, kAnyStage, kAnyStage, "<a>Push</> the <i>red button</>...", Then::Rearm},
    {Retry, 1.0f, kAnyStage, kAnyStage, nullptr, Then::BackToConfirm},
    {WakeUp, 1.5f, 0, 1, "Where...where am I?", Then::Stay},
    {WakeUp, 4.0f, 1, 2, "Argh, my head hurts like hell.", Then::Stay},
    {WakeUp, 6.5f, 2, 3,
     "I can't remember getting into this room. I can barely remember anything at all...",
     Then::Stay},
    {WakeUp, 8.0f, 3, 4, "<a>Look around</> <h>and see what you can find.</>", Then::Stay},
    {WakeUp, 40.0f, 4, 5, "What was that? You heard a strange noise. Must be rats.", Then::Stay},
    {Beast, 1.0f, 0, 1, "A WILD BEAST STARTS CLAWING AT THE DOOR, QUICKLY <a>CLOSE</> IT!",
     Then::Stay},
    // Nobody closes the door.
    {Beast, 3.0f, 1, 2,
     "The beast comes through the door and shreds you to pieces. <h>Closing the door faster "
     "might save your life.</>",
     Then::Stay},
    {Beast, 10.0f, 2, 2, nullptr, Then::WakeUpAgain},
    {Woods, 2.5f, 0, 1,
     "Thank you for playing, unfortunatly that's all there is to it :(. This very short game was "
     "brought to you by <i>Orrin Pellegast</> aka <i>Tibbet</>.",
     Then::Stay},
    {Woods, 15.0f, 1, 2, "You still here? <h>It's over, there's no more content.</>", Then::Stay},
    {Woods, 30.0f, 2, 3, "Seriously...there isn't. You may <a>close</> this window now.",
     Then::Stay},
};

}  // namespace

StoryTimeline::StoryTimeline(int scene, float sceneStart, int eventStage, double clock)
    : scene_(scene), sceneStart_(sceneStart), eventStage_(eventStage), clock_(clock) {}

TimedEvent StoryTimeline::Frame(float seconds) {
    clock_ += seconds;
    const float elapsed = Now() - sceneStart_;
    for (const TimedStep& step : kSteps) {
        if (step.scene != scene_ || !(elapsed > step.after)) continue;
        if (step.stage != kAnyStage && step.stage != eventStage_) continue;
        if (step.nextStage != kAnyStage) eventStage_ = step.nextStage;
        TimedEvent event;
        event.text = step.text;
        switch (step.then) {
            case Then::Stay:
                break;
            case Then::Rearm:
                sceneStart_ = Now();
                event.repeatsEvery = step.after;
                break;
            case Then::BackToConfirm:
                scene_ = Confirm;
                break;
            case Then::WakeUpAgain:
                sceneStart_ = Now();
                scene_ = WakeUp;
                eventStage_ = 0;
                event.clearsLog = true;
                break;
        }
        return event;
    }
    return {};
}

}  // namespace soak
