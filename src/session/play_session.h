#pragma once

#include <memory>
#include <optional>
#include <string>

#include "console/console.h"
#include "engine/game.h"
#include "session/display.h"
#include "session/story_record.h"
#include "session/wake.h"

// The game as every front end plays it: the front end hands over readings of its own clock and
// typed lines, and everything the log gains is shown on a Display (or drawn from console() by
// the window, whose Display shows nothing). The session turns readings into game time (an
// origin, a pace, pauses), so every front end runs the game's clock the same way.
class PlaySession {
public:
    static constexpr double kFrameSeconds = wake::kFrameSeconds;

    // Starts the game's own story; the welcome text is shown at once.
    PlaySession(Display& display, int wrapWidth);
    // Starts the story that `buildStory` builds.
    PlaySession(Display& display, int wrapWidth, const StoryBuilder& buildStory);

    PlaySession(const PlaySession&) = delete;
    PlaySession& operator=(const PlaySession&) = delete;

    // The game's clock reads 0 at `origin` of the front end's clock and runs at `pace` times it
    // from there (0.01 to 1000). Without it, the game's clock starts at the first reading
    // handed to PlayTo, at the pace of the front end's.
    void StartClock(double origin, double pace = 1.0);
    // One frame that runs the game's clock to `reading` of the front end's clock and hands
    // `typed` to the game unless it is empty. A reading earlier than the last runs nothing.
    void PlayTo(double reading, const std::string& typed = {});
    // Between these two readings the game's clock stands still (the page while hidden).
    void PauseClock(double reading);
    void ResumeClock(double reading);
    // The reading of the front end's clock at which the next PlayTo may show something without
    // input: wake::kNever while only input can, or while the clock is paused; -wake::kNever
    // (at once) before the clock has started.
    double NextChangeAt() const;

    // One frame of exactly `seconds` of game time, for play on a virtual clock of whole frames
    // (scripts, tests): the game's clock sums them as the GUI toolkit sums its frame times.
    void Frame(float seconds, const std::string& typed = {});
    // The width of display lines added from now on; what was shown stays as it was.
    void SetWrapWidth(int width) { console_.wrapWidth = width; }
    // Lays the whole log out again at the console's width, as a front end that draws the
    // console does once its first frame has measured it. Displays are not told: the texts are
    // the same.
    void Rewrap();

    // The time the story gives to act on a warning (time_to_act.h): normal until set.
    TimeToAct timeToAct() const { return game_->timeToAct(); }
    void SetTimeToAct(TimeToAct step) { game_->SetTimeToAct(step); }
    // Adds a line of the game's own, not the story's (a setting the player changed), shown,
    // said and recorded as the story's texts are, in the hint colour.
    void Note(const std::string& text);

    // Seconds of game time since the game began.
    double Now() const { return game_->clock.Seconds(); }
    // Seconds of game time from now until the next frame may show something without input;
    // none while only input can. Zero: frame again at once.
    std::optional<double> SecondsToNextChange() const { return game_->SecondsToNextChange(); }
    Console& console() { return console_; }
    // The whole story since the game began, as plain text (story_record.h).
    const std::string& StoryText() const { return record_.Text(); }

private:
    // Shows the display lines and records the texts the console gained since the last call,
    // as the console counts them, leaving out the echo of a typed line (its first `echoLines`
    // lines and its text), which the display and the record take as typed.
    void TakeLog(std::size_t echoLines, bool echoed);

    // The game's time at a reading of the front end's clock.
    double GameTimeAt(double reading) const {
        return (reading - origin_.value_or(reading)) * pace_;
    }

    Display& display_;
    std::optional<double> origin_;
    double pace_ = 1.0;
    std::optional<double> pausedAt_;  // the reading the clock stopped at
    Console console_;
    std::unique_ptr<Game> game_;  // made once the console has its width
    StoryRecord record_;
    // How much of the log was taken: the clears, the display lines and the texts.
    std::uint64_t clearsTaken_ = 0;
    std::size_t linesTaken_ = 0;
    std::size_t textsTaken_ = 0;
};
