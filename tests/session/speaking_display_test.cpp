// What the window says: each frame's new texts whole, never the echo, nothing after a clear
// or a relayout, and the last reply again on request.

#include <gtest/gtest.h>

#include <optional>
#include <string>
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
                              if (state->eventStage == 0 && state->SceneOlderThan(3.0f)) {
                                  state->eventStage = 1;
                                  log->AddText("A <r>bell</> rings.");
                              }
                          })});
    game.eventStage = 0;
    game.SetActions(0, {{{"look"},
                         [log](const std::string&) {
                             log->AddText("A long <y>yellow</> hall\n\nwith one door.");
                         }},
                        {{"wipe"}, [log](const std::string&) {
                             log->Clear();
                             log->AddText("Dark.");
                         }}});
}

// One step of play: a typed line, seconds of waiting, or a key of the window's.
struct Step {
    std::string action;  // "type LINE", "wait SECONDS", "relayout", "repeat", "ctrl", "toggle"
    Calls said;
};

}  // namespace

TEST(SpeakingDisplay, SaysWhatTheGameAddsAndNothingElse) {
    const std::vector<Step> steps = {
        {"wait 1", {}},
        {"type look", {"A long yellow hall with one door."}},
        {"type zzz", {}},  // nothing matches: the echo alone is added
        {"repeat", {}},    // the reply to "zzz" was empty
        {"type look", {"A long yellow hall with one door."}},
        {"relayout", {}},
        {"wait 3", {"A bell rings."}},  // timed, after the reply: both are the last reply
        {"repeat", {"(cancel)", "A long yellow hall with one door. A bell rings."}},
        {"ctrl", {"(cancel)"}},
        {"type wipe", {"(cancel)", "Dark."}},
        {"toggle", {"(cancel)", "Speech off."}},
        {"type look", {}},
        {"repeat", {}},
        {"ctrl", {}},
        {"toggle", {"(cancel)", "Speech on."}},
        {"repeat", {"(cancel)", "A long yellow hall with one door."}},
    };
    RecordingSink sink;
    SpeakingDisplay speech(sink, true);
    PlaySession session(speech, 12, TestStory);
    EXPECT_EQ(sink.calls, Calls({"Hi."}));
    for (const Step& step : steps) {
        sink.calls.clear();
        const std::string verb = step.action.substr(0, step.action.find(' '));
        const std::string rest = step.action.substr(verb.size() + (verb != step.action));
        if (verb == "type") session.Frame(PlaySession::kFrameSeconds, rest);
        if (verb == "wait") session.Frame(std::stof(rest));
        if (verb == "relayout") {
            session.SetWrapWidth(30);
            session.Rewrap();
            session.Frame(PlaySession::kFrameSeconds);
        }
        if (verb == "repeat") speech.RepeatLastReply();
        if (verb == "ctrl") speech.Silence();
        if (verb == "toggle") speech.SetOn(!speech.on());
        EXPECT_EQ(sink.calls, step.said) << step.action;
    }
}

TEST(SpeakingDisplay, StartsOnByTheOptionThenTheSavedToggleThenAReader) {
    struct Row {
        bool speak;
        std::optional<bool> saved;
        bool reader;
        bool on;
    };
    for (const Row& row : {Row{true, false, false, true}, Row{false, false, true, false},
                           Row{false, true, false, true}, Row{false, std::nullopt, true, true},
                           Row{false, std::nullopt, false, false}}) {
        const bool reader = row.reader;
        EXPECT_EQ(SpeechStartsOn(row.speak, row.saved, [reader] { return reader; }), row.on)
            << row.speak << " " << row.saved.value_or(-1) << " " << row.reader;
    }
}
