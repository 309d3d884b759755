#pragma once

// Lines that take a new game from its start to each of its scenes.

#include <ostream>
#include <string>
#include <vector>

namespace soak {

struct ScenePath {
    int scene;
    const char* name;
    std::vector<std::string> typed;  // typed one after the other from the start
};

// One path to every scene, in scene order.
const std::vector<ScenePath>& PathsToEveryScene();

// Names the path in test reports.
inline void PrintTo(const ScenePath& path, std::ostream* out) {
    *out << path.name;
}

}  // namespace soak
