#include "app/window/stale_wm_check.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

// Keeps Xlib's default handler, which ends the program, away from the expected BadWindow.
int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

// Reads into `named` the window that `window`'s _NET_SUPPORTING_WM_CHECK names, None when it
// has no such property; false when `window` does not exist.
bool ReadCheck(Display* display, Window window, Atom check, Window& named) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    named = None;
    if (XGetWindowProperty(display, window, check, 0, 1, False, XA_WINDOW, &type, &format, &count,
                           &remaining, &data) != Success) {
        return false;
    }
    if (type == XA_WINDOW && format == 32 && count == 1) {
        named = *reinterpret_cast<const Window*>(data);
    }
    if (data != nullptr) XFree(data);
    return true;
}

// Whether some client redirects the requests of the root window's children: that is what makes
// a client the window manager, and every manager claims it first, to learn that no other runs.
bool WindowManagerRuns(Display* display, Window root) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, root, &attributes) == 0 ||
           (attributes.all_event_masks & SubstructureRedirectMask) != 0;
}

}  // namespace

// The server is grabbed so that no manager can start, or set the property, between the look and
// the removal.
void RemoveStaleWindowManagerCheck() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return;  // glfwInit reports this
    const Window root = DefaultRootWindow(display);
    // Without the atom in the server, no window can have the property.
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check != None) {
        XGrabServer(display);
        Window named = None;
        if (ReadCheck(display, root, check, named) && named != None) {
            const XErrorHandler previous = XSetErrorHandler(IgnoreXError);
            Window namedByIt = None;
            WindowManagerCheck seen;
            seen.namedExists = ReadCheck(display, named, check, namedByIt);
            XSetErrorHandler(previous);
            seen.namesItself = namedByIt == named;
            seen.managerRuns =
                seen.namedExists && !seen.namesItself && WindowManagerRuns(display, root);
            if (IsStaleWindowManagerCheck(seen)) XDeleteProperty(display, root, check);
        }
        XUngrabServer(display);
    }
    XCloseDisplay(display);
}
