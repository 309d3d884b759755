#pragma once

#include <vector>

// Which key events reach the game when a screen reader may consume them. A press it consumed
// never does, nor the repeats and the release that follow it; the release of a key the game saw
// pressed always does, consumed or not, so that no key stays down in the game.
class KeyGate {
public:
    enum class Action { Press, Repeat, Release };

    // Whether the game gets the event; `consumed`: a listener took it.
    bool Pass(int key, Action action, bool consumed);

private:
    std::vector<int> downInGame_;
    std::vector<int> heldByReader_;
};
