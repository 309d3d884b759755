// The opening, played through real frames with a controlled clock.

#include <gtest/gtest.h>

#include "story/playthrough.h"

namespace {

constexpr const char* kWelcome = "Welcome to the Vosk! The shortest text based game ever.";
constexpr const char* kFirstReminder = "You can do this! Write I understand.";
constexpr const char* kSecondReminder = "Testing my patience bro?";
constexpr const char* kRepeatedReminder = "Just type in I underst... you know what? Never mind.";
constexpr const char* kQuestion = "So you understand eh..? Confirming that for me would be great.";
constexpr const char* kConfirmReminder = "Is that a yes or no pal?";
constexpr const char* kRetry = "Okay. Lets try that again Smarty McFly.";
constexpr const char* kRedButton = "Clever girl... push the big red button";
constexpr const char* kRedButtonReminder = "Push the red button...";
constexpr const char* kMissed = "Red button...";

// Advances the clock to `time` seconds since the game began, in ordinary frames.
void AdvanceTo(HeadlessDriver& driver, float time) {
    driver.Advance(time - driver.Now());
}

}  // namespace

TEST(Opening, WelcomesBeforeTheFirstFrameAndRemindsTheIdlePlayer) {
    HeadlessDriver driver;
    EXPECT_TRUE(Shows(driver, kWelcome));
    EXPECT_EQ(driver.game().currentScene, Welcome);

    const struct {
        float time;
        int first, second, repeated;
    } checkpoints[] = {
        {19.9f, 0, 0, 0}, {20.1f, 1, 0, 0}, {34.9f, 1, 0, 0}, {35.1f, 1, 1, 0},  {44.9f, 1, 1, 0},
        {45.1f, 1, 1, 1}, {89.9f, 1, 1, 1}, {90.2f, 1, 1, 2}, {135.3f, 1, 1, 3}, {400.0f, 1, 1, 8},
    };
    for (const auto& checkpoint : checkpoints) {
        AdvanceTo(driver, checkpoint.time);
        EXPECT_EQ(CountOf(driver, kFirstReminder), checkpoint.first) << checkpoint.time;
        EXPECT_EQ(CountOf(driver, kSecondReminder), checkpoint.second) << checkpoint.time;
        EXPECT_EQ(CountOf(driver, kRepeatedReminder), checkpoint.repeated) << checkpoint.time;
    }
}

TEST(Opening, PrintsTextsPendingAfterAStallOnePerFrameInOrder) {
    HeadlessDriver driver;
    driver.Frame(100.0f);
    EXPECT_EQ(CountOf(driver, kFirstReminder), 1);
    EXPECT_EQ(CountOf(driver, kSecondReminder), 0);
    driver.Frame();
    EXPECT_EQ(CountOf(driver, kSecondReminder), 1);
    EXPECT_EQ(CountOf(driver, kRepeatedReminder), 0);
    driver.Frame();
    EXPECT_EQ(CountOf(driver, kRepeatedReminder), 1);
    driver.Advance(1.0f);
    EXPECT_EQ(CountOf(driver, kRepeatedReminder), 1);  // re-armed, not repeated each frame
}

TEST(Opening, UnderstandsTheTutorialPhraseForgivingly) {
    const char* accepted[] = {"I UNDERSTAND", "i understand", "understand", "i understnad"};
    for (const char* line : accepted) {
        HeadlessDriver driver;
        driver.Type(line);
        EXPECT_EQ(driver.game().currentScene, Confirm) << line;
        EXPECT_TRUE(Shows(driver, kQuestion)) << line;
    }
    const char* rejected[] = {"i dont understand", "ok", "yes"};
    for (const char* line : rejected) {
        HeadlessDriver driver;
        driver.Type(line);
        EXPECT_EQ(driver.game().currentScene, Welcome) << line;
        EXPECT_EQ(driver.VisibleLines().back(), line);  // only the echo
    }
}

TEST(Opening, ConfirmsWithYesOrRetriesAfterNo) {
    const struct {
        const char* answer;
        int scene;
    } cases[] = {
        {"yes", RedButton},  {"Y", RedButton},       {"uhu", RedButton}, {" uhu", RedButton},
        {"sure", RedButton}, {"confirm", RedButton}, {"nope", Retry},    {"no", Retry},
        {"ok", Confirm},     {"maybe", Confirm},
    };
    for (const auto& c : cases) {
        HeadlessDriver driver;
        driver.Type("i understand");
        driver.Type(c.answer);
        EXPECT_EQ(driver.game().currentScene, c.scene) << c.answer;
    }
}

TEST(Opening, RetryReturnsToTheQuestionWithoutAskingAgain) {
    HeadlessDriver driver;
    driver.Type("i understand");
    driver.Advance(2.0f);
    driver.Type("no");
    const float answeredAt = driver.Now();
    EXPECT_EQ(driver.VisibleLines().back(), kRetry);

    driver.Type("yes");  // typed during the second of the retry: echoed and ignored
    EXPECT_EQ(driver.VisibleLines().back(), "yes");
    EXPECT_EQ(driver.game().currentScene, Retry);

    driver.Advance(1.0f);
    EXPECT_EQ(driver.game().currentScene, Confirm);
    EXPECT_EQ(CountOf(driver, kQuestion), 1);

    // The reminder counts from the answer, not from the return to the question.
    driver.Advance(answeredAt + 14.8f - driver.Now());
    EXPECT_FALSE(Shows(driver, kConfirmReminder));
    driver.Advance(0.4f);
    EXPECT_EQ(CountOf(driver, kConfirmReminder), 1);
    driver.Advance(60.0f);
    EXPECT_EQ(CountOf(driver, kConfirmReminder), 1);

    driver.Type("yes");
    EXPECT_EQ(driver.game().currentScene, RedButton);
}

TEST(Opening, NoReminderAfterNoOnceTheReminderWasShown) {
    HeadlessDriver driver;
    driver.Type("i understand");
    driver.Advance(15.5f);
    EXPECT_EQ(CountOf(driver, kConfirmReminder), 1);
    driver.Type("no");
    driver.Advance(40.0f);
    EXPECT_EQ(driver.game().currentScene, Confirm);
    EXPECT_EQ(CountOf(driver, kConfirmReminder), 1);
}

TEST(Opening, JudgesWhatWasPushed) {
    const struct {
        const char* line;
        bool wakesUp;
    } cases[] = {
        {"push the red button", true},   {"PUSH RED BUTTON", true},
        {"press red button", true},      {"push button", true},
        {"press button", true},          {"push the button", true},
        {"hit red buton", true},         {"push", false},
        {"press the red button", false}, {"push the big red button", false},
        {"slam the door", false},
    };
    for (const auto& c : cases) {
        HeadlessDriver driver;
        ReachRedButton(driver);
        driver.Type(c.line);
        if (c.wakesUp) {
            EXPECT_EQ(driver.game().currentScene, WakeUp) << c.line;
            EXPECT_TRUE(driver.console().lines().empty()) << c.line;  // the opening is gone
        } else {
            EXPECT_EQ(driver.game().currentScene, RedButton) << c.line;
            EXPECT_EQ(driver.VisibleLines().back(), kMissed) << c.line;
        }
    }
}

TEST(Opening, RemindsOfTheRedButtonEveryFifteenSeconds) {
    HeadlessDriver driver;
    ReachRedButton(driver);
    EXPECT_TRUE(Shows(driver, kRedButton));
    const struct {
        float after;
        int reminders;
    } checkpoints[] = {{14.8f, 0}, {15.3f, 1}, {29.9f, 1}, {30.6f, 2}, {61.0f, 4}};
    const float enteredAt = driver.game().sceneStartTime;
    for (const auto& checkpoint : checkpoints) {
        driver.Advance(enteredAt + checkpoint.after - driver.Now());
        EXPECT_EQ(CountOf(driver, kRedButtonReminder), checkpoint.reminders) << checkpoint.after;
    }
}
