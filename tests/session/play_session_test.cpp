// The game without a window: what the log gains reaches the display, echoes excepted.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console.h"
#include "engine/game.h"
#include "recording_display.h"
#include "session/play_session.h"
#include "session/wake.h"

namespace {

using Events = std::vector<std::string>;

// One scene whose actions exercise every way the log changes, and a text two seconds in.
void TestStory(Game& game, Console& console) {
    Console* log = &console;
    Game* state = &game;
    game.SetScenes({Scene([log] { log->AddText("Hello."); },
                          [log, state] {
                              if (state->eventStage == 0 && state->SceneOlderThan(2.0f)) {
                                  state->eventStage = 1;
                                  log->AddText("Two seconds.");
                              }
                          })});
    game.eventStage = 0;
    game.SetActions(0, {
                           {{"say"},
                            [log](const std::string&) {
                                log->AddText("one\ntwo");
                            }},
                           {{"wipe"},
                            [log](const std::string&) {
                                log->Clear();
                            }},
                           {{"refill"},
                            [log](const std::string&) {
                                log->Clear();
                                log->AddText("a\nb\nc\nd\ne\nf\ng\nh");
                            }},
                           {{"paint"},
                            [log](const std::string&) {
                                log->AddText("the <a>red\ndoor</> is open");
                            }},
                           {{"quiet"},
                            [log](const std::string&) {
                                log->AddText("");
                            }},
                       });
}

}  // namespace

TEST(PlaySession, ShowsTheOpeningTextAtOnce) {
    RecordingDisplay display;
    PlaySession session(display, 80, TestStory);
    EXPECT_EQ(display.Take(), Events({"Hello."}));
    EXPECT_DOUBLE_EQ(session.Now(), 0.0);
}

TEST(PlaySession, ReportsATypedLineInsteadOfItsEcho) {
    RecordingDisplay display;
    PlaySession session(display, 80, TestStory);
    display.Take();
    session.Frame(PlaySession::kFrameSeconds, "Say");
    EXPECT_EQ(display.Take(), Events({"> Say", "one", "two"}));
    session.Frame(PlaySession::kFrameSeconds, "nothing matches this");
    EXPECT_EQ(display.Take(), Events({"> nothing matches this"}));
}

TEST(PlaySession, KeepsTheWholeStoryAsPlainTextUncutByTheWidth) {
    RecordingDisplay display;
    PlaySession session(display, 6, TestStory);
    for (const char* line : {"say it loud and clear", "paint", "wipe", "nothing"}) {
        session.Frame(PlaySession::kFrameSeconds, line);
    }
    session.Frame(2.0f);
    EXPECT_EQ(session.StoryText(),
              "Hello.\n> say it loud and clear\none\ntwo\n> paint\nthe red\ndoor is open\n"
              "> wipe\n\n* * *\n\n> nothing\nTwo seconds.\n");
}

TEST(PlaySession, SkipsAnEchoWrappedOverSeveralLines) {
    RecordingDisplay display;
    PlaySession session(display, 6, TestStory);
    display.Take();
    session.Frame(PlaySession::kFrameSeconds, "say it loud and clear");  // matches "say"
    EXPECT_EQ(display.Take(), Events({"> say it loud and clear", "one", "two"}));
    EXPECT_GT(session.console().lines().size(), 4u);  // the echo took several lines of the log
}

TEST(PlaySession, ReportsAnEmptiedLogOnceAndWhatFollows) {
    RecordingDisplay display;
    PlaySession session(display, 80, TestStory);
    session.Frame(PlaySession::kFrameSeconds, "wipe");
    EXPECT_EQ(display.Take(), Events({"Hello.", "> wipe", "(cleared)"}));
    session.Frame(PlaySession::kFrameSeconds, "say");
    EXPECT_EQ(display.Take(), Events({"> say", "one", "two"}));
    // Emptied and filled past its old length within one frame.
    session.Frame(PlaySession::kFrameSeconds, "refill");
    EXPECT_EQ(display.Take(),
              Events({"> refill", "(cleared)", "a", "b", "c", "d", "e", "f", "g", "h"}));
}

TEST(PlaySession, ShowsNothingForAnEmptyLineOfTheLog) {
    RecordingDisplay display;
    PlaySession session(display, 80, TestStory);
    display.Take();
    session.Frame(PlaySession::kFrameSeconds, "quiet");
    EXPECT_EQ(display.Take(), Events({"> quiet"}));
}

TEST(PlaySession, RunsTheStoryClockByTheFrameTimes) {
    RecordingDisplay display;
    PlaySession session(display, 80, TestStory);
    display.Take();
    session.Frame(1.5f);
    session.Frame(0.5f);
    EXPECT_TRUE(display.Take().empty());  // exactly 2 s is not yet past 2 s
    session.Frame(PlaySession::kFrameSeconds);
    EXPECT_EQ(display.Take(), Events({"Two seconds."}));
    EXPECT_NEAR(session.Now(), 2.0 + PlaySession::kFrameSeconds, 1e-6);
}

// A front end's clock from an origin at a pace, paused a while: the text two game seconds in
// comes at the reading NextChangeAt names, and not before.
TEST(PlaySession, RunsTheGameOnTheFrontEndsClock) {
    RecordingDisplay display;
    PlaySession session(display, 80, TestStory);
    display.Take();
    session.StartClock(100.0, 0.5);
    session.PlayTo(100.5);
    session.PlayTo(100.5);
    EXPECT_NEAR(session.NextChangeAt(), 104.0, 1e-5);
    session.PauseClock(101.0);
    session.PlayTo(150.0);
    EXPECT_EQ(session.NextChangeAt(), wake::kNever);
    session.PauseClock(180.0);  // paused already: the clock stopped at the first reading
    session.ResumeClock(200.0);
    EXPECT_NEAR(session.NextChangeAt(), 203.0, 1e-5);
    session.PlayTo(202.99);
    EXPECT_TRUE(display.Take().empty());
    session.PlayTo(203.01);
    EXPECT_EQ(display.Take(), Events({"Two seconds."}));
}

TEST(PlaySession, LaysNewTextOutAtTheWidthInForce) {
    RecordingDisplay display;
    PlaySession session(display, 80);
    for (const std::string& line : display.Take()) EXPECT_LE(line.size(), 80u) << line;
    session.SetWrapWidth(30);
    session.Frame(PlaySession::kFrameSeconds, "i understand");
    EXPECT_EQ(display.Take(), Events({"> i understand", "So you understand eh..?",
                                      "Confirming that for me would", "be great."}));
}
