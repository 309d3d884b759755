#include "session/play_session.h"

#include <algorithm>

#include "session/wake.h"
#include "story/story.h"

PlaySession::PlaySession(Display& display, int wrapWidth)
    : PlaySession(display, wrapWidth, BuildStory) {}

PlaySession::PlaySession(Display& display, int wrapWidth, const StoryBuilder& buildStory)
    : display_(display) {
    // Laid out at the final width from the start, so no Rewrap is needed later.
    console_.wrapWidth = wrapWidth;
    game_ = std::make_unique<Game>(console_, buildStory);
    TakeLog(0, false);
    display_.FrameShown();
}

void PlaySession::StartClock(double origin, double pace) {
    origin_ = origin;
    pace_ = pace;
}

void PlaySession::PlayTo(double reading, const std::string& typed) {
    if (pausedAt_) reading = *pausedAt_;
    if (!origin_) origin_ = reading;
    // Moved on by the frame's time from the reading the game's clock has, the way the GUI toolkit
    // sums frame times: it never drifts from the front end's clock.
    Frame(static_cast<float>(std::max(0.0, GameTimeAt(reading) - Now())), typed);
}

void PlaySession::PauseClock(double reading) {
    if (!pausedAt_) pausedAt_ = reading;
}

void PlaySession::ResumeClock(double reading) {
    if (!pausedAt_) return;
    if (origin_) *origin_ += reading - *pausedAt_;
    pausedAt_.reset();
}

double PlaySession::NextChangeAt() const {
    const std::optional<double> next = SecondsToNextChange();
    if (!next || pausedAt_) return wake::kNever;
    if (!origin_) return -wake::kNever;
    return *origin_ + (Now() + *next) / pace_;
}

void PlaySession::Frame(float seconds, const std::string& typed) {
    game_->clock.Advance(seconds);
    if (!typed.empty()) {
        // The echo is the first text the line adds; it is laid out as AddText will lay it out.
        const std::size_t echoLines = WrapText(EchoMarkup(typed), console_.wrapWidth).size();
        game_->HandleInput(console_, typed);
        display_.Typed(typed);
        record_.Typed(typed);
        TakeLog(echoLines, true);
    }
    game_->Update();
    TakeLog(0, false);
    display_.FrameShown();
}

void PlaySession::Note(const std::string& text) {
    console_.AddText("<h>" + text + "</>");
    TakeLog(0, false);
    display_.FrameShown();
}

void PlaySession::TakeLog(std::size_t echoLines, bool echoed) {
    const std::vector<ConsoleLine>& lines = console_.lines();
    const std::vector<std::string>& texts = console_.Texts();
    std::size_t firstLine = linesTaken_ + echoLines;
    std::size_t firstText = textsTaken_ + (echoed ? 1 : 0);
    if (console_.Clears() != clearsTaken_) {
        // The echo, if any, went with everything else.
        display_.Cleared();
        record_.Cleared();
        clearsTaken_ = console_.Clears();
        firstLine = 0;
        firstText = 0;
    }
    for (std::size_t i = firstLine; i < lines.size(); ++i) {
        // A line without spans takes no room in the window either.
        if (!lines[i].empty()) display_.Line(lines[i]);
    }
    for (std::size_t i = firstText; i < texts.size(); ++i) record_.Added(texts[i]);
    linesTaken_ = lines.size();
    textsTaken_ = texts.size();
}

void PlaySession::Rewrap() {
    console_.Rewrap();
    linesTaken_ = console_.lines().size();
}
