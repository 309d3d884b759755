// Scenes 0 to 3: the welcome, the "i understand" tutorial, the yes/no question and the red
// button that starts the adventure.

#include "engine/edit_distance.h"
#include "story/story_parts.h"

namespace story {

namespace {

constexpr const char* kWelcomeText =
    "Welcome to the Vosk! The shortest text based game ever. Where <a>actions</>, <h>hints</> "
    "and <i>interactables</> are all color coded :).Type <a>I understand</> to let me know you "
    "know what I want you to know.";
constexpr const char* kWelcomeFirstReminder = "You can do this! Write <a>I understand</>.";
constexpr const char* kWelcomeSecondReminder =
    "Testing my patience bro? Cuz I can do this all day, you know I can.";
constexpr const char* kWelcomeRepeatedReminder =
    "Just type in <a>I underst</>... you know what? Never mind.";
constexpr float kWelcomeFirstReminderAfter = 20.0f;
constexpr float kWelcomeSecondReminderAfter = 35.0f;
constexpr float kWelcomeRepeatedReminderAfter = 45.0f;  // and every 45 s after that

constexpr const char* kConfirmQuestion =
    "So you understand eh..? <h>Confirming that for me would be great.</>";
constexpr const char* kConfirmReminder = "Is that a <a>yes</> or <a>no</> pal?";
constexpr float kConfirmReminderAfter = 15.0f;

constexpr const char* kRedButtonText =
    "Clever girl... <a>push</> the big <i>red button</> to complete this intro and get down to "
    "business.";
constexpr const char* kRedButtonReminder = "<a>Push</> the <i>red button</>...";
constexpr const char* kRedButtonMissed = "<i>Red button</>...";
constexpr float kRedButtonReminderEvery = 15.0f;
constexpr int kRedButtonTolerance = 2;

constexpr const char* kRetryText = "Okay. Lets try that again Smarty McFly.";
constexpr float kRetryBackAfter = 1.0f;

}  // namespace

Scene MakeWelcome(Game* game, Console* console) {
    return Scene(
        [game, console] {
            game->eventStage = 0;
            console->AddText(kWelcomeText);
        },
        [game, console] {
            if (game->SceneOlderThan(kWelcomeFirstReminderAfter) && game->eventStage == 0) {
                game->eventStage = 1;
                console->AddText(kWelcomeFirstReminder);
            } else if (game->SceneOlderThan(kWelcomeSecondReminderAfter) && game->eventStage == 1) {
                game->eventStage = 2;
                console->AddText(kWelcomeSecondReminder);
            } else if (game->SceneOlderThan(kWelcomeRepeatedReminderAfter) &&
                       game->eventStage == 2) {
                Rearm(*game);
                console->AddText(kWelcomeRepeatedReminder);
            }
        });
}

std::vector<Action> WelcomeActions(Game* game) {
    return {{{"i understand"}, [game](const std::string&) {
                 SwitchTo(*game, Confirm);
             }}};
}

Scene MakeConfirm(Game* game, Console* console) {
    return Scene(
        [game, console] {
            game->eventStage = 0;
            console->AddText(kConfirmQuestion);
        },
        [game, console] {
            if (game->SceneOlderThan(kConfirmReminderAfter) && game->eventStage == 0) {
                game->eventStage = 1;
                console->AddText(kConfirmReminder);
            }
        });
}

std::vector<Action> ConfirmActions(Game* game) {
    return {
        {{"y", "yes", " uhu", "sure", "confirm"},
         [game](const std::string&) {
             SwitchTo(*game, RedButton);
         }},
        {{"no"},
         [game](const std::string&) {
             SwitchTo(*game, Retry);
         }},
    };
}

Scene MakeRedButton(Game* game, Console* console) {
    return Scene([console] { console->AddText(kRedButtonText); },
                 [game, console] {
                     if (game->SceneOlderThan(kRedButtonReminderEvery)) {
                         Rearm(*game);
                         console->AddText(kRedButtonReminder);
                     }
                 });
}

std::vector<Action> RedButtonActions(Game* game, Console* console) {
    // Whatever was pushed must be close to "red button", or at least to "button".
    auto pushed = [game, console](const std::string& what) {
        if (EditDistance(what, "red button") <= kRedButtonTolerance ||
            EditDistance(what, "button") <= kRedButtonTolerance) {
            SwitchTo(*game, WakeUp);
        } else {
            console->AddText(kRedButtonMissed);
        }
    };
    return {{{"press", "push", "hit", "slam", "push the"}, pushed}};
}

Scene MakeRetry(Game* game, Console* console) {
    return Scene([console] { console->AddText(kRetryText); },
                 [game] {
                     // Back to the question without asking it again.
                     if (game->SceneOlderThan(kRetryBackAfter)) SwitchTo(*game, Confirm);
                 });
}

}  // namespace story
