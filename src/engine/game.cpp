#include "engine/game.h"

#include <algorithm>
#include <limits>

#include "console/console.h"
#include "engine/scene_deadline.h"

namespace {

constexpr double kNever = std::numeric_limits<double>::infinity();

}  // namespace

Game::Game(Console& console, const StoryBuilder& buildStory) : console_(console) {
    buildStory(*this, console);
    EnterCurrentScene();
}

void Game::HandleInput(Console& console, const std::string& line) {
    console.AddText(EchoMarkup(line));
    const bool accepted = scenes[static_cast<std::size_t>(currentScene)].TryAction(line);
    if (accepted && currentScene != previousScene) EnterCurrentScene();
    previousScene = currentScene;
    nextChangeAt_ = clock.Seconds();
}

void Game::Update() {
    const Snapshot before = Take();
    nextChangeAt_ = kNever;
    scenes[static_cast<std::size_t>(currentScene)].onUpdate();
    if (!(Take() == before)) nextChangeAt_ = clock.Seconds();
}

bool Game::Snapshot::operator==(const Snapshot& other) const {
    return logChanges == other.logChanges && currentScene == other.currentScene &&
           previousScene == other.previousScene && sceneStartTime == other.sceneStartTime &&
           story == other.story;
}

Game::Snapshot Game::Take() const {
    return {console_.Changes(), currentScene, previousScene, sceneStartTime, *this};
}

bool Game::SceneOlderThan(float seconds) {
    const bool older = clock.Now() - sceneStartTime > seconds;
    if (!older) {
        nextChangeAt_ = std::min(nextChangeAt_, EarliestClockOlderThan(sceneStartTime, seconds));
    }
    return older;
}

std::optional<double> Game::NextChangeAt() const {
    if (nextChangeAt_ == kNever) return std::nullopt;
    return nextChangeAt_;
}

std::optional<double> Game::SecondsToNextChange() const {
    const std::optional<double> at = NextChangeAt();
    if (!at) return std::nullopt;
    return std::max(0.0, *at - clock.Seconds());
}

void Game::SetTimeToAct(TimeToAct step) {
    timeToAct_ = step;
    nextChangeAt_ = clock.Seconds();
}

void Game::SetScenes(std::vector<Scene> allScenes) {
    scenes = std::move(allScenes);
}

void Game::SetActions(int sceneIndex, std::vector<Action> actions) {
    scenes[static_cast<std::size_t>(sceneIndex)].actions = std::move(actions);
}

void Game::CopyActions(int fromScene, int toScene) {
    scenes[static_cast<std::size_t>(toScene)].actions =
        scenes[static_cast<std::size_t>(fromScene)].actions;
}

void Game::EnterCurrentScene() {
    sceneStartTime = clock.Now();
    scenes[static_cast<std::size_t>(currentScene)].onEnter();
}
