#include "app/speech/sapi_speech_windows.h"

// sapi.h needs windows.h before it.
#include <windows.h>

#include <sapi.h>

#include <string>

#include "app/speech/notification_speech_windows.h"
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

}  // namespace

std::unique_ptr<SpeechSink> OpenSapiSpeech() {
    return std::make_unique<ThreadedSpeech>(
        std::make_unique<SapiVoice>(), [](const std::string& why) { ReportNoSpeech(why.c_str()); });
}
