#pragma once

#include <memory>
#include <optional>
#include <string>

#include "console/console.h"
#include "engine/game.h"
#include "session/display.h"
#include "session/log_watcher.h"

// The game without a window, shared by the front ends that draw no GUI: the front end moves the
// clock on by its frame times and hands over typed lines, and everything the log gains is shown
// on a Display instead of being drawn.
class PlaySession {
public:
    static constexpr float kFrameSeconds = 1.0f / 60.0f;

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

    // Game seconds from now until the game may next change without input, after the last
    // Frame; none while only input can change it.
    std::optional<double> SecondsToNextChange() const { return game_->SecondsToNextChange(); }
    // Seconds of game time since the game began.
    double Now() const { return game_->clock.Seconds(); }
    Console& console() { return console_; }

private:
    void Show(const LogChange& change, std::size_t echoLines);

    Display& display_;
    Console console_;
    std::unique_ptr<Game> game_;  // made once the console has its width
    LogWatcher watcher_;
};
