#include "app/window/stale_wm_check.h"

bool IsStaleWindowManagerCheck(const WindowManagerCheck& check) {
    if (!check.namedExists) return true;
    return !check.namesItself && !check.managerRuns;
}
