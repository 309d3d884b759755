#include "app/access/key_gate.h"

#include <algorithm>

namespace {

// Removes `key` from `keys`; whether it was there.
bool Take(std::vector<int>& keys, int key) {
    const auto found = std::find(keys.begin(), keys.end(), key);
    if (found == keys.end()) return false;
    keys.erase(found);
    return true;
}

}  // namespace

bool KeyGate::Pass(int key, Action action, bool consumed) {
    switch (action) {
        case Action::Press:
            Take(downInGame_, key);
            Take(heldByReader_, key);
            (consumed ? heldByReader_ : downInGame_).push_back(key);
            return !consumed;
        case Action::Repeat:
            if (std::find(heldByReader_.begin(), heldByReader_.end(), key) != heldByReader_.end()) {
                return false;
            }
            return !consumed;
        case Action::Release:
            if (Take(downInGame_, key)) return true;
            if (Take(heldByReader_, key)) return false;
            return !consumed;
    }
    return true;
}
