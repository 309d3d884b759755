// What a screen reader is handed on Windows, recorded in place of UiaRaiseNotificationEvent.

#include "app/access/notification_speech_windows.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// A failure shows what the reader would be handed, not the bytes.
void PrintTo(const Notification& notification, std::ostream* out) {
    *out << "{kind " << static_cast<int>(notification.kind) << ", processing "
         << static_cast<int>(notification.processing) << ", "
         << testing::PrintToString(notification.text) << ", "
         << testing::PrintToString(notification.activityId) << "}";
}

namespace {

struct RecordingNotifier : UiaNotifier {
    bool Raise(const Notification& notification) override {
        raised.push_back(notification);
        return canRaise;
    }
    bool canRaise = true;
    std::vector<Notification> raised;
};

const std::string kCancel = "<cancel>";
constexpr NotificationProcessing kQueued = NotificationProcessing::kAll;
constexpr NotificationProcessing kSuperseding = NotificationProcessing::kImportantMostRecent;

Notification Said(NotificationProcessing processing, const std::wstring& text) {
    return {NotificationKind::kOther, processing, text, L"Tarnwick.Story"};
}

TEST(NotificationSpeech, HandsEachTextToTheScreenReader) {
    const struct {
        const char* name;
        bool canRaise;
        std::vector<std::string> calls;
        std::vector<Notification> raised;
    } cases[] = {
        {"texts whole, in order",
         true,
         {"You wake.", "A bell rings,\ntwice."},
         {Said(kQueued, L"You wake."), Said(kQueued, L"A bell rings,\ntwice.")}},
        {"after a cancel, the next text supersedes",
         true,
         {"a", kCancel, kCancel, "b", "c"},
         {Said(kQueued, L"a"), Said(kSuperseding, L"b"), Said(kQueued, L"c")}},
        {"UTF-16; a broken byte as U+FFFD; an empty text is not raised",
         true,
         {"T\xc3\xa4rnwick", "\xff!", ""},
         {Said(kQueued, L"T\u00e4rnwick"), Said(kQueued, L"\ufffd!")}},
        {"a platform without notifications is asked once",
         false,
         {"a", "b", kCancel, "c"},
         {Said(kQueued, L"a")}},
    };
    for (const auto& test : cases) {
        RecordingNotifier notifier;
        notifier.canRaise = test.canRaise;
        NotificationSpeech speech(notifier);
        for (const std::string& call : test.calls) {
            call == kCancel ? speech.Cancel() : speech.Speak(call);
        }
        EXPECT_EQ(notifier.raised, test.raised) << test.name;
    }
}

struct RecordingVoice : SpeechSink {
    void Speak(const std::string& text) override { said.push_back(text); }
    void Cancel() override { said.push_back(kCancel); }
    std::vector<std::string> said;
};

TEST(ReaderOrVoice, TheScreenReaderWhenItCanBeHandedTextsElseTheVoice) {
    const struct {
        bool readerRunning, canRaise;
        std::vector<Notification> raised;
        std::vector<std::string> voiceSaid;  // after "a", a cancel, "b"
    } cases[] = {
        {true, true, {Said(kQueued, L"a"), Said(kSuperseding, L"b")}, {kCancel, kCancel, kCancel}},
        {false, true, {}, {"a", kCancel, "b"}},
        {true, false, {Said(kQueued, L"a")}, {kCancel, "a", kCancel, "b"}},  // before 10 1709
    };
    for (const auto& test : cases) {
        RecordingNotifier notifier;
        notifier.canRaise = test.canRaise;
        RecordingVoice voice;
        const bool running = test.readerRunning;
        ReaderOrVoice speech(notifier, voice, [running] { return running; });
        speech.Speak("a");
        speech.Cancel();
        speech.Speak("b");
        EXPECT_EQ(notifier.raised, test.raised) << test.readerRunning << test.canRaise;
        EXPECT_EQ(voice.said, test.voiceSaid) << test.readerRunning << test.canRaise;
    }
}

}  // namespace
