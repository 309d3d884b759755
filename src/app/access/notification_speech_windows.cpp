#include "app/access/notification_speech_windows.h"

#include "app/platform/platform_windows.h"

void NotificationSpeech::Speak(const std::string& text) {
    if (gone_ || text.empty()) return;
    const NotificationProcessing processing =
        supersede_ ? NotificationProcessing::kImportantMostRecent : NotificationProcessing::kAll;
    if (!notifier_.Raise(
            {NotificationKind::kOther, processing, WideFromUtf8(text), kStoryActivity})) {
        gone_ = true;
        return;
    }
    supersede_ = false;
}

void ReaderOrVoice::Speak(const std::string& text) {
    if (readerRunning_() && reader_.Available()) {
        voice_.Cancel();
        reader_.Speak(text);
        if (reader_.Available()) return;
    }
    voice_.Speak(text);
}

void ReaderOrVoice::Cancel() {
    reader_.Cancel();
    voice_.Cancel();
}
