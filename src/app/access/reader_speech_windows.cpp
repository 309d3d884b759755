#include "app/access/reader_speech.h"

#include "app/access/notification_speech_windows.h"
#include "app/access/uia_window_windows.h"
#include "app/platform/platform_windows.h"

namespace {

// Asking whether a reader runs reads a system setting; neither way waits for speech: a
// notification is handed to UI Automation, which delivers it to the reader, and the voice is
// spoken to from a thread of its own.
class WindowsSpeech : public SpeechSink {
public:
    explicit WindowsSpeech(std::unique_ptr<SpeechSink> voice) : voice_(std::move(voice)) {}
    void Speak(const std::string& text) override { speech_.Speak(text); }
    void Cancel() override { speech_.Cancel(); }

private:
    std::unique_ptr<UiaNotifier> notifier_ = OpenWindowNotifier();
    std::unique_ptr<SpeechSink> voice_;
    ReaderOrVoice speech_{*notifier_, *voice_, ScreenReaderRunning};
};

}  // namespace

std::unique_ptr<SpeechSink> SpeechThroughReader(std::unique_ptr<SpeechSink> voice) {
    return std::make_unique<WindowsSpeech>(std::move(voice));
}
