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
    Show(watcher_.Take(console_.lines), 0);
    Record(0);
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
        Show(watcher_.Take(console_.lines), echoLines);
        record_.Typed(typed);
        Record(1);
    }
    game_->Update();
    Show(watcher_.Take(console_.lines), 0);
    Record(0);
    display_.FrameShown();
}

void PlaySession::Record(std::size_t skip) {
    if (console_.Clears() != clearsRecorded_) {
        // The echo, if any, went with everything else.
        record_.Cleared();
        clearsRecorded_ = console_.Clears();
        textsRecorded_ = 0;
        skip = 0;
    }
    const std::vector<std::string>& texts = console_.Texts();
    for (std::size_t i = textsRecorded_ + skip; i < texts.size(); ++i) record_.Added(texts[i]);
    textsRecorded_ = texts.size();
}

void PlaySession::Rewrap() {
    console_.Rewrap();
    watcher_.Take(console_.lines);
}

void PlaySession::Show(const LogChange& change, std::size_t echoLines) {
    std::size_t first = change.first + echoLines;
    if (change.cleared) {
        display_.Cleared();
        first = 0;  // the echo went with everything else
    }
    for (std::size_t i = first; i < console_.lines.size(); ++i) {
        // A line without spans takes no room in the window either.
        if (!console_.lines[i].empty()) display_.Line(console_.lines[i]);
    }
}
