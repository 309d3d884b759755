// Speech on Windows: through the player's screen reader when one runs, as UI Automation
// notifications on the window (NVDA, JAWS and Narrator say them in their own voice); else
// through SAPI's own voice.

#include "app/speech/speech_service.h"

#include <windows.h>

#define GLFW_EXPOSE_NATIVE_WIN32
#include <GLFW/glfw3.h>
#include <GLFW/glfw3native.h>

#include "app/speech/notification_speech_windows.h"
#include "app/speech/sapi_speech_windows.h"
#include "app/speech/uia_window_windows.h"

namespace {

// Asks again at each text, so that a screen reader started or ended mid-game is followed
// (asking reads a system setting); a reader that starts silences SAPI's voice. Both ways are
// cancelled, since what is being said may have gone either way. Neither waits for speech: a
// notification is handed to UI Automation, which delivers it to the reader, and SAPI is
// spoken to from a thread of its own.
class WindowsSpeech : public SpeechSink {
public:
    void Speak(const std::string& text) override {
        if (ScreenReaderRunning()) {
            sapi_->Cancel();
            notifications_.Speak(text);
        } else {
            sapi_->Speak(text);
        }
    }
    void Cancel() override {
        notifications_.Cancel();
        sapi_->Cancel();
    }

private:
    std::unique_ptr<UiaNotifier> notifier_ = OpenWindowNotifier();
    NotificationSpeech notifications_{*notifier_};
    std::unique_ptr<SpeechSink> sapi_ = OpenSapiSpeech();
};

}  // namespace

void AttachSpeechToWindow(GLFWwindow* window) {
    AnswerAutomationFor(glfwGetWin32Window(window));
}

void ShowTextToScreenReader(const std::string& story, const std::string& line) {
    ShowAutomationText(story, line);
}

std::unique_ptr<SpeechSink> OpenSpeechService() {
    return std::make_unique<WindowsSpeech>();
}

bool ScreenReaderRunning() {
    BOOL running = FALSE;
    return SystemParametersInfoW(SPI_GETSCREENREADER, 0, &running, 0) && running;
}
