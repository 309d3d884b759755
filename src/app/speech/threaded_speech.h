#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "app/platform/owned_thread.h"
#include "session/speaking_display.h"

// A voice that takes time to answer (Speech Dispatcher, SAPI), called only from the speech
// thread: Open, then Say and Cancel as asked, then Close (also after an Open that failed). Each
// call but Close returns an empty string when it worked, else why the voice cannot speak.
class SpeechVoice {
public:
    virtual ~SpeechVoice() = default;
    virtual std::string Open() = 0;
    virtual std::string Say(const std::string& text) = 0;
    virtual std::string Cancel() = 0;
    virtual void Close() = 0;
};

// Told, from the speech thread, why the voice cannot speak.
using NoSpeechReport = void (*)(const std::string& why);

// The speech thread and its queue for one voice. The game's calls never wait: the thread starts
// at the first text, sleeps until asked, and makes every call to the voice. Once the voice
// fails, `report` hears why and everything after is dropped. At the end the thread is told to
// stop and waited for at most `exitWait`, so that a voice that stopped answering cannot keep
// the game from closing; such a thread is let go, and the voice and the queue stay with it.
class ThreadedSpeech : public SpeechSink {
public:
    static constexpr std::chrono::milliseconds kExitWait{300};

    ThreadedSpeech(std::unique_ptr<SpeechVoice> voice, NoSpeechReport report,
                   std::chrono::milliseconds exitWait = kExitWait);
    ~ThreadedSpeech() override;

    void Speak(const std::string& text) override;
    void Cancel() override;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::chrono::milliseconds exitWait_;
    OwnedThread thread_;  // started at the first text
};
