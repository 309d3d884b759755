#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "session/display.h"

// Where spoken text goes: a speech service, or a recorder in tests. Neither call may wait for
// the speech itself.
class SpeechSink {
public:
    virtual ~SpeechSink() = default;

    // Queues `text` to be said after whatever is being said.
    virtual void Speak(const std::string& text) = 0;
    // Stops what is being said and drops what is queued.
    virtual void Cancel() = 0;
};

// Whether a screen reader runs, as the desktop last answered: set from the thread that asks the
// desktop, read from the game's.
class ReaderAnswer {
public:
    void Set(bool running) { state_.store(running ? kRunning : kNotRunning); }
    // Nothing until the desktop answered.
    std::optional<bool> Get() const {
        const int state = state_.load();
        if (state == kUnknown) return std::nullopt;
        return state == kRunning;
    }

private:
    static constexpr int kUnknown = 0, kNotRunning = 1, kRunning = 2;
    std::atomic<int> state_{kUnknown};
};

// Speaks what the game adds, for a player who cannot see the window: each frame's new texts
// as one utterance (display lines joined, so a wrap point never cuts a sentence), never the
// echo of the player's own line. Texts queue: none cuts the one before it; what cuts speech is
// the player (a new line, Silence, a repeat) or the log emptied. Laying the log out again tells
// a Display nothing, so it says nothing.
class SpeakingDisplay : public Display {
public:
    SpeakingDisplay(SpeechSink& sink, bool on) : sink_(sink), on_(on) {}

    void Typed(const std::string& line) override;
    void Line(const ConsoleLine& line) override;
    void Cleared() override;
    void FrameShown() override;

    bool on() const { return on_; }
    // The player turns speech on or off; it is said either way, and a reader is followed no more.
    void SetOn(bool on);
    // Speech follows `answer` until the player turns it on or off: until the first answer the
    // texts are kept (the newest few), then said if a reader runs and dropped if not; a reader
    // started or ended later turns speech on or off, saying so.
    void FollowReader(const ReaderAnswer& answer);
    // Takes the reader's latest answer, if followed. Called on the game's thread.
    void CheckReader();
    // A text of the front end's own (the splash's), not part of the game's reply, said before
    // the texts the game shows next; several are said in turn.
    void Say(const std::string& text);
    // Stops what is being said, as a screen reader does when Ctrl is pressed.
    void Silence();
    // Says again everything the game added since the player's last line.
    void RepeatLastReply();

private:
    void Speak(const std::string& text);
    void Announce(bool on);

    SpeechSink& sink_;
    bool on_;
    std::string frameText_;                 // what the current frame added so far
    std::string lastReply_;                 // what the game added since the player's last line
    std::vector<std::string> opening_;      // the front end's texts, said at the next frame shown
    const ReaderAnswer* reader_ = nullptr;  // followed until the player decides
    bool answered_ = false;                 // the reader's first answer came
    std::vector<std::string> held_;         // what was to be said before it came
};

// Whether the player chose speech on or off: `--speak` wins, then the toggle saved in an earlier
// run; nothing when neither decides, and speech then follows the desktop's screen reader. A
// detected reader is never saved as the player's choice.
std::optional<bool> SpeechChosen(bool speakOption, std::optional<bool> savedToggle);
