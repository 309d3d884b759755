// What a screen reader is handed on Windows, recorded in place of UiaRaiseNotificationEvent.

#include "app/notification_speech.h"

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

class RecordingNotifier : public UiaNotifier {
public:
    explicit RecordingNotifier(bool canRaise) : canRaise_(canRaise) {}
    bool Raise(const Notification& notification) override {
        raised.push_back(notification);
        return canRaise_;
    }
    std::vector<Notification> raised;

private:
    bool canRaise_;
};

const std::string kCancel = "<cancel>";

Notification Queued(const std::wstring& text) {
    return {NotificationKind::kOther, NotificationProcessing::kAll, text, L"Tarnwick.Story"};
}
Notification Superseding(const std::wstring& text) {
    return {NotificationKind::kOther, NotificationProcessing::kImportantMostRecent, text,
            L"Tarnwick.Story"};
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
         {Queued(L"You wake."), Queued(L"A bell rings,\ntwice.")}},
        {"after a cancel, the next text supersedes",
         true,
         {"a", kCancel, kCancel, "b", "c"},
         {Queued(L"a"), Superseding(L"b"), Queued(L"c")}},
        {"UTF-16; a broken byte as U+FFFD; an empty text is not raised",
         true,
         {"T\xc3\xa4rnwick", "\xff!", ""},
         {Queued(L"T\u00e4rnwick"), Queued(L"\ufffd!")}},
        {"a platform without notifications is asked once",
         false,
         {"a", "b", kCancel, "c"},
         {Queued(L"a")}},
    };
    for (const auto& test : cases) {
        RecordingNotifier notifier(test.canRaise);
        NotificationSpeech speech(notifier);
        for (const std::string& call : test.calls) {
            if (call == kCancel) {
                speech.Cancel();
            } else {
                speech.Speak(call);
            }
        }
        EXPECT_EQ(notifier.raised, test.raised) << test.name;
    }
}

}  // namespace
