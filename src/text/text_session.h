#pragma once

#include <memory>
#include <string>

#include "console/console.h"
#include "engine/game.h"
#include "text/display.h"
#include "text/log_watcher.h"

struct ImGuiContext;

// The game without a window: a GUI context with no renderer supplies the clock the story
// reads, and everything the log gains is shown on a Display instead of being drawn.
class TextSession {
public:
    static constexpr float kFrameSeconds = 1.0f / 60.0f;

    // Starts the game's own story; the welcome text is shown at once.
    TextSession(Display& display, int wrapWidth);
    // Starts the story that `buildStory` builds.
    TextSession(Display& display, int wrapWidth, const StoryBuilder& buildStory);
    ~TextSession();

    TextSession(const TextSession&) = delete;
    TextSession& operator=(const TextSession&) = delete;

    // One frame that runs the clock on by `seconds` (positive) and hands `typed` to the game
    // unless it is empty.
    void Frame(float seconds, const std::string& typed = {});
    // The width of display lines added from now on; what was shown stays as it was.
    void SetWrapWidth(int width) { console_.wrapWidth = width; }

    // The GUI clock, seconds since the game began.
    double Now() const;
    Console& console() { return console_; }

private:
    void Show(const LogChange& change, std::size_t echoLines);

    ImGuiContext* context_;
    Display& display_;
    Console console_;
    std::unique_ptr<Game> game_;  // made once the console has its width
    LogWatcher watcher_;
};
