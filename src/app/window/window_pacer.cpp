#include "app/window/window_pacer.h"

#include "session/wake.h"

namespace {

// The splash ends once its time has strictly passed; woken a hair later, the first frame then
// already shows the console.
constexpr double kPastSplashEnd = 1e-6;

}  // namespace

WindowPacer::WindowPacer(double splashEndsAt)
    : splashEndsAt_(splashEndsAt), splashOver_(splashEndsAt == FrameSchedule::kNever) {
    schedule_.RequestFrame();
}

bool WindowPacer::BeginWake(const Wake& wake) {
    wake_ = wake;
    if (wake.exposed) redraw_ = true;
    if (wake.activity || wake.keysWaiting || wake.held || redraw_) schedule_.RequestFrame();
    if (!splashOver_ && wake.now > splashEndsAt_) {
        splashOver_ = true;
        schedule_.RequestFrame();
    }
    // Keys waiting for this wake's frame may submit a line there, which the game must see
    // before its update at this time, so that a line typed as a step falls due wins the race:
    // that frame plays the game after them. Otherwise (or minimised, with no frames) the game
    // plays first, so that a timed text is in the frame built now.
    return splashOver_ && !(wake.keysWaiting && !wake.iconified);
}

bool WindowPacer::TakeFrame() {
    // Minimised, requests wait until the window is shown again.
    return !wake_.iconified && schedule_.TakeFrame(wake_.now);
}

void WindowPacer::SkipSplash() {
    splashOver_ = true;
}

WindowPacer::ConsoleSteps WindowPacer::ConsoleDrawn(const ConsoleFrame& frame) {
    ConsoleSteps steps;
    // Texts added before the window was measured, or laid out for another font, take the
    // width of this frame's.
    steps.relayout = frame.layoutWidth != laidOutWidth_ || frame.fontSize != laidOutFont_;
    laidOutWidth_ = frame.layoutWidth;
    laidOutFont_ = frame.fontSize;
    logDrawn_ = frame.logChanges;
    if (frame.scrolledByKey) schedule_.RequestFrame();
    caretAt_ = frame.caretChangeIn >= 0.0 ? wake_.now + frame.caretChangeIn : FrameSchedule::kNever;
    steps.playGame = splashOver_ && (frame.lineTyped || wake_.keysWaiting);
    return steps;
}

bool WindowPacer::Present(bool frameChanged) {
    const bool draw = frameChanged || redraw_;
    redraw_ = false;
    // A change can bring another in the next frame (a scroll, the focus).
    if (frameChanged) schedule_.RequestFrame();
    return draw;
}

void WindowPacer::GamePlayed(std::uint64_t logChanges) {
    if (logChanges != logDrawn_) schedule_.RequestFrame();
}

double WindowPacer::EndWake(double now, bool keysWaiting, double gameChangeAt) {
    const bool seen = !wake_.iconified;
    if (keysWaiting) schedule_.RequestFrame();
    if (!splashOver_) {
        schedule_.RequestFrameAt(splashEndsAt_ + kPastSplashEnd);
    } else {
        schedule_.RequestFrameAt(seen && wake_.focused ? caretAt_ : FrameSchedule::kNever);
    }
    wake::Sources sources;
    if (splashOver_) sources.gameChangeIn = gameChangeAt - now;
    if (seen) {
        sources.inputWaiting = keysWaiting;
        sources.timedFrameIn = schedule_.FrameWantedIn(now);
        sources.frameAllowedIn = schedule_.FrameAllowedIn(now);
    }
    return wake::PlatformWaitFor(sources);
}
