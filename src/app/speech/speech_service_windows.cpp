// Speech on Windows: through the player's screen reader when one runs, as UI Automation
// notifications on the window (NVDA, JAWS and Narrator say them in their own voice); else
// through SAPI's own voice (also when this Windows cannot raise notifications).

#include "app/speech/speech_service.h"

#include <windows.h>

#define GLFW_EXPOSE_NATIVE_WIN32
#include <GLFW/glfw3.h>
#include <GLFW/glfw3native.h>

#include "app/speech/notification_speech_windows.h"
#include "app/speech/sapi_speech_windows.h"
#include "app/access/uia_window_windows.h"

namespace {

bool ScreenReaderRunning() {
    BOOL running = FALSE;
    return SystemParametersInfoW(SPI_GETSCREENREADER, 0, &running, 0) && running;
}

// Windows keeps whether a screen reader runs as a system setting, read at once.
class WindowsReaderWatch : public ScreenReaderWatch {
public:
    WindowsReaderWatch() { answer_.Set(ScreenReaderRunning()); }
    const ReaderAnswer& answer() const override { return answer_; }

private:
    ReaderAnswer answer_;
};

// Asking whether a reader runs reads a system setting; neither way waits for speech: a
// notification is handed to UI Automation, which delivers it to the reader, and SAPI is spoken
// to from a thread of its own.
class WindowsSpeech : public SpeechSink {
public:
    void Speak(const std::string& text) override { speech_.Speak(text); }
    void Cancel() override { speech_.Cancel(); }

private:
    std::unique_ptr<UiaNotifier> notifier_ = OpenWindowNotifier();
    std::unique_ptr<SpeechSink> sapi_ = OpenSapiSpeech();
    ReaderOrVoice speech_{*notifier_, *sapi_, ScreenReaderRunning};
};

}  // namespace

void AttachSpeechToWindow(GLFWwindow* window) {
    AnswerAutomationFor(glfwGetWin32Window(window));
}

std::unique_ptr<SpeechSink> OpenSpeechService() {
    return std::make_unique<WindowsSpeech>();
}

std::unique_ptr<ScreenReaderWatch> WatchScreenReader(std::function<void()>) {
    return std::make_unique<WindowsReaderWatch>();
}
