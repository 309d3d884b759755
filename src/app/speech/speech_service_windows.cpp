// Speech on Windows in SAPI's own voice; a screen reader that runs is handed the game's texts by
// the window's UI Automation provider instead (app/access/reader_speech.h).

#include "app/speech/speech_service.h"

#include "app/platform/platform_windows.h"
#include "app/speech/sapi_speech_windows.h"

namespace {

// Windows keeps whether a screen reader runs as a system setting, read at once.
class WindowsReaderWatch : public ScreenReaderWatch {
public:
    WindowsReaderWatch() { answer_.Set(ScreenReaderRunning()); }
    const ReaderAnswer& answer() const override { return answer_; }

private:
    ReaderAnswer answer_;
};

}  // namespace

std::unique_ptr<SpeechSink> OpenSpeechService() {
    return OpenSapiSpeech();
}

std::unique_ptr<ScreenReaderWatch> WatchScreenReader(std::function<void()>) {
    return std::make_unique<WindowsReaderWatch>();
}
