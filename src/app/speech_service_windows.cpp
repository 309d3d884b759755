// Windows speaks through neither UI Automation nor SAPI yet: asked to speak, the game says so
// once and plays on silent.

#include "app/speech_service.h"

#include <cstdio>

namespace {

class NoSpeech : public SpeechSink {
public:
    void Speak(const std::string&) override {
        if (told_) return;
        told_ = true;
        std::fputs("tarnwick: no speech: this build cannot speak yet\n", stderr);
    }
    void Cancel() override {}

private:
    bool told_ = false;
};

}  // namespace

std::unique_ptr<SpeechSink> OpenSpeechService() {
    return std::make_unique<NoSpeech>();
}

bool ScreenReaderRunning() {
    return false;
}
