// The speech thread's owner, with a voice that records its calls and can be held in Say the
// way a slow service holds the thread, so that requests pile up behind it.

#include "app/speech/threaded_speech.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

struct VoiceLog {
    std::mutex mutex;
    std::condition_variable changed;
    Calls calls;
    bool holding = false, failOpen = false;
};

class FakeVoice : public SpeechVoice {
public:
    explicit FakeVoice(std::shared_ptr<VoiceLog> log) : log_(std::move(log)) {}
    std::string Open() override { return Record("open") + (log_->failOpen ? "no voice" : ""); }
    std::string Say(const std::string& text) override { return Record("say " + text, true); }
    std::string Cancel() override { return Record("cancel"); }
    void Close() override { Record("close"); }

private:
    // Records the call; a text is then held while the test holds the voice. Never fails.
    std::string Record(const std::string& call, bool held = false) {
        std::unique_lock<std::mutex> lock(log_->mutex);
        log_->calls.push_back(call);
        log_->changed.notify_all();
        log_->changed.wait(lock, [this, held] { return !held || !log_->holding; });
        return "";
    }
    std::shared_ptr<VoiceLog> log_;
};

std::atomic<int> reports{0};

}  // namespace

TEST(ThreadedSpeech, CallsTheVoiceInOrderFromItsThread) {
    constexpr std::chrono::seconds kLong(10);
    const struct {
        const char* name;
        bool failOpen;
        std::chrono::seconds exitWait;
        std::vector<std::string> steps;  // "wait N": until the voice has had N calls
        Calls calls;
    } cases[] = {
        {"texts in the order given",
         false,
         kLong,
         {"hold", "say a", "wait 2", "say b", "say c", "release", "wait 4", "end"},
         {"open", "say a", "say b", "say c", "close"}},
        {"a cancel cuts what is said and drops what waits",
         false,
         kLong,
         {"hold", "say a", "wait 2", "say b", "cancel", "say c", "release", "wait 4", "end"},
         {"open", "say a", "cancel", "say c", "close"}},
        {"nothing is asked of the voice before a text", false, kLong, {"cancel", "end"}, {}},
        {"a voice that cannot open: said once, the rest dropped",
         true,
         kLong,
         {"say a", "wait 2", "say b", "cancel", "end"},
         {"open", "close"}},
        {"the end does not wait long for a voice that hangs",
         false,
         std::chrono::seconds(0),
         {"hold", "say a", "wait 2", "end", "release", "wait 3"},
         {"open", "say a", "close"}},
    };
    for (const auto& test : cases) {
        reports = 0;
        auto log = std::make_shared<VoiceLog>();
        log->failOpen = test.failOpen;
        auto speech = std::make_unique<ThreadedSpeech>(
            std::make_unique<FakeVoice>(log), [](const std::string&) { ++reports; }, test.exitWait);
        for (const std::string& step : test.steps) {
            const std::string argument = step.substr(step.find(' ') + 1);
            if (step.rfind("say", 0) == 0) speech->Speak(argument);
            if (step == "cancel") speech->Cancel();
            if (step == "end") speech.reset();
            std::unique_lock<std::mutex> lock(log->mutex);
            if (step == "hold" || step == "release") log->holding = step == "hold";
            log->changed.notify_all();
            if (step.rfind("wait", 0) == 0) {
                EXPECT_TRUE(log->changed.wait_for(
                    lock, kLong, [&] { return log->calls.size() >= std::stoul(argument); }))
                    << test.name << ": " << step;
            }
        }
        const std::lock_guard<std::mutex> lock(log->mutex);
        EXPECT_EQ(log->calls, test.calls) << test.name;
        EXPECT_EQ(reports, test.failOpen ? 1 : 0) << test.name;
    }
}
