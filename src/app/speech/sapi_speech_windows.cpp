#include "app/speech/sapi_speech_windows.h"

// sapi.h needs windows.h before it.
#include <windows.h>

#include <sapi.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "app/platform/platform_windows.h"
#include "app/speech/threaded_speech.h"

namespace {

// SAPI's default voice, the one the player chose in Windows' settings, in a COM apartment of
// the speech thread's own. Its calls only queue or purge: SAPI speaks on a thread of its own.
class SapiVoice : public SpeechVoice {
public:
    std::string Open() override {
        com_ = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (FAILED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, __uuidof(ISpVoice),
                                    reinterpret_cast<void**>(&voice_)))) {
            voice_ = nullptr;
            return "no SAPI voice";
        }
        // Wine makes the voice object but has no voice behind it.
        ISpObjectToken* token = nullptr;
        if (FAILED(voice_->GetVoice(&token)) || token == nullptr) return "no SAPI voice";
        token->Release();
        return "";
    }
    std::string Say(const std::string& text) override {
        const HRESULT said =
            voice_->Speak(WideFromUtf8(text).c_str(), SPF_ASYNC | SPF_IS_NOT_XML, nullptr);
        return FAILED(said) ? "SAPI's voice does not speak" : "";
    }
    std::string Cancel() override {
        voice_->Speak(L"", SPF_ASYNC | SPF_PURGEBEFORESPEAK, nullptr);
        return "";
    }
    void Close() override {
        if (voice_ != nullptr) voice_->Release();
        if (SUCCEEDED(com_)) CoUninitialize();
    }

private:
    HRESULT com_ = E_FAIL;
    ISpVoice* voice_ = nullptr;
};

// Says once per run, on standard error, that the game cannot speak and why. The flag is trivially
// destroyed, so a speech thread let go at the end may still read it.
void ReportNoSpeech(const std::string& why) {
    static std::atomic<bool> told{false};
    if (told.exchange(true)) return;
    std::fprintf(stderr, "tarnwick: no speech: %s\n", why.c_str());
}

}  // namespace

std::unique_ptr<SpeechSink> OpenSapiSpeech() {
    return std::make_unique<ThreadedSpeech>(std::make_unique<SapiVoice>(), ReportNoSpeech);
}
