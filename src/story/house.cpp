// Scenes 4 to 9: waking up in the room, the key, the hallway, the two doors, the beast behind
// the left one and the way out into the woods.

#include "story/story_parts.h"

namespace story {

namespace {

constexpr const char* kWakeUpTexts[] = {
    "Where...where am I?",
    "Argh, my head hurts like hell.",
    "I can't remember getting into this room. I can barely remember anything at all...",
    "<a>Look around</> <h>and see what you can find.</>",
    "What was that? You heard a strange noise. Must be rats.",
};
constexpr float kWakeUpTextAfter[] = {1.5f, 4.0f, 6.5f, 8.0f, 40.0f};

constexpr const char* kLookAroundText =
    "It's dark outside, you can't really see that well, the small <i>windows</> aren't making "
    "it easier. Judging by the mold on the walls, this must be an old building.You see a "
    "<i>dresser</>, a bed and a chair. There's a <i>door</>, I wonder if it <a>opens</>.";
constexpr const char* kLookOutsideText = "All you see is trees.";
constexpr const char* kDresserText =
    "The usual <i>drawers</>, one of them is open, you see socks and underwear sticking out.";
constexpr const char* kDrawerText = "There's a <i>key</> in one of the drawers";
constexpr const char* kTakeKeyText = "<h>This might be useful.</>";
constexpr const char* kRoomDoorText = "<h>The door seems to be unlocked</>";

constexpr const char* kRoomAgainText = "You're in the room where you woke up again.";
constexpr const char* kHallwayText =
    "A long narrow hallway appears. It's too dark to see what's at end, you'll have to "
    "<a>walk</> there.";
constexpr const char* kTwoDoorsText =
    "There's one <i>door</> on your left side and another on your right. The <i>door</> on "
    "the right seems locked.";
constexpr const char* kRightDoorLockedText = "This <i>door</> seems to be <h>locked</>.";
constexpr const char* kUnlockedText = "The <i>key</> you found unlocked the right <i>door</>.";
constexpr const char* kNeedKeyText = "<h>This door needs a key.</>";

constexpr const char* kBeastEnterText = "Before you can fully open the door...";
constexpr const char* kBeastAttackText =
    "A WILD BEAST STARTS CLAWING AT THE DOOR, QUICKLY <a>CLOSE</> IT!";
constexpr const char* kBeastKillsText =
    "The beast comes through the door and shreds you to pieces. <h>Closing the door faster "
    "might save your life.</>";
constexpr const char* kBeastSavedText = "Your fast reflexes saved your life!";
constexpr float kBeastAttacksAfter = 1.0f;
constexpr float kBeastStrikesAfter = 3.0f;
constexpr float kWakeUpAgainAfter = 10.0f;

// The beast's verdict, and waking after it, come later by the player's time to act; the warning
// keeps its time, so the time to act starts once it is shown. At the normal step the sums are
// the written thresholds to the bit.
float BeastStrikesAfter(const Game& game) {
    return kBeastAttacksAfter +
           (kBeastStrikesAfter - kBeastAttacksAfter) * TimeToActFactor(game.timeToAct());
}
float WakeUpAgainAfter(const Game& game) {
    return BeastStrikesAfter(game) + (kWakeUpAgainAfter - kBeastStrikesAfter);
}

constexpr const char* kWoodsText =
    "You've made it out of the building in once piece, the woods await you...";
constexpr const char* kCreditsText =
    "Thank you for playing, unfortunatly that's all there is to it :(. This very short game "
    "was brought to you by <i>Orrin Pellegast</> aka <i>Tibbet</>.";
constexpr const char* kWoodsTexts[] = {
    kCreditsText,
    "You still here? <h>It's over, there's no more content.</>",
    "Seriously...there isn't. You may <a>close</> this window now.",
};
constexpr float kWoodsTextAfter[] = {2.5f, 15.0f, 30.0f};

// Prints the next of a scene's texts that follow one another at fixed delays, at most one
// per frame; `eventStage` counts the texts already printed.
template <std::size_t kCount>
void PrintNextTimedText(Game& game, Console& console, const char* const (&texts)[kCount],
                        const float (&after)[kCount]) {
    const int stage = game.eventStage;
    if (stage < 0 || stage >= static_cast<int>(kCount)) return;
    if (game.SceneOlderThan(after[stage])) {
        game.eventStage = stage + 1;
        console.AddText(texts[stage]);
    }
}

// An action whose handler only prints.
Action Say(std::vector<std::string> phrases, Console* console, const char* text) {
    return {std::move(phrases), [console, text](const std::string&) {
                console->AddText(text);
            }};
}

// An action whose handler only switches scenes.
Action Go(std::vector<std::string> phrases, Game* game, int scene) {
    return {std::move(phrases), [game, scene](const std::string&) {
                SwitchTo(*game, scene);
            }};
}

}  // namespace

Scene MakeWakeUp(Game* game, Console* console) {
    return Scene(
        [game, console] {
            console->Clear();
            game->eventStage = 0;
            game->rightDoorUnlocked = false;
            game->leftDoorOpen = false;
            game->hasKey = false;
            game->keySeen = false;
        },
        [game, console] { PrintNextTimedText(*game, *console, kWakeUpTexts, kWakeUpTextAfter); });
}

std::vector<Action> RoomActions(Game* game, Console* console) {
    return {
        Say({"look", "look around", "peek around"}, console, kLookAroundText),
        Say({"look outside", "look at window", "look through window", "look out of window"},
            console, kLookOutsideText),
        Say({"look at dresser", "view dresser", "inspect dresser", "walk to dresser",
             "approach dresser"},
            console, kDresserText),
        {{"open drawer", "view drawer", "inspect drawer", "open another drawer",
          "inspect another drawer"},
         [game, console](const std::string&) {
             game->keySeen = true;
             console->AddText(kDrawerText);
         }},
        {{"take key", "grab key", "pickup key", "get key"},
         [game, console](const std::string&) {
             // A key nobody has seen yet cannot be taken.
             if (!game->keySeen) return;
             game->hasKey = true;
             console->AddText(kTakeKeyText);
         }},
        Say({"look at door", "inspect door", "view door"}, console, kRoomDoorText),
        Go({"enter door", "open door", "walk through door"}, game, Hallway),
    };
}

Scene MakeRoomAgain(Console* console) {
    return Scene([console] { console->AddText(kRoomAgainText); }, DoNothing());
}

Scene MakeHallway(Console* console) {
    return Scene([console] { console->AddText(kHallwayText); }, DoNothing());
}

std::vector<Action> HallwayActions(Game* game) {
    return {
        Go({"walk", "walk to end of hallway", "walk to end", "go to end", "go to end of hallway",
            "walk down hallway", "walk there"},
           game, TwoDoors),
        Go({"go back", "enter room"}, game, RoomAgain),
    };
}

Scene MakeTwoDoors(Console* console) {
    return Scene([console] { console->AddText(kTwoDoorsText); }, DoNothing());
}

std::vector<Action> TwoDoorsActions(Game* game, Console* console) {
    return {
        Go({"open left door", "open left", "enter left"}, game, Beast),
        {{"open right door", "open right", "enter right"},
         [game, console](const std::string&) {
             if (game->rightDoorUnlocked) {
                 SwitchTo(*game, Woods);
             } else {
                 console->AddText(kRightDoorLockedText);
             }
         }},
        {{"use key", "unlock door", "unlock right door", "use key on door", "use key on right door",
          "unlock right"},
         [game, console](const std::string&) {
             if (game->hasKey) {
                 game->rightDoorUnlocked = true;
                 console->AddText(kUnlockedText);
             } else {
                 console->AddText(kNeedKeyText);
             }
         }},
        Go({"go back", "walk back"}, game, RoomAgain),
    };
}

Scene MakeBeast(Game* game, Console* console) {
    return Scene(
        [game, console] {
            game->eventStage = 0;
            console->AddText(kBeastEnterText);
        },
        [game, console] {
            if (game->SceneOlderThan(kBeastAttacksAfter) && game->eventStage == 0) {
                game->leftDoorOpen = true;
                game->eventStage = 1;
                console->AddText(kBeastAttackText);
            } else if (game->SceneOlderThan(BeastStrikesAfter(*game)) && game->eventStage == 1) {
                game->eventStage = 2;
                if (game->leftDoorOpen) {
                    console->AddText(kBeastKillsText);
                } else {
                    console->AddText(kBeastSavedText);
                    // Back at the two doors without entering them again.
                    game->currentScene = TwoDoors;
                    game->previousScene = TwoDoors;
                }
            } else if (game->SceneOlderThan(WakeUpAgainAfter(*game)) && game->eventStage == 2) {
                // Dead: wake up again in the room, with nothing.
                Rearm(*game);
                game->scenes[WakeUp].onEnter();
                game->currentScene = WakeUp;
                game->previousScene = WakeUp;
            }
        });
}

std::vector<Action> BeastActions(Game* game) {
    return {{{"close", "close door", "close left door", "shut", "shut door", "shut left door"},
             [game](const std::string&) {
                 game->leftDoorOpen = false;
             }}};
}

Scene MakeWoods(Game* game, Console* console) {
    return Scene(
        [game, console] {
            game->eventStage = 0;
            console->AddText(kWoodsText);
        },
        [game, console] { PrintNextTimedText(*game, *console, kWoodsTexts, kWoodsTextAfter); });
}

}  // namespace story
