// The scene machine through real frames: echo, dispatch, entering scenes and their clocks.

#include "engine/game.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/headless_driver.h"

namespace {

// A small story whose scenes record what happens to them. Each scene prints "enter N" on
// entry and counts its updates; phrases switch scenes in the three ways story code can.
struct Recorder {
    std::vector<int> updates = std::vector<int>(4, 0);
    std::vector<int> entries = std::vector<int>(4, 0);
    std::vector<std::string> arguments;
    int switchFromUpdateTo = -1;  // scene 0's update switches here once when set
};

StoryBuilder RecordingStory(Recorder* recorder) {
    return [recorder](Game& game, Console& console) {
        Game* g = &game;
        Console* c = &console;
        std::vector<Scene> scenes;
        for (int i = 0; i < 4; ++i) {
            scenes.emplace_back(
                [recorder, c, i] {
                    ++recorder->entries[i];
                    c->AddText("enter " + std::to_string(i));
                },
                [recorder, g, i] {
                    ++recorder->updates[i];
                    if (i == 0 && recorder->switchFromUpdateTo >= 0) {
                        g->previousScene = g->currentScene;
                        g->currentScene = recorder->switchFromUpdateTo;
                        recorder->switchFromUpdateTo = -1;
                    }
                });
        }
        game.SetScenes(std::move(scenes));
        auto switchTo = [g, c](int scene) {
            return [g, c, scene](const std::string&) {
                c->AddText("going to " + std::to_string(scene));
                g->previousScene = g->currentScene;
                g->currentScene = scene;
            };
        };
        std::vector<Action> actions = {
            {{"go one"}, switchTo(1)},
            {{"go two"}, switchTo(2)},
            {{"stay"}, switchTo(0)},
            {{"jump three"},
             [g](const std::string&) {
                 g->currentScene = g->previousScene = 3;
             }},
            {{"note"},
             [recorder, c](const std::string& argument) {
                 recorder->arguments.push_back(argument);
                 c->AddText("noted");
             }},
        };
        game.SetActions(0, actions);
        game.SetActions(1, {{{"back"}, switchTo(0)}});
        game.CopyActions(0, 2);
        // Scene 3 has no actions.
    };
}

// Scene 1's entry switches on to scene 2 by itself.
StoryBuilder ChainedEntryStory() {
    return [](Game& game, Console& console) {
        Game* g = &game;
        Console* c = &console;
        game.SetScenes({
            Scene([c] { c->AddText("start"); }, [] {}),
            Scene(
                [g, c] {
                    c->AddText("enter 1");
                    g->previousScene = g->currentScene;
                    g->currentScene = 2;
                },
                [] {}),
            Scene([c] { c->AddText("enter 2"); }, [] {}),
        });
        game.SetActions(0, {{{"go"}, [g](const std::string&) {
                                 g->previousScene = g->currentScene;
                                 g->currentScene = 1;
                             }}});
        game.SetActions(2, {{{"stay"}, [](const std::string&) {
                             }}});
    };
}

}  // namespace

TEST(Game, EntersTheFirstSceneBeforeTheFirstFrame) {
    Recorder recorder;
    HeadlessDriver driver(RecordingStory(&recorder));
    EXPECT_EQ(driver.Log(), "enter 0");
    EXPECT_EQ(recorder.entries[0], 1);
    EXPECT_EQ(recorder.updates[0], 0);
    EXPECT_EQ(driver.game().sceneStartTime, 0.0f);
    EXPECT_EQ(driver.game().currentScene, 0);
    EXPECT_EQ(driver.game().previousScene, 0);
}

TEST(Game, SwitchingFromAHandlerEchoesThenPrintsThenEnters) {
    Recorder recorder;
    HeadlessDriver driver(RecordingStory(&recorder));
    driver.Advance(1.0f);
    const int updatesBefore = recorder.updates[1];
    driver.Type("Go One");
    EXPECT_EQ(driver.Log(), "enter 0\nGo One\ngoing to 1\nenter 1");
    EXPECT_EQ(driver.console().lines()[1].back().style, SpanStyle::Echo);
    EXPECT_EQ(driver.game().currentScene, 1);
    EXPECT_EQ(driver.game().previousScene, 1);
    EXPECT_EQ(recorder.entries[1], 1);
    EXPECT_GT(recorder.updates[1], updatesBefore);  // updated in the frame it was entered
    EXPECT_GT(driver.game().sceneStartTime, 1.0f);
    EXPECT_LE(driver.game().sceneStartTime, driver.Now());
}

TEST(Game, AssigningTheCurrentSceneEntersNothing) {
    Recorder recorder;
    HeadlessDriver driver(RecordingStory(&recorder));
    driver.Advance(0.5f);
    driver.Type("stay");
    EXPECT_EQ(driver.Log(), "enter 0\nstay\ngoing to 0");
    EXPECT_EQ(recorder.entries[0], 1);
    EXPECT_EQ(driver.game().sceneStartTime, 0.0f);
}

TEST(Game, SettingBothIndicesSwitchesWithoutEntering) {
    Recorder recorder;
    HeadlessDriver driver(RecordingStory(&recorder));
    driver.Type("jump three");
    EXPECT_EQ(driver.game().currentScene, 3);
    EXPECT_EQ(recorder.entries[3], 0);
    // Scene 3 has no actions: lines are only echoed.
    driver.Type("go one");
    EXPECT_EQ(driver.Log(), "enter 0\njump three\ngo one");
    EXPECT_EQ(driver.game().currentScene, 3);
    EXPECT_GT(recorder.updates[3], 0);
}

TEST(Game, SwitchingFromAnUpdateEntersOnlyAfterTheNextAcceptedLine) {
    Recorder recorder;
    HeadlessDriver driver(RecordingStory(&recorder));
    driver.Frame();
    recorder.switchFromUpdateTo = 2;
    driver.Frame();
    EXPECT_EQ(driver.game().currentScene, 2);
    EXPECT_EQ(driver.game().previousScene, 0);
    EXPECT_EQ(recorder.entries[2], 0);
    EXPECT_EQ(driver.game().sceneStartTime, 0.0f);

    // A line nobody accepts only records the index.
    driver.Type("xyzzy");
    EXPECT_EQ(recorder.entries[2], 0);
    EXPECT_EQ(driver.game().previousScene, 2);

    recorder.switchFromUpdateTo = -1;
    driver.game().previousScene = 0;  // as the update left it, before that line
    driver.Type("note this");
    EXPECT_EQ(recorder.entries[2], 1);  // the pending entry runs after the handler
    EXPECT_EQ(driver.Log(), "enter 0\nxyzzy\nnote this\nnoted\nenter 2");
}

TEST(Game, AnEntryThatSwitchesAgainLeavesTheFurtherSceneNotEntered) {
    HeadlessDriver driver(ChainedEntryStory());
    driver.Type("go");
    EXPECT_EQ(driver.Log(), "start\ngo\nenter 1");
    EXPECT_EQ(driver.game().currentScene, 2);
    EXPECT_EQ(driver.game().previousScene, 2);
    driver.Type("stay");
    EXPECT_EQ(driver.Log(), "start\ngo\nenter 1\nstay");
}

TEST(Game, UnmatchedLinesLeaveOnlyTheirEchoAndTheClockRunning) {
    Recorder recorder;
    HeadlessDriver driver(RecordingStory(&recorder));
    driver.Frame();
    const struct {
        std::string typed;
        std::string shown;
    } lines[] = {
        {"", ""},
        {" ", " "},
        {"xyz such thing", "xyz such thing"},
        {"<a>go</> one", "go one"},  // markup typed takes effect in the echo
        {std::string("\x01\xFF\x7F", 3), std::string("\x01\xFF\x7F", 3)},
        // A run of '<' hides the echo's closing tag from the markup rule.
        {std::string(31, '<'), std::string(31, '<') + "</>"},
    };
    std::string expected = driver.Log();
    for (const auto& line : lines) {
        driver.game().HandleInput(driver.console(), line.typed);
        driver.Frame();
        expected += "\n" + line.shown;
    }
    EXPECT_EQ(driver.Log(), expected);
    EXPECT_EQ(driver.game().currentScene, 0);
    EXPECT_EQ(driver.game().sceneStartTime, 0.0f);
    EXPECT_TRUE(recorder.arguments.empty());
    EXPECT_EQ(recorder.entries, (std::vector<int>{1, 0, 0, 0}));
}

TEST(Game, EchoKeepsCapitalsAndMarkupTyped) {
    Recorder recorder;
    HeadlessDriver driver(RecordingStory(&recorder));
    driver.Type("NOTE <a>Red</> then");
    const ConsoleLine& echo = driver.console().lines()[1];
    ASSERT_EQ(echo.size(), 4u);  // an empty plain span before the echo's own tag
    EXPECT_EQ(echo[1].text, "NOTE ");
    EXPECT_EQ(echo[1].style, SpanStyle::Echo);
    EXPECT_EQ(echo[2].text, "Red");
    EXPECT_EQ(echo[2].style, SpanStyle::Action);
    EXPECT_EQ(echo[3].text, " then");
    EXPECT_EQ(echo[3].style, SpanStyle::Plain);  // the typed "</>" ended the echo colour
    EXPECT_EQ(recorder.arguments, std::vector<std::string>{" <a>red</> then"});
}

TEST(Game, CopiedActionsReactLikeTheOriginals) {
    Recorder recorder;
    HeadlessDriver driver(RecordingStory(&recorder));
    driver.Type("go two");
    ASSERT_EQ(driver.game().currentScene, 2);
    driver.Type("note copied");
    EXPECT_EQ(recorder.arguments, std::vector<std::string>{" copied"});
    driver.Type("go one");
    EXPECT_EQ(driver.game().currentScene, 1);
}

// A timed step that only sets a story flag, or only prints, is a change: the game is due again
// at once, so that no front end sleeps past the steps that follow it.
TEST(Game, AStepThatOnlySetsAFlagOrOnlyPrintsIsDueAgainAtOnce) {
    Console console;
    Game game(console, [](Game& built, Console& log) {
        Game* state = &built;
        Console* out = &log;
        built.SetScenes({Scene([] {},
                               [state, out] {
                                   if (!state->hasKey && state->SceneOlderThan(1.0f)) {
                                       state->hasKey = true;
                                   } else if (state->hasKey && out->lines().empty() &&
                                              state->SceneOlderThan(2.0f)) {
                                       out->AddText("Two.");
                                   }
                               })});
    });
    // Runs an update at `seconds`; whether the game is then due at once, and when otherwise.
    const auto runAt = [&game](double seconds) {
        game.clock.Set(seconds);
        game.Update();
        return game.NextChangeAt();
    };
    const std::optional<double> flagDue = runAt(0.5);
    ASSERT_TRUE(flagDue.has_value());
    EXPECT_EQ(runAt(*flagDue), *flagDue);  // the flag set: due at once
    const std::optional<double> printDue = runAt(*flagDue);
    ASSERT_TRUE(printDue.has_value());
    EXPECT_GT(*printDue, 2.0);
    EXPECT_EQ(runAt(*printDue), *printDue);  // the text printed: due at once
    EXPECT_FALSE(runAt(*printDue).has_value());
    game.HandleInput(console, "anything");
    EXPECT_EQ(game.NextChangeAt(), game.clock.Seconds());  // a typed line: due at once
}
