// The window loop's decisions, wake by wake on a fake clock, as the loop carries them out.

#include "app/window/window_pacer.h"

#include <gtest/gtest.h>

#include <vector>

#include "session/wake.h"

namespace {

constexpr double kFrame = FrameSchedule::kFrameSeconds;
constexpr double kNever = FrameSchedule::kNever;

// What the window saw (facts) and what the loop did (done) in one wake.
enum : unsigned {
    kKeys = 1,
    kKeysLeft = 2,
    kActivity = 4,
    kExposed = 8,
    kIconified = 16,
    kUnfocused = 32,
    kLine = 64,
    kChanged = 128,
    kLogChanged = 256,
    kSkip = 512,
    kScrolled = 1024,
    kHeld = 2048,
    kGameFirst = 1,
    kFrame_ = 2,
    kGameAfter = 4,
    kRelayout = 8,
    kDrawn = 16,
};

struct Step {
    double now;
    unsigned facts;
    unsigned done;
    double wait;  // before the platform's timer slack
    double caret = -1.0;
    double gameChangeAt = kNever;
    int width = 80;
    float font = 16.0f;
};

struct Scenario {
    const char* what;
    double splashEndsAt;
    std::vector<Step> steps;
};

unsigned RunWake(WindowPacer& pacer, const Step& step, std::uint64_t& log, double& wait) {
    WindowPacer::Wake wake;
    wake.now = step.now;
    wake.keysWaiting = step.facts & kKeys;
    wake.activity = step.facts & kActivity;
    wake.exposed = step.facts & kExposed;
    wake.held = step.facts & kHeld;
    wake.iconified = step.facts & kIconified;
    wake.focused = !(step.facts & kUnfocused);
    unsigned done = 0;
    if (pacer.BeginWake(wake)) {
        done |= kGameFirst;
        pacer.GamePlayed(log += (step.facts & kLogChanged) ? 1 : 0);
    }
    if (pacer.TakeFrame()) {
        done |= kFrame_;
        if (step.facts & kSkip) pacer.SkipSplash();
        if (pacer.SplashOver()) {
            const WindowPacer::ConsoleSteps steps =
                pacer.ConsoleDrawn({static_cast<bool>(step.facts & kLine), step.caret, step.width,
                                    step.font, static_cast<bool>(step.facts & kScrolled), log});
            if (steps.relayout) done |= kRelayout;
            if (steps.playGame) {
                done |= kGameAfter;
                pacer.GamePlayed(log += (step.facts & kLogChanged) ? 1 : 0);
            }
        }
        if (pacer.Present(step.facts & kChanged)) done |= kDrawn;
    }
    wait = pacer.EndWake(step.now, step.facts & kKeysLeft, step.gameChangeAt);
    return done;
}

const Step kFirstFrame = {10.0, kChanged, kGameFirst | kFrame_ | kRelayout | kDrawn, kFrame};

TEST(WindowPacer, DecidesEachWake) {
    const Scenario scenarios[] = {
        {"a timed text is drawn at once, the caret resting",
         kNever,
         {kFirstFrame,
          {10.0 + kFrame, 0, kGameFirst | kFrame_, kNever},
          {30.0, kLogChanged | kChanged, kGameFirst | kFrame_ | kDrawn, kFrame}}},
        {"keys go to the game before its update, and no wait begins while keys are queued",
         kNever,
         {kFirstFrame,
          {11.0, kKeys | kActivity | kKeysLeft, kFrame_ | kGameAfter, kFrame},
          {11.0 + kFrame / 2, kKeys | kKeysLeft, 0, kFrame / 2},
          {11.0 + kFrame, kKeys | kLine | kLogChanged | kChanged, kFrame_ | kGameAfter | kDrawn,
           kFrame}}},
        {"a line's answer is drawn in a frame of its own",
         kNever,
         {kFirstFrame,
          {11.0, kKeys | kActivity | kLine | kLogChanged, kFrame_ | kGameAfter, kFrame},
          {11.0 + kFrame, 0, kGameFirst | kFrame_, kNever}}},
        {"a key held alone asks for frames, the toolkit repeating it",
         kNever,
         {kFirstFrame,
          {10.0 + kFrame, 0, kGameFirst | kFrame_, kNever},
          {11.0, kHeld, kGameFirst | kFrame_, kNever}}},
        {"minimised, the game plays on; shown again, the window is drawn",
         kNever,
         {kFirstFrame,
          {12.0, kIconified | kKeys | kKeysLeft, kGameFirst, 0.5, -1.0, 12.5},
          {13.0, kExposed | kActivity, kGameFirst | kFrame_ | kDrawn, kNever}}},
        {"the splash ends by itself",
         4.0,
         {{0.1, 0, kFrame_ | kDrawn, 3.9 + 1e-6, -1.0, 0.2},
          {4.0 + 1e-6, kChanged, kGameFirst | kFrame_ | kRelayout | kDrawn, kFrame}}},
        {"the splash skipped by a key",
         4.0,
         {{0.1, 0, kFrame_ | kDrawn, 3.9 + 1e-6},
          {2.0, kActivity | kSkip | kChanged, kFrame_ | kRelayout | kDrawn, kFrame}}},
        {"the log laid out again when its width or font changes",
         kNever,
         {kFirstFrame,
          {11.0, kActivity, kGameFirst | kFrame_, kNever},
          {12.0, kActivity, kGameFirst | kFrame_ | kRelayout, kNever, -1.0, kNever, 100},
          {13.0, kActivity, kGameFirst | kFrame_ | kRelayout, kNever, -1.0, kNever, 100, 24.0f}}},
        {"a view moved by a key shows in the next frame, which is drawn",
         kNever,
         {kFirstFrame,
          {11.0, kActivity | kScrolled, kGameFirst | kFrame_, kFrame},
          {11.0 + kFrame, kChanged, kGameFirst | kFrame_ | kDrawn, kFrame}}},
        {"the caret blinks while focused; the game's change is waited for",
         kNever,
         {kFirstFrame,
          {11.0, kActivity, kGameFirst | kFrame_, 0.5, 0.5},
          {11.5, 0, kGameFirst | kFrame_, 0.5, 0.5},
          {12.0, kActivity | kUnfocused, kGameFirst | kFrame_, kNever, 0.5},
          {13.0, kUnfocused, kGameFirst, 0.25, 0.5, 13.25}}},
    };
    for (const Scenario& scenario : scenarios) {
        WindowPacer pacer(scenario.splashEndsAt);
        std::uint64_t log = 1;  // the welcome text
        for (const Step& step : scenario.steps) {
            SCOPED_TRACE(::testing::Message() << scenario.what << ", at " << step.now);
            double wait = 0.0;
            EXPECT_EQ(RunWake(pacer, step, log, wait), step.done);
            wake::Sources expected;
            expected.gameChangeIn = step.wait;
            const double expectedWait = wake::PlatformWaitFor(expected);
            if (expectedWait == kNever) {
                EXPECT_EQ(wait, kNever);
            } else {
                EXPECT_NEAR(wait, expectedWait, 1e-9);
            }
        }
    }
}

}  // namespace
