#pragma once

#include <functional>
#include <memory>
#include <string>

#include "session/speaking_display.h"

// The desktop's speech service, so that the player's own voice, rate and language apply.
// Speak and Cancel never wait for it: the voice (Speech Dispatcher, SAPI) is asked only from a
// thread of its own, from the first request on. With no service, or one that goes away, one line on
// standard error says so once and everything after is dropped.
std::unique_ptr<SpeechSink> OpenSpeechService();

// Follows whether the desktop's screen reader runs, without the caller ever waiting for a
// desktop service: `answer` is set once the desktop answers and again whenever that changes,
// and each time `wake` is called, from another thread, so that the game's loop takes it. Starts
// no service to find out.
class ScreenReaderWatch {
public:
    virtual ~ScreenReaderWatch() = default;
    virtual const ReaderAnswer& answer() const = 0;
};
std::unique_ptr<ScreenReaderWatch> WatchScreenReader(std::function<void()> wake);
