#pragma once

// Speech for a player whose screen reader runs on Windows: each text is raised as a UI
// Automation notification on the window, which NVDA, JAWS and Narrator speak in the player's
// own voice. What is handed to the platform goes through UiaNotifier, so that a test can
// record it.

#include <functional>
#include <string>

#include "session/speaking_display.h"

// How a screen reader is asked to treat a notification, with the values UIAutomationCore.dll
// takes (mingw-w64's headers lack them).
enum class NotificationKind : int {
    kItemAdded = 0,
    kItemRemoved = 1,
    kActionCompleted = 2,
    kActionAborted = 3,
    kOther = 4,
};
enum class NotificationProcessing : int {
    kImportantAll = 0,
    kImportantMostRecent = 1,
    kAll = 2,
    kMostRecent = 3,
    kCurrentThenMostRecent = 4,
};

// What UiaRaiseNotificationEvent is handed.
struct Notification {
    NotificationKind kind;
    NotificationProcessing processing;
    std::wstring text;
    std::wstring activityId;

    bool operator==(const Notification& other) const {
        return kind == other.kind && processing == other.processing && text == other.text &&
               activityId == other.activityId;
    }
};

// Raises a notification on the window; false when this Windows cannot.
class UiaNotifier {
public:
    virtual ~UiaNotifier() = default;
    virtual bool Raise(const Notification& notification) = 0;
};

// Names the game's notifications to screen readers, which may let players configure them.
inline constexpr const wchar_t* kStoryActivity = L"Tarnwick.Story";

// Each text becomes one notification, delivered after those before it. A notification cannot
// be taken back, and an empty one says nothing (NVDA ignores it), so a cancel marks the next
// text as superseding everything before it: the reader stops what it was saying of the game's
// and says that. Pressing Ctrl silences a screen reader by itself. When the platform cannot
// raise notifications (before Windows 10 1709), it is asked once and every text after dropped.
class NotificationSpeech : public SpeechSink {
public:
    explicit NotificationSpeech(UiaNotifier& notifier) : notifier_(notifier) {}

    void Speak(const std::string& text) override;
    void Cancel() override { supersede_ = true; }
    // False once the platform could not raise a notification.
    bool Available() const { return !gone_; }

private:
    UiaNotifier& notifier_;
    bool supersede_ = false;
    bool gone_ = false;
};

// Speech on Windows: through the screen reader while one runs and notifications reach it, else
// through `voice` (SAPI's), which then says the text the platform refused too. `readerRunning`
// is asked at each text, so that a reader started or ended mid-game is followed; a reader that
// starts silences the voice. A cancel goes both ways, since what is being said may have gone
// either way.
class ReaderOrVoice : public SpeechSink {
public:
    ReaderOrVoice(UiaNotifier& notifier, SpeechSink& voice, std::function<bool()> readerRunning)
        : reader_(notifier), voice_(voice), readerRunning_(std::move(readerRunning)) {}

    void Speak(const std::string& text) override;
    void Cancel() override;

private:
    NotificationSpeech reader_;
    SpeechSink& voice_;
    std::function<bool()> readerRunning_;
};
