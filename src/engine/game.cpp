#include "engine/game.h"

#include "console/console.h"

Game::Game(Console& console, const StoryBuilder& buildStory) {
    buildStory(*this, console);
    EnterCurrentScene();
}

void Game::HandleInput(Console& console, const std::string& line) {
    console.AddText("<s>" + line + "</>");
    const bool accepted = scenes[static_cast<std::size_t>(currentScene)].TryAction(line);
    if (accepted && currentScene != previousScene) EnterCurrentScene();
    previousScene = currentScene;
}

void Game::Update() {
    scenes[static_cast<std::size_t>(currentScene)].onUpdate();
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
