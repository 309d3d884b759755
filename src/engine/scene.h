#pragma once

#include <functional>
#include <string>
#include <vector>

// Run on entering a scene, and once per frame while it is current.
using SceneCallback = std::function<void()>;
// Run when one of an action's phrases is accepted; takes the rest of the typed line, in lower
// case, starting with the space that separated it from the phrase (or empty).
using ActionHandler = std::function<void(const std::string& argument)>;

struct Action {
    std::vector<std::string> phrases;  // lower case; order breaks ties
    ActionHandler handler;
};

struct Scene {
    Scene(SceneCallback onEnter, SceneCallback onUpdate)
        : onEnter(std::move(onEnter)), onUpdate(std::move(onUpdate)) {}

    // Lower-cases the line, picks the best-scoring phrase within two edits of its prefix and
    // runs that action's handler. Returns whether a handler ran.
    bool TryAction(std::string line);

    SceneCallback onEnter;
    SceneCallback onUpdate;
    std::vector<Action> actions;
};
