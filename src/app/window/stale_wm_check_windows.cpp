#include "app/window/stale_wm_check.h"

// Windows has no window manager of X11's kind to leave anything behind.
void RemoveStaleWindowManagerCheck() {}
