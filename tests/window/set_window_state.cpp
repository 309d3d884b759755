// Sets a window's WM_STATE as a window manager does when it minimises or restores it, for X
// servers without one:  set_window_state WINDOW_ID iconic|normal  (on $DISPLAY)
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    const bool iconic = argc == 3 && std::strcmp(argv[2], "iconic") == 0;
    char* end = nullptr;
    const unsigned long window = argc == 3 ? std::strtoul(argv[1], &end, 0) : 0;
    if (window == 0 || *end != '\0' || (!iconic && std::strcmp(argv[2], "normal") != 0)) {
        std::fprintf(stderr, "usage: set_window_state WINDOW_ID iconic|normal\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "set_window_state: cannot open the display\n");
        return 1;
    }
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    const long state[2] = {iconic ? IconicState : NormalState, None};
    XChangeProperty(display, window, wmState, wmState, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(state), 2);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
