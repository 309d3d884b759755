#pragma once

#include <imgui.h>

#include <memory>
#include <string>
#include <vector>

#include "console/console.h"
#include "engine/game.h"

// Runs the game's frames without a window: a GUI context with no renderer whose DeltaTime is
// the clock. Each frame does what the window's frame loop does once the splash is over:
// Console::Draw, the one-time Rewrap, HandleInput for a submitted line, then Update.
class HeadlessDriver {
public:
    static constexpr float kDefaultFrame = 1.0f / 60.0f;

    // Plays the game's own story.
    HeadlessDriver();
    // Plays the story that `buildStory` builds.
    explicit HeadlessDriver(const StoryBuilder& buildStory);
    ~HeadlessDriver();

    HeadlessDriver(const HeadlessDriver&) = delete;
    HeadlessDriver& operator=(const HeadlessDriver&) = delete;

    // One frame that advances the clock by `seconds` (which must be positive). Returns the line
    // the console returned in this frame.
    std::string Frame(float seconds = kDefaultFrame);
    // Frames of at most `step` seconds until `seconds` have passed.
    void Advance(float seconds, float step = kDefaultFrame);
    // Types `text` into the input field and presses Enter, one frame each, as a player would.
    // Returns the line the console handed back.
    std::string Type(const std::string& text);

    // The GUI clock, as the story reads it.
    float Now() const;
    // Every display line's visible text, spans joined.
    std::vector<std::string> VisibleLines() const;
    // The whole visible log, lines joined with "\n".
    std::string Log() const;

    Console& console() { return *console_; }
    Game& game() { return *game_; }

private:
    void PressEnter(bool down);

    ImGuiContext* context_;
    std::unique_ptr<Console> console_;
    std::unique_ptr<Game> game_;
    bool rewrapDone_ = false;
};

// Path of the game's font next to the test programs, so that measurements match the game.
const char* GameFontPath();

// A GUI context of the game's window size and font (ImGui's own when the game's is missing),
// with its font atlas built and Enter mapped as the window maps it; it is made current.
ImGuiContext* CreateHeadlessGuiContext();
