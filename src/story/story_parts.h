#pragma once

// Shared by the story's own files: how scenes print, time and switch.

#include <vector>

#include "console/console.h"
#include "engine/game.h"
#include "story/story.h"

namespace story {

// Restarts the current scene's timers without entering it again.
inline void Rearm(Game& game) {
    game.sceneStartTime = game.clock.Now();
}

// From a handler, the game enters `scene` once the handler returns; from an update callback
// the scene only becomes current.
inline void SwitchTo(Game& game, int scene) {
    game.previousScene = game.currentScene;
    game.currentScene = scene;
}

inline SceneCallback DoNothing() {
    return [] {
    };
}

// Scenes 0 to 3: the welcome and the tutorial.
Scene MakeWelcome(Game* game, Console* console);
Scene MakeConfirm(Game* game, Console* console);
Scene MakeRedButton(Game* game, Console* console);
Scene MakeRetry(Game* game, Console* console);
std::vector<Action> WelcomeActions(Game* game);
std::vector<Action> ConfirmActions(Game* game);
std::vector<Action> RedButtonActions(Game* game, Console* console);

// Scenes 4 to 9: the house and the ending.
Scene MakeWakeUp(Game* game, Console* console);
Scene MakeRoomAgain(Console* console);
Scene MakeHallway(Console* console);
Scene MakeTwoDoors(Console* console);
Scene MakeBeast(Game* game, Console* console);
Scene MakeWoods(Game* game, Console* console);
std::vector<Action> RoomActions(Game* game, Console* console);
std::vector<Action> HallwayActions(Game* game);
std::vector<Action> TwoDoorsActions(Game* game, Console* console);
std::vector<Action> BeastActions(Game* game);

}  // namespace story
