#pragma once

#include <optional>
#include <string>

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

// Speaks what the game adds, for a player who cannot see the window: each frame's new texts
// as one utterance (display lines joined, so a wrap point never cuts a sentence), never the
// echo of the player's own line. Emptying the log silences it; laying the log out again tells
// a Display nothing, so it says nothing.
class SpeakingDisplay : public Display {
public:
    SpeakingDisplay(SpeechSink& sink, bool on) : sink_(sink), on_(on) {}

    void Typed(const std::string& line) override;
    void Line(const ConsoleLine& line) override;
    void Cleared() override;
    void FrameShown() override;

    bool on() const { return on_; }
    // Turns speech on or off, saying so either way.
    void SetOn(bool on);
    // Says a text of the front end's own (the splash's), not part of the game's reply.
    void Say(const std::string& text);
    // Stops what is being said, as a screen reader does when Ctrl is pressed.
    void Silence();
    // Says again everything the game added since the player's last line.
    void RepeatLastReply();

private:
    SpeechSink& sink_;
    bool on_;
    std::string frameText_;  // what the current frame added so far
    std::string lastReply_;  // what the game added since the player's last line
};

// Whether speech starts on: `--speak` wins, then the player's saved toggle, then whether a
// screen reader runs (asked only when neither decides, since asking the desktop takes time).
// A detected reader is never saved as the player's choice.
template <typename ReaderRunning>
bool SpeechStartsOn(bool speakOption, std::optional<bool> savedToggle,
                    ReaderRunning readerRunning) {
    if (speakOption) return true;
    if (savedToggle) return *savedToggle;
    return readerRunning();
}
