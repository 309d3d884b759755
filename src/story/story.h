#pragma once

class Console;
class Game;

// The story's scenes, by index.
enum SceneIndex : int {
    Welcome = 0,
    Confirm = 1,
    RedButton = 2,
    Retry = 3,
    WakeUp = 4,
    RoomAgain = 5,
    Hallway = 6,
    TwoDoors = 7,
    Beast = 8,
    Woods = 9,
    kSceneCount = 10,
};

// Fills the game with the ten scenes of the story and their actions. The closures keep
// references to both objects, which must outlive the game's scenes.
void BuildStory(Game& game, Console& console);
