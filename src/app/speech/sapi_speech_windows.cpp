#include "app/speech/sapi_speech_windows.h"

// sapi.h needs windows.h before it.
#include <windows.h>

#include <sapi.h>

#include <string>
#include <thread>

#include "app/speech/notification_speech_windows.h"
#include "app/speech/speech_requests.h"

namespace {

using Requests = SpeechRequests<std::wstring>;

void GiveUp(Requests& requests, const char* why) {
    ReportNoSpeech(why);
    requests.GiveUp();
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
void SpeakRequests(Requests& requests) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ISpVoice* voice = OpenVoice();
    if (voice == nullptr) GiveUp(requests, "no SAPI voice");
    while (voice != nullptr) {
        const Requests::Request request = requests.Next();
        if (request.stop) break;
        if (request.cancel) voice->Speak(L"", SPF_ASYNC | SPF_PURGEBEFORESPEAK, nullptr);
        if (!request.text.empty() &&
            FAILED(voice->Speak(request.text.c_str(), SPF_ASYNC | SPF_IS_NOT_XML, nullptr))) {
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
        requests_.Stop();
        if (thread_.joinable()) thread_.join();
    }

    void Speak(const std::string& text) override {
        // Nothing is asked of SAPI before the first text.
        if (!text.empty() && requests_.Add(WideFromUtf8(text)) && !thread_.joinable()) {
            thread_ = std::thread([this] { SpeakRequests(requests_); });
        }
    }

    void Cancel() override {
        if (thread_.joinable()) requests_.Cancel();
    }

private:
    Requests requests_;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<SpeechSink> OpenSapiSpeech() {
    return std::make_unique<SapiSpeech>();
}
