// The house and the ending, played through real frames with a controlled clock.

#include <gtest/gtest.h>

#include "story/playthrough.h"

namespace {

constexpr const char* kWakeUpTexts[] = {
    "Where...where am I?",
    "Argh, my head hurts like hell.",
    "I can't remember getting into this room.",
    "Look around and see what you can find.",
    "What was that? You heard a strange noise. Must be rats.",
};
constexpr const char* kLookAround = "It's dark outside, you can't really see that well";
constexpr const char* kDrawer = "There's a key in one of the drawers";
constexpr const char* kTakeKey = "This might be useful.";
constexpr const char* kRoomDoor = "The door seems to be unlocked";
constexpr const char* kRoomAgain = "You're in the room where you woke up again.";
constexpr const char* kHallway = "A long narrow hallway appears.";
constexpr const char* kTwoDoors = "There's one door on your left side and another on your right.";
constexpr const char* kLocked = "This door seems to be locked.";
constexpr const char* kUnlocked = "The key you found unlocked the right door.";
constexpr const char* kNeedKey = "This door needs a key.";
constexpr const char* kBeastEnter = "Before you can fully open the door...";
constexpr const char* kBeastAttack = "A WILD BEAST STARTS CLAWING AT THE DOOR, QUICKLY CLOSE IT!";
constexpr const char* kKilled = "The beast comes through the door and shreds you to pieces.";
constexpr const char* kSaved = "Your fast reflexes saved your life!";
constexpr const char* kWoods = "You've made it out of the building in once piece";
constexpr const char* kWoodsTexts[] = {
    "Thank you for playing, unfortunatly that's all there is to it :(.",
    "You still here? It's over, there's no more content.",
    "Seriously...there isn't. You may close this window now.",
};

// Seconds since the current scene was entered.
float Elapsed(HeadlessDriver& driver) {
    return driver.Now() - driver.game().sceneStartTime;
}

void AdvanceToElapsed(HeadlessDriver& driver, float elapsed) {
    driver.Advance(elapsed - Elapsed(driver));
}

}  // namespace

TEST(House, WakesUpToTimedThoughts) {
    HeadlessDriver driver;
    ReachWakeUp(driver);
    EXPECT_TRUE(driver.console().lines().empty());
    const struct {
        float elapsed;
        int shown;  // how many of the wake-up texts
    } checkpoints[] = {{1.4f, 0}, {1.6f, 1}, {3.9f, 1},  {4.1f, 2},  {6.6f, 3},
                       {7.9f, 3}, {8.1f, 4}, {39.9f, 4}, {40.1f, 5}, {200.0f, 5}};
    for (const auto& checkpoint : checkpoints) {
        AdvanceToElapsed(driver, checkpoint.elapsed);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(CountOf(driver, kWakeUpTexts[i]), i < checkpoint.shown ? 1 : 0)
                << kWakeUpTexts[i] << " at " << checkpoint.elapsed;
        }
    }
}

TEST(House, FindsTheKeyOnlyAfterOpeningTheDrawer) {
    HeadlessDriver driver;
    ReachWakeUp(driver);
    driver.Type("take key");
    EXPECT_EQ(driver.VisibleLines().back(), "take key");
    EXPECT_FALSE(driver.game().hasKey);

    driver.Type("look around");
    EXPECT_TRUE(Shows(driver, kLookAround));
    driver.Type("look at door");
    EXPECT_EQ(driver.VisibleLines().back(), kRoomDoor);
    driver.Type("take the key");  // three edits from "take key": nothing
    EXPECT_EQ(driver.VisibleLines().back(), "take the key");

    driver.Type("open drawer");
    EXPECT_EQ(driver.VisibleLines().back(), kDrawer);
    EXPECT_TRUE(driver.game().keySeen);
    driver.Type("pick up key");
    EXPECT_EQ(driver.VisibleLines().back(), kTakeKey);
    EXPECT_TRUE(driver.game().hasKey);
    EXPECT_EQ(driver.game().currentScene, WakeUp);
}

TEST(House, TheRightDoorNeedsTheKey) {
    HeadlessDriver driver;
    ReachWakeUp(driver);
    driver.Type("open door");
    EXPECT_TRUE(Shows(driver, kHallway));
    driver.Type("walk to end");
    EXPECT_TRUE(Shows(driver, kTwoDoors));

    const struct {
        const char* line;
        const char* reply;
    } withoutKey[] = {
        {"use key", kNeedKey},      {"open right door", kLocked}, {"unlock right", kNeedKey},
        {"open door", "open door"}, {"unlock", "unlock"},
    };
    for (const auto& c : withoutKey) {
        driver.Type(c.line);
        EXPECT_EQ(driver.VisibleLines().back(), c.reply) << c.line;
        EXPECT_EQ(driver.game().currentScene, TwoDoors) << c.line;
    }

    // Back to the room for the key; the room remembers nothing was reset.
    driver.Type("go back");
    EXPECT_EQ(driver.game().currentScene, RoomAgain);
    EXPECT_EQ(driver.VisibleLines().back(), kRoomAgain);
    driver.Type("inspect drawer");
    driver.Type("grab key");
    EXPECT_TRUE(driver.game().hasKey);
    driver.Type("look at door");
    EXPECT_EQ(driver.VisibleLines().back(), kRoomDoor);
    driver.Type("enter door");
    driver.Type("go back");
    EXPECT_EQ(driver.game().currentScene, RoomAgain);
    EXPECT_TRUE(driver.game().hasKey);
    driver.Type("walk through door");
    driver.Type("walk");

    driver.Type("use key");
    EXPECT_EQ(driver.VisibleLines().back(), kUnlocked);
    EXPECT_TRUE(driver.game().rightDoorUnlocked);
    driver.Type("open right door");
    EXPECT_EQ(driver.game().currentScene, Woods);
    EXPECT_TRUE(Shows(driver, kWoods));
}

TEST(House, ClosingTheDoorInTimeSavesThePlayer) {
    const char* closes[] = {"close", "CLOSE IT", "shut", "close door", "shut left door"};
    for (const char* close : closes) {
        HeadlessDriver driver;
        ReachTwoDoorsWithKey(driver);
        driver.Type("open left door");
        ASSERT_EQ(driver.game().currentScene, Beast);
        EXPECT_EQ(driver.VisibleLines().back(), kBeastEnter);
        AdvanceToElapsed(driver, 1.5f);
        EXPECT_EQ(driver.VisibleLines().back(), kBeastAttack);
        EXPECT_TRUE(driver.game().leftDoorOpen);
        driver.Type(close);
        EXPECT_FALSE(driver.game().leftDoorOpen) << close;
        AdvanceToElapsed(driver, 3.2f);
        EXPECT_EQ(driver.VisibleLines().back(), kSaved) << close;
        EXPECT_EQ(driver.game().currentScene, TwoDoors);
        EXPECT_EQ(driver.game().previousScene, TwoDoors);
        EXPECT_EQ(CountOf(driver, kTwoDoors), 1) << close;  // not entered again
        driver.Advance(20.0f);
        EXPECT_FALSE(Shows(driver, kKilled));
        EXPECT_TRUE(driver.game().hasKey);
    }
}

TEST(House, ClosingTooEarlyOrWithTheWrongWordsKills) {
    const struct {
        float typedAt;
        const char* line;
    } cases[] = {
        {0.1f, "close"}, {1.5f, "close the door"}, {1.5f, "shut the door"}, {3.5f, "close"}};
    for (const auto& c : cases) {
        HeadlessDriver driver;
        ReachTwoDoorsWithKey(driver);
        driver.Type("use key");
        driver.Type("open left door");
        AdvanceToElapsed(driver, c.typedAt);
        driver.Type(c.line);
        AdvanceToElapsed(driver, 3.5f);
        EXPECT_TRUE(Shows(driver, kKilled)) << c.line << " at " << c.typedAt;
        EXPECT_FALSE(Shows(driver, kSaved));
        EXPECT_EQ(driver.game().currentScene, Beast);
    }
}

TEST(House, DeathWakesThePlayerAgainWithNothing) {
    HeadlessDriver driver;
    ReachTwoDoorsWithKey(driver);
    driver.Type("use key");
    driver.Type("open left door");
    AdvanceToElapsed(driver, 2.9f);
    EXPECT_FALSE(Shows(driver, kKilled));
    AdvanceToElapsed(driver, 3.1f);
    EXPECT_EQ(driver.VisibleLines().back().rfind(kKilled, 0), 0u);

    AdvanceToElapsed(driver, 9.9f);
    EXPECT_EQ(driver.game().currentScene, Beast);
    AdvanceToElapsed(driver, 10.1f);
    EXPECT_EQ(driver.game().currentScene, WakeUp);
    EXPECT_EQ(driver.game().previousScene, WakeUp);
    EXPECT_TRUE(driver.console().lines().empty());
    EXPECT_FALSE(driver.game().hasKey);
    EXPECT_FALSE(driver.game().keySeen);
    EXPECT_FALSE(driver.game().rightDoorUnlocked);
    EXPECT_FALSE(driver.game().leftDoorOpen);

    AdvanceToElapsed(driver, 8.1f);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(CountOf(driver, kWakeUpTexts[i]), 1) << i;

    // The first command after waking up again is answered and empties nothing.
    driver.Type("look around");
    EXPECT_TRUE(Shows(driver, kLookAround));
    EXPECT_TRUE(Shows(driver, kWakeUpTexts[0]));
    driver.Type("take key");
    EXPECT_FALSE(driver.game().hasKey);
}

TEST(House, TheLeftDoorLeadsToTheBeastEveryTime) {
    HeadlessDriver driver;
    ReachTwoDoorsWithKey(driver);
    driver.Type("use key");
    for (int visit = 1; visit <= 2; ++visit) {
        driver.Type("enter left");
        EXPECT_EQ(driver.game().currentScene, Beast);
        AdvanceToElapsed(driver, 1.5f);
        driver.Type("close");
        AdvanceToElapsed(driver, 3.2f);
        EXPECT_EQ(CountOf(driver, kSaved), visit);
    }
    driver.Type("open right");
    EXPECT_EQ(driver.game().currentScene, Woods);
}

TEST(House, TheWoodsRollTheCreditsThenFallSilent) {
    HeadlessDriver driver;
    ReachTwoDoorsWithKey(driver);
    driver.Type("unlock door");
    driver.Type("enter right");
    ASSERT_EQ(driver.game().currentScene, Woods);
    const struct {
        float elapsed;
        int shown;
    } checkpoints[] = {{2.4f, 0},  {2.6f, 1},  {14.9f, 1}, {15.1f, 2},
                       {29.9f, 2}, {30.1f, 3}, {600.0f, 3}};
    for (const auto& checkpoint : checkpoints) {
        AdvanceToElapsed(driver, checkpoint.elapsed);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(CountOf(driver, kWoodsTexts[i]), i < checkpoint.shown ? 1 : 0)
                << i << " at " << checkpoint.elapsed;
        }
    }
    const std::size_t lines = driver.console().lines().size();
    driver.Type("go back");
    driver.Type("open left door");
    EXPECT_EQ(driver.console().lines().size(), lines + 2);  // echoes only
    EXPECT_EQ(driver.game().currentScene, Woods);
}
