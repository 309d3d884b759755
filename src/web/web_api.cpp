// The page's way into the game: a few C functions the page's script calls. Strings go in as
// UTF-8 and come back as UTF-8 held until the next call, which the script copies at once.
#include <emscripten/emscripten.h>

#include <memory>
#include <optional>
#include <string>

#include "console/command_history.h"
#include "engine/time_to_act.h"
#include "session/input_line.h"
#include "session/play_session.h"
#include "session/wake.h"
#include "web/web_display.h"

namespace {

// The player's time to act (time_to_act.h), kept for every game the page starts.
TimeToAct chosenTimeToAct = TimeToAct::kNormal;

struct WebGame {
    WebGame() { session.SetTimeToAct(chosenTimeToAct); }

    WebDisplay display;
    // Never wrapped here: each display line is one paragraph the browser wraps to the page.
    PlaySession session{display, Console::kUnmeasuredWrapWidth};
    CommandHistory history;
    std::string reply;
};

std::unique_ptr<WebGame> game;

// The game, started by the first call that needs it.
WebGame& Current() {
    if (!game) game = std::make_unique<WebGame>();
    return *game;
}

const char* Reply(std::string text) {
    Current().reply = std::move(text);
    return game->reply.c_str();
}

const char* Reply(const std::optional<std::string>& text) {
    return text ? Reply(*text) : nullptr;
}

}  // namespace

extern "C" {

// Every `reading` below is the page's clock in seconds (performance.now() / 1000).

// Starts a new game and returns the events of its first texts. Its clock starts at the first
// frame's reading.
EMSCRIPTEN_KEEPALIVE const char* TarnwickStart() {
    game = std::make_unique<WebGame>();
    return Reply(game->display.Take());
}

// One frame that runs the game to `reading`; `typed` is handed to the game, cleaned as the input
// field would hold it, unless nothing of it is left. Returns the events of the frame.
EMSCRIPTEN_KEEPALIVE const char* TarnwickFrame(double reading, const char* typed) {
    Current().session.PlayTo(reading, CleanInputLine(typed));
    return Reply(game->display.Take());
}

// The game's clock stands still from a pause's reading to a resume's (the page hidden).
EMSCRIPTEN_KEEPALIVE void TarnwickPause(double reading) {
    Current().session.PauseClock(reading);
}

EMSCRIPTEN_KEEPALIVE void TarnwickResume(double reading) {
    Current().session.ResumeClock(reading);
}

// How long the page may sleep from `reading`, as every front end decides it: 0 for a frame at
// once, else the milliseconds until the game may next change without a typed line, rounded up,
// or -1 when only a typed line can change it. `lineWaiting`: a typed line waits for its frame.
EMSCRIPTEN_KEEPALIVE int TarnwickMillisToSleep(int lineWaiting, double reading) {
    wake::Sources sources;
    sources.inputWaiting = lineWaiting != 0;
    sources.gameChangeIn = Current().session.NextChangeAt() - reading;
    return wake::TimeoutMillis(wake::PlatformWaitFor(sources));
}

// Sets the time to act by its name, for this game and those started later, and returns its
// sentence for the player, also shown in the log with the next frame's events when `say` and a
// game runs; null, and the step left as it was, for a name that is none of the steps.
EMSCRIPTEN_KEEPALIVE const char* TarnwickSetTimeToAct(const char* name, int say) {
    static std::string sentence;
    const std::optional<TimeToAct> step = ParseTimeToAct(name);
    if (!step) return nullptr;
    chosenTimeToAct = *step;
    sentence = TimeToActSentence(*step);
    if (game) {
        game->session.SetTimeToAct(*step);
        if (say != 0) game->session.Note(sentence);
    }
    return sentence.c_str();
}

// What parts the spans of a line in the events.
EMSCRIPTEN_KEEPALIVE int TarnwickSpanSeparator() {
    return WebDisplay::kSpanSeparator;
}

// The most bytes a line holds.
EMSCRIPTEN_KEEPALIVE int TarnwickLineBytes() {
    return static_cast<int>(LineCleaner::kMaxLineBytes);
}

// What the input field may hold of `raw`.
EMSCRIPTEN_KEEPALIVE const char* TarnwickCleanLine(const char* raw) {
    return Reply(CleanInputLine(raw));
}

EMSCRIPTEN_KEEPALIVE void TarnwickHistoryAdd(const char* line) {
    Current().history.Add(line);
}

// The older entry, or null when there is none; `shown` is what the field holds.
EMSCRIPTEN_KEEPALIVE const char* TarnwickHistoryOlder(const char* shown) {
    return Reply(Current().history.Older(shown));
}

// The newer entry or the draft, or null when not browsing.
EMSCRIPTEN_KEEPALIVE const char* TarnwickHistoryNewer() {
    return Reply(Current().history.Newer());
}

}  // extern "C"
