// What the window says: the splash's line first, then each frame's new texts whole, never the
// echo, nothing after a clear or a relayout, and the last reply again on request; whether it
// speaks at all, and how it follows the screen reader.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "console/console.h"
#include "engine/game.h"
#include "session/play_session.h"
#include "session/speaking_display.h"

namespace {

using Calls = std::vector<std::string>;

class RecordingSink : public SpeechSink {
public:
    void Speak(const std::string& text) override { calls.push_back(text); }
    void Cancel() override { calls.push_back("(cancel)"); }
    Calls calls;
};

// A welcome, a coloured reply that wraps at the test's width, a clear, and a text that comes
// on its own three seconds in.
void TestStory(Game& game, Console& console) {
    Console* log = &console;
    Game* state = &game;
    game.SetScenes({Scene([log] { log->AddText("Hi."); },
                          [log, state] {
                              if (state->eventStage != 0 || !state->SceneOlderThan(3.0f)) return;
                              state->eventStage = 1;
                              log->AddText("A <r>bell</> rings.");
                          })});
    game.eventStage = 0;
    const auto look = [log](const std::string&) {
        log->AddText("A long <y>yellow hall</>\n\nand a door.");
    };
    const auto wipe = [log](const std::string&) {
        log->Clear();
        log->AddText("Dark.");
    };
    game.SetActions(0, {{{"look"}, look}, {{"wipe"}, wipe}});
}

}  // namespace

TEST(SpeakingDisplay, SaysWhatTheGameAddsAndNothingElse) {
    // A typed line, seconds of waiting, or a key of the window's; then what the sink was told.
    const std::vector<std::pair<std::string, Calls>> steps = {
        {"wait 1", {}},
        {"type look", {"(cancel)", "A long yellow hall and a door."}},
        {"type zzz", {"(cancel)"}},  // nothing matches: the echo alone is added
        {"repeat", {}},              // the reply to "zzz" was empty
        {"type look", {"(cancel)", "A long yellow hall and a door."}},
        {"relayout", {}},
        {"wait 3", {"A bell rings."}},  // timed, queued after the reply: both are the last reply
        {"repeat", {"(cancel)", "A long yellow hall and a door. A bell rings."}},
        {"ctrl", {"(cancel)"}},
        {"type wipe", {"(cancel)", "(cancel)", "Dark."}},
        {"toggle", {"(cancel)", "Speech off."}},
        {"type look", {}},
        {"ctrl", {}},
        {"toggle", {"(cancel)", "Speech on."}},
        {"repeat", {"(cancel)", "A long yellow hall and a door."}},
    };
    RecordingSink sink;
    SpeakingDisplay speech(sink, true);
    speech.Say("Splash.");
    PlaySession session(speech, 12, TestStory);
    EXPECT_EQ(sink.calls, Calls({"Splash.", "Hi."})) << "the splash's line before the story's";
    for (const auto& [action, said] : steps) {
        sink.calls.clear();
        const std::string argument = action.substr(action.find(' ') + 1);
        if (action.rfind("type", 0) == 0) session.Frame(PlaySession::kFrameSeconds, argument);
        if (action.rfind("wait", 0) == 0) session.Frame(std::stof(argument));
        if (action == "relayout") {
            session.SetWrapWidth(30);
            session.Rewrap();
            session.Frame(0.0f);
        }
        if (action == "repeat") speech.RepeatLastReply();
        if (action == "ctrl") speech.Silence();
        if (action == "toggle") speech.SetOn(!speech.on());
        EXPECT_EQ(sink.calls, said) << action;
    }
}

TEST(SpeakingDisplay, FollowsTheScreenReaderUntilThePlayerChooses) {
    using Steps = std::vector<std::pair<std::string, Calls>>;
    const Steps cases[] = {
        {{"reader on", {"Splash.", "Hi."}},  // what waited for the answer is said
         {"reader off", {"(cancel)", "Speech off."}},
         {"type look", {}},
         {"reader on", {"(cancel)", "Speech on."}}},
        {{"reader off", {}}, {"type look", {}}},  // what waited is dropped
        // The player decides: a reader that ends later leaves speech on.
        {{"toggle", {"(cancel)", "Speech on."}},
         {"reader off", {}},
         {"type look", {"(cancel)", "A long yellow hall and a door."}}},
        // The newest texts are kept; none from before the log was emptied.
        {{"wait 4", {}},
         {"type look", {}},
         {"type look", {}},
         {"reader on",
          {"Hi.", "A bell rings.", "A long yellow hall and a door.",
           "A long yellow hall and a door."}}},
        {{"type wipe", {}}, {"reader on", {"Dark."}}},
    };
    for (const Steps& steps : cases) {
        RecordingSink sink;
        ReaderAnswer answer;
        SpeakingDisplay speech(sink, false);
        speech.FollowReader(answer);
        speech.Say("Splash.");
        PlaySession session(speech, 12, TestStory);
        EXPECT_TRUE(sink.calls.empty()) << "nothing said before the answer";
        for (const auto& [action, said] : steps) {
            sink.calls.clear();
            if (action.rfind("type", 0) == 0)
                session.Frame(PlaySession::kFrameSeconds, action.substr(5));
            if (action.rfind("wait", 0) == 0) session.Frame(std::stof(action.substr(5)));
            if (action == "toggle") speech.SetOn(true);
            if (action.rfind("reader", 0) == 0) answer.Set(action == "reader on");
            speech.CheckReader();  // as the window does at every wake
            EXPECT_EQ(sink.calls, said) << steps.front().first << ", then " << action;
        }
    }
}

TEST(SpeechChosen, SpeakOptionThenSavedToggleThenTheReader) {
    const struct {
        bool speakOption;
        std::optional<bool> savedToggle;
        std::optional<bool> chosen;
    } cases[] = {
        {true, false, true}, {true, std::nullopt, true},          {false, false, false},
        {false, true, true}, {false, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SpeechChosen(c.speakOption, c.savedToggle), c.chosen)
            << c.speakOption << " " << c.savedToggle.value_or(-1);
    }
}
