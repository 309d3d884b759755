#include "text/script_play.h"

#include <cmath>

#include "session/play_session.h"

namespace {

// Keeps a wait such as 0.1 s, whose frame count comes out a hair above 6, at 6 frames.
constexpr double kFrameCountSlack = 1e-6;

long FramesFor(double seconds) {
    const double frames = seconds / PlaySession::kFrameSeconds;
    return frames <= 0.0 ? 0 : static_cast<long>(std::ceil(frames - kFrameCountSlack));
}

}  // namespace

void PlayScript(const Script& script, Display& display, TimeToAct timeToAct) {
    PlaySession session(display, kScriptWrapWidth);
    session.SetTimeToAct(timeToAct);
    for (const ScriptStep& step : script.steps) {
        if (step.kind == ScriptStep::Kind::Type) {
            session.Frame(PlaySession::kFrameSeconds, step.text);
            continue;
        }
        for (long frame = FramesFor(step.seconds); frame > 0; --frame) {
            session.Frame(PlaySession::kFrameSeconds);
        }
    }
}
