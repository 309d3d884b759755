#include "app/speech/threaded_speech.h"

#include <utility>

#include "app/speech/speech_requests.h"

// What the thread uses; it outlives the sink when the thread is let go.
struct ThreadedSpeech::Shared {
    SpeechRequests<std::string> requests;
    std::unique_ptr<SpeechVoice> voice;
    NoSpeechReport report;
};

namespace {

void SpeakRequests(SpeechRequests<std::string>& requests, SpeechVoice& voice,
                   NoSpeechReport report) {
    std::string why = voice.Open();
    while (why.empty()) {
        const auto request = requests.Next();
        if (request.stop) break;
        if (request.cancel) why = voice.Cancel();
        if (why.empty() && !request.text.empty()) why = voice.Say(request.text);
    }
    if (!why.empty()) {
        requests.GiveUp();
        report(why);
    }
    voice.Close();
}

}  // namespace

ThreadedSpeech::ThreadedSpeech(std::unique_ptr<SpeechVoice> voice, NoSpeechReport report,
                               std::chrono::milliseconds exitWait)
    : shared_(std::make_shared<Shared>()), exitWait_(exitWait) {
    shared_->voice = std::move(voice);
    shared_->report = report;
}

ThreadedSpeech::~ThreadedSpeech() {
    if (!thread_.Started()) return;
    shared_->requests.Stop();
    thread_.End(exitWait_);
}

void ThreadedSpeech::Speak(const std::string& text) {
    if (!shared_->requests.Add(text) || thread_.Started()) return;
    thread_.Start(
        [shared = shared_] { SpeakRequests(shared->requests, *shared->voice, shared->report); });
}

void ThreadedSpeech::Cancel() {
    if (thread_.Started()) shared_->requests.Cancel();
}
