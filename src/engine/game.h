#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/game_clock.h"
#include "engine/scene.h"
#include "engine/time_to_act.h"

class Console;
class Game;

// Fills a freshly made Game with its scenes; closures may keep references to both arguments.
using StoryBuilder = std::function<void(Game& game, Console& console)>;

// The story's own fields; the engine never reads them one by one. Kept together so that the
// engine can tell whether an update changed any of them, whatever fields the story adds.
struct StoryState {
    bool hasKey = false;
    bool rightDoorUnlocked = false;
    bool leftDoorOpen = false;
    bool keySeen = false;
    int eventStage = 0;

    // Every field: a field added above belongs here too.
    bool operator==(const StoryState& other) const {
        return hasKey == other.hasKey && rightDoorUnlocked == other.rightDoorUnlocked &&
               leftDoorOpen == other.leftDoorOpen && keySeen == other.keySeen &&
               eventStage == other.eventStage;
    }
    bool operator!=(const StoryState& other) const { return !(*this == other); }
};

// The scene machine: one current scene receives typed lines and per-frame updates. Story code
// reads and writes the public fields directly, switching scenes by assigning the indices.
class Game : public StoryState {
public:
    // Installs the game's own story. Defined with the story, so that the engine itself
    // knows no story.
    explicit Game(Console& console);
    // Installs the story that `buildStory` builds, then enters scene 0.
    Game(Console& console, const StoryBuilder& buildStory);

    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Echoes the line, lets the current scene act on it, and enters the scene a handler
    // switched to.
    void HandleInput(Console& console, const std::string& line);
    // Runs the current scene's per-frame callback.
    void Update();

    // Whether more than `seconds` have passed since the current scene was entered or re-armed.
    // The story's timers ask only this, and a threshold not passed yet is recorded as a
    // deadline: the earliest one an update tested is when the game next changes by itself.
    bool SceneOlderThan(float seconds);
    // The clock reading from which the next Update may change the game without input, never
    // later than that change; none while only input can change it. Due at once after input
    // or after an update that changed anything (the log, the scene, the story's state), since
    // the next update may then test thresholds this one never reached.
    std::optional<double> NextChangeAt() const;
    // NextChangeAt() as seconds from now, never negative.
    std::optional<double> SecondsToNextChange() const;

    // The time the story gives to act on a warning. A change counts from the next update,
    // which is due at once: a deadline already reported may have moved.
    TimeToAct timeToAct() const { return timeToAct_; }
    void SetTimeToAct(TimeToAct step);

    // Building operations used by the story.
    void SetScenes(std::vector<Scene> allScenes);
    void SetActions(int sceneIndex, std::vector<Action> actions);
    void CopyActions(int fromScene, int toScene);

    GameClock clock;              // moved on by the front end, once a frame
    float sceneStartTime = 0.0f;  // clock.Now() when the current scene was entered
    int currentScene = 0;
    int previousScene = 0;  // currentScene as of the end of the last dispatch
    std::vector<Scene> scenes;

private:
    // Everything an update can change, to tell whether one did.
    struct Snapshot {
        std::uint64_t logChanges;
        int currentScene;
        int previousScene;
        float sceneStartTime;
        StoryState story;

        bool operator==(const Snapshot& other) const;
    };

    Snapshot Take() const;
    void EnterCurrentScene();

    const Console& console_;  // the log the story writes to, watched for changes

    double nextChangeAt_ = 0.0;  // +infinity: only input can change the game
    TimeToAct timeToAct_ = TimeToAct::kNormal;
};
