#pragma once

#include <memory>
#include <optional>
#include <string>

#include "console/console.h"
#include "engine/game.h"
#include "session/display.h"
#include "session/log_watcher.h"
#include "session/wake.h"

// The game as every front end plays it: the front end moves the clock on by its frame times and
// hands over typed lines, and everything the log gains is shown on a Display (or drawn from
// console() by the window, whose Display shows nothing).
class PlaySession {
public:
    static constexpr double kFrameSeconds = wake::kFrameSeconds;

    // Starts the game's own story; the welcome text is shown at once.
    PlaySession(Display& display, int wrapWidth);
    // Starts the story that `buildStory` builds.
    PlaySession(Display& display, int wrapWidth, const StoryBuilder& buildStory);

    PlaySession(const PlaySession&) = delete;
    PlaySession& operator=(const PlaySession&) = delete;

    // One frame that runs the clock on by `seconds` and hands `typed` to the game unless it is
    // empty.
    void Frame(float seconds, const std::string& typed = {});
    // The width of display lines added from now on; what was shown stays as it was.
    void SetWrapWidth(int width) { console_.wrapWidth = width; }
    // Lays the whole log out again at the console's width, as a front end that draws the
    // console does once its first frame has measured it. Displays are not told: the texts are
    // the same.
    void Rewrap();

    // Seconds of game time since the game began.
    double Now() const { return game_->clock.Seconds(); }
    // Seconds from now until the next Frame may show something without input; none while only
    // input can. Zero: frame again at once.
    std::optional<double> SecondsToNextChange() const { return game_->SecondsToNextChange(); }
    Console& console() { return console_; }

private:
    void Show(const LogChange& change, std::size_t echoLines);

    Display& display_;
    Console console_;
    std::unique_ptr<Game> game_;  // made once the console has its width
    LogWatcher watcher_;
};
