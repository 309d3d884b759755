#include "app/speech/notification_speech_windows.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

#include "console/utf8.h"

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

void ReportNoSpeech(const char* why) {
    // Speech has two ways out on Windows (the screen reader, SAPI): the player hears of it once.
    static std::atomic<bool> told{false};
    if (told.exchange(true)) return;
    std::fprintf(stderr, "tarnwick: no speech: %s\n", why);
}

std::wstring WideFromUtf8(const std::string& text) {
    // The program's own decoder, so that a broken byte reads the same here as everywhere.
    const std::u16string wide = Utf16FromUtf8(text);
    return std::wstring(wide.begin(), wide.end());
}
