// Speech through Speech Dispatcher, the service Orca speaks through.

#include "app/speech/speech_service.h"

#include <libspeechd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/speech/threaded_speech.h"

namespace {

constexpr const char* kStoppedAnswering = "Speech Dispatcher stopped answering";

// libspeechd waits for the service's answer on every call, so it is called from the speech
// thread only.
class SpeechDispatcherVoice : public SpeechVoice {
public:
    std::string Open() override {
        char* error = nullptr;
        // No address: libspeechd takes SPEECHD_ADDRESS, else the desktop's usual socket. No
        // autospawn: a service of the game's own would not be the player's.
        connection_ = spd_open2("tarnwick", "main", nullptr, SPD_MODE_SINGLE, nullptr, 0, &error);
        const std::string why = connection_ != nullptr ? ""
                                : error != nullptr     ? error
                                                       : "cannot reach Speech Dispatcher";
        std::free(error);
        return why;
    }
    // At the priority that queues: a text waits for the one being said; only Cancel cuts it.
    std::string Say(const std::string& text) override {
        return spd_say(connection_, SPD_MESSAGE, text.c_str()) < 0 ? kStoppedAnswering : "";
    }
    std::string Cancel() override { return spd_cancel(connection_) != 0 ? kStoppedAnswering : ""; }
    void Close() override {
        if (connection_ != nullptr) spd_close(connection_);
    }

private:
    SPDConnection* connection_ = nullptr;
};

void ReportNoSpeech(const std::string& why) {
    std::fprintf(stderr, "tarnwick: no speech: %s\n", why.c_str());
}

}  // namespace

std::unique_ptr<SpeechSink> OpenSpeechService() {
    return std::make_unique<ThreadedSpeech>(std::make_unique<SpeechDispatcherVoice>(),
                                            ReportNoSpeech);
}
