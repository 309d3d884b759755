#include "app/sapi_speech.h"

// sapi.h needs windows.h before it.
#include <windows.h>

#include <sapi.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "app/notification_speech.h"

namespace {

// Texts waiting beyond this, before the voice is made, are dropped oldest first: the player
// wants what is new. Once it is made, SAPI queues them itself.
constexpr std::size_t kMostQueued = 32;

// What the game asks of the speech thread.
struct SapiRequests {
    std::mutex mutex;
    std::condition_variable asked;
    std::deque<std::wstring> texts;
    bool cancel = false;
    bool stopping = false;
    bool gone = false;  // no voice: every request is dropped
};

void GiveUp(SapiRequests& requests, const char* why) {
    ReportNoSpeech(why);
    const std::lock_guard<std::mutex> lock(requests.mutex);
    requests.gone = true;
    requests.texts.clear();
}

// SAPI's default voice, the one the player chose in Windows' settings; null when there is
// none. Wine makes the voice object but has no voice behind it.
ISpVoice* OpenVoice() {
    ISpVoice* voice = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, __uuidof(ISpVoice),
                                reinterpret_cast<void**>(&voice)))) {
        return nullptr;
    }
    ISpObjectToken* token = nullptr;
    if (FAILED(voice->GetVoice(&token)) || token == nullptr) {
        voice->Release();
        return nullptr;
    }
    token->Release();
    return voice;
}

// The speech thread: it sleeps until asked, and makes every call to SAPI. Its calls only queue
// or purge: SAPI speaks on a thread of its own.
void SpeakRequests(SapiRequests& requests) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ISpVoice* voice = OpenVoice();
    if (voice == nullptr) GiveUp(requests, "no SAPI voice");
    while (voice != nullptr) {
        std::unique_lock<std::mutex> lock(requests.mutex);
        requests.asked.wait(lock, [&requests] {
            return requests.stopping || requests.cancel || !requests.texts.empty();
        });
        if (requests.stopping) break;
        const bool cancel = std::exchange(requests.cancel, false);
        std::wstring text;
        if (!requests.texts.empty()) {
            text = std::move(requests.texts.front());
            requests.texts.pop_front();
        }
        lock.unlock();
        if (cancel) voice->Speak(L"", SPF_ASYNC | SPF_PURGEBEFORESPEAK, nullptr);
        if (!text.empty() &&
            FAILED(voice->Speak(text.c_str(), SPF_ASYNC | SPF_IS_NOT_XML, nullptr))) {
            GiveUp(requests, "SAPI's voice does not speak");
            break;
        }
    }
    if (voice != nullptr) voice->Release();
    if (SUCCEEDED(com)) CoUninitialize();
}

class SapiSpeech : public SpeechSink {
public:
    // The thread is told to stop; what it is doing then only queues or purges, so the wait is
    // short, and its COM apartment ends before the process does.
    ~SapiSpeech() override {
        {
            const std::lock_guard<std::mutex> lock(requests_.mutex);
            requests_.stopping = true;
        }
        requests_.asked.notify_one();
        if (thread_.joinable()) thread_.join();
    }

    void Speak(const std::string& text) override {
        {
            const std::lock_guard<std::mutex> lock(requests_.mutex);
            if (requests_.gone || text.empty()) return;
            if (requests_.texts.size() == kMostQueued) requests_.texts.pop_front();
            requests_.texts.push_back(WideFromUtf8(text));
        }
        // Nothing is asked of SAPI before the first text.
        if (!thread_.joinable()) thread_ = std::thread([this] { SpeakRequests(requests_); });
        requests_.asked.notify_one();
    }

    void Cancel() override {
        {
            const std::lock_guard<std::mutex> lock(requests_.mutex);
            if (requests_.gone || !thread_.joinable()) return;
            requests_.texts.clear();
            requests_.cancel = true;
        }
        requests_.asked.notify_one();
    }

private:
    SapiRequests requests_;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<SpeechSink> OpenSapiSpeech() {
    return std::make_unique<SapiSpeech>();
}
