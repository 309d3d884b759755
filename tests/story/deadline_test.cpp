// When the game says it can next change without input, for every timed step of the story.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "console/console.h"
#include "engine/game.h"
#include "engine/scene_deadline.h"
#include "story/story.h"

namespace {

// The story played with the clock moved only as a caller chooses: input is typed at the
// current reading, and every move is followed by one Update, as in a front end's frame.
class ClockedPlay {
public:
    explicit ClockedPlay(const std::string& commands, TimeToAct timeToAct = TimeToAct::kNormal) {
        game_.SetTimeToAct(timeToAct);
        game_.Update();
        std::istringstream lines(commands);
        for (std::string command; std::getline(lines, command, '|');) {
            game_.HandleInput(console_, command);
            game_.Update();
        }
    }

    // Moves the clock to `reading` and updates. Returns the deadline the previous update
    // reported, or infinity for none.
    double MoveTo(double reading) {
        const double promised = game_.NextChangeAt().value_or(INFINITY);
        game_.clock.Set(reading);
        game_.Update();
        return promised;
    }

    int Count(const std::string& text) const {
        int count = 0;
        for (const ConsoleLine& line : console_.lines()) {
            std::string joined;
            for (const TextSpan& span : line) joined += span.text;
            count += joined.find(text) != std::string::npos;
        }
        return count;
    }

    std::optional<double> NextChangeAt() const { return game_.NextChangeAt(); }

private:
    Console console_;
    Game game_{console_};
};

struct TimedStep {
    const char* name;
    const char* commands;  // typed at the start, split at '|'
    const char* text;      // what the step prints, or a text only its scene shows
    int occurrence;        // the step is this appearance of `text`
    double firesNear;      // the reading it fires at, but for float rounding
    TimeToAct timeToAct = TimeToAct::kNormal;
};

constexpr const char* kToWakeUp = "i understand|yes|push button";
constexpr const char* kToBeast = "i understand|yes|push button|open door|walk|open left door";
constexpr const char* kToWoods =
    "i understand|yes|push button|open drawer|take key|open door|walk|use key|open right door";

const TimedStep kTimedSteps[] = {
    {"welcome 1st reminder", "", "You can do this!", 1, 20},
    {"welcome 2nd reminder", "", "Testing my patience bro?", 1, 35},
    {"welcome re-armed", "", "you know what? Never mind.", 1, 45},
    {"welcome re-armed 1000th", "", "you know what? Never mind.", 1000, 45000},
    {"confirm reminder", "i understand", "Is that a yes or no pal?", 1, 15},
    {"retry back to the question", "i understand|no", "Is that a yes or no pal?", 1, 15},
    {"red button reminder", "i understand|yes", "Push the red button...", 1, 15},
    {"red button re-armed", "i understand|yes", "Push the red button...", 3, 45},
    {"wake up 1st", kToWakeUp, "Where...where am I?", 1, 1.5},
    {"wake up 4th", kToWakeUp, "Look around and see", 1, 8},
    {"rats", kToWakeUp, "Must be rats.", 1, 40},
    {"beast attacks", kToBeast, "A WILD BEAST", 1, 1},
    {"beast kills", kToBeast, "shreds you to pieces", 1, 3},
    {"woken again after death", kToBeast, "Where...where am I?", 1, 11.5},
    // The warning keeps its time; the time to act after it grows by the step's factor.
    {"longer: beast attacks", kToBeast, "A WILD BEAST", 1, 1, TimeToAct::kLonger},
    {"longer: beast kills", kToBeast, "shreds you to pieces", 1, 7, TimeToAct::kLonger},
    {"longest: beast attacks", kToBeast, "A WILD BEAST", 1, 1, TimeToAct::kLongest},
    {"longest: beast kills", kToBeast, "shreds you to pieces", 1, 21, TimeToAct::kLongest},
    {"longest: woken again", kToBeast, "Where...where am I?", 1, 29.5, TimeToAct::kLongest},
    {"longest: reminders keep their time", "i understand", "Is that a yes or no pal?", 1, 15,
     TimeToAct::kLongest},
    {"credits", kToWoods, "Thank you for playing", 1, 2.5},
    {"last words", kToWoods, "You may close this window now.", 1, 30},
};

// Moves the clock only to the readings the game names, as an idle front end sleeps, until
// the step's text has appeared; returns the readings visited.
std::vector<double> SleepUntilStep(const TimedStep& step) {
    ClockedPlay play(step.commands, step.timeToAct);
    std::vector<double> readings;
    while (play.Count(step.text) < step.occurrence && readings.size() < 10000) {
        const std::optional<double> next = play.NextChangeAt();
        if (!next) break;
        readings.push_back(*next);
        play.MoveTo(*next);
    }
    return readings;
}

TEST(Deadline, EveryTimedStepFiresAtTheReadingTheGameNamed) {
    for (const TimedStep& step : kTimedSteps) {
        SCOPED_TRACE(step.name);
        const std::vector<double> readings = SleepUntilStep(step);
        ASSERT_FALSE(readings.empty());
        // Each re-arm starts from a reading rounded to a float: a small drift over many.
        EXPECT_NEAR(readings.back(), step.firesNear, 0.01 + step.firesNear * 1e-4);

        // Just below the named reading the step has not fired: the deadline is not late.
        ClockedPlay replay(step.commands, step.timeToAct);
        for (std::size_t i = 0; i + 1 < readings.size(); ++i) replay.MoveTo(readings[i]);
        replay.MoveTo(std::nextafter(readings.back(), 0.0));
        EXPECT_EQ(replay.Count(step.text), step.occurrence - 1);
        replay.MoveTo(readings.back());
        EXPECT_EQ(replay.Count(step.text), step.occurrence);
    }
}

// Frames of a fixed length: a step fires in the first frame at or after the deadline the
// frame before reported. Quarter seconds put frames exactly on the story's thresholds.
TEST(Deadline, NoFrameSeesAStepBeforeItsDeadline) {
    for (const double frame : {0.25, 1.0 / 60.0}) {
        for (const TimedStep& step : kTimedSteps) {
            if (step.occurrence > 3) continue;
            SCOPED_TRACE(std::string(step.name) + " every " + std::to_string(frame) + " s");
            ClockedPlay play(step.commands, step.timeToAct);
            int seen = play.Count(step.text);
            for (double reading = frame; seen < step.occurrence && reading < step.firesNear + 1;
                 reading += frame) {
                const double promised = play.MoveTo(reading);
                const int now = play.Count(step.text);
                if (now > seen) {
                    EXPECT_LE(promised, reading);
                }
                seen = now;
            }
            EXPECT_EQ(seen, step.occurrence);
        }
    }
}

TEST(Deadline, OnlyInputCanChangeAnIdleScene) {
    ClockedPlay play(std::string(kToWakeUp) + "|open door");
    EXPECT_EQ(play.NextChangeAt(), std::nullopt);
    play.MoveTo(1e5);
    EXPECT_EQ(play.NextChangeAt(), std::nullopt);
}

TEST(Deadline, EarliestReadingInSinglePrecision) {
    const struct {
        float start;
        float seconds;
    } cases[] = {{0, 1.5f}, {0, 15}, {12345.678f, 45}, {1e6f, 15}, {3e7f, 0.5f}, {1.0f / 3, 20}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.start) + " + " + std::to_string(c.seconds));
        const double earliest = EarliestClockOlderThan(c.start, c.seconds);
        const auto olderAt = [&c](double reading) {
            return static_cast<float>(reading) - c.start > c.seconds;
        };
        EXPECT_TRUE(olderAt(earliest));
        EXPECT_FALSE(olderAt(std::nextafter(earliest, 0.0)));
    }
}

}  // namespace
