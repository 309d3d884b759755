#include "app/speech/threaded_speech.h"

#include <condition_variable>
#include <mutex>
#include <utility>

#include "app/speech/speech_requests.h"

// What the thread uses; it outlives the sink when the thread is let go.
struct ThreadedSpeech::Shared {
    SpeechRequests<std::string> requests;
    std::unique_ptr<SpeechVoice> voice;
    NoSpeechReport report;
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
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
    if (!thread_.joinable()) return;
    shared_->requests.Stop();
    std::unique_lock<std::mutex> lock(shared_->mutex);
    const bool done = shared_->ended.wait_for(lock, exitWait_, [this] { return shared_->done; });
    lock.unlock();
    done ? thread_.join() : thread_.detach();
}

void ThreadedSpeech::Speak(const std::string& text) {
    if (!shared_->requests.Add(text) || thread_.joinable()) return;
    thread_ = std::thread([shared = shared_] {
        SpeakRequests(shared->requests, *shared->voice, shared->report);
        const std::lock_guard<std::mutex> lock(shared->mutex);
        shared->done = true;
        shared->ended.notify_all();
    });
}

void ThreadedSpeech::Cancel() {
    if (thread_.joinable()) shared_->requests.Cancel();
}
