#include "app/access/access_bridge.h"

#include <GLFW/glfw3.h>
#include <X11/XKBlib.h>
#include <atk-bridge.h>
#include <glib.h>
#include <xkbcommon/xkbcommon.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "app/access/atk_tree_linux.h"
#include "app/access/key_gate.h"
#include "console/utf8.h"

// GLFW's X display and window (glfw3native.h, whose X11 part wants XRandR's headers too).
extern "C" Display* glfwGetX11Display(void);
extern "C" Window glfwGetX11Window(GLFWwindow* window);

namespace {

// How long a key press waits for the screen reader's verdict before it goes to the game. The
// bridge's own call to the registry may wait far longer; Orca answers within milliseconds.
constexpr auto kKeyVerdictWait = std::chrono::milliseconds(200);
// How long closing waits for the bridge's loop to end, which a call on a hung bus may hold.
constexpr auto kCloseWait = std::chrono::milliseconds(500);

// A key event as ATK's listeners take it, with the string it points to.
struct KeyStroke {
    gint type = ATK_KEY_EVENT_PRESS;
    guint state = 0;
    guint keyval = 0;
    std::string string;
    guint16 keycode = 0;
    guint32 timestamp = 0;
    bool awaited = false;  // the window loop waits for the verdict
};

// GLFW's modifiers as X's (and GDK's) state mask, which ATK's key events carry.
guint ModifierMask(int mods) {
    guint mask = 0;
    if ((mods & GLFW_MOD_SHIFT) != 0) mask |= ShiftMask;
    if ((mods & GLFW_MOD_CAPS_LOCK) != 0) mask |= LockMask;
    if ((mods & GLFW_MOD_CONTROL) != 0) mask |= ControlMask;
    if ((mods & GLFW_MOD_ALT) != 0) mask |= Mod1Mask;
    if ((mods & GLFW_MOD_NUM_LOCK) != 0) mask |= Mod2Mask;
    if ((mods & GLFW_MOD_SUPER) != 0) mask |= Mod4Mask;
    return mask;
}

// What a key types, or the keysym's name for one that types nothing ("Return", "KP_Insert"),
// as toolkits fill the event's string.
std::string KeyString(KeySym keysym) {
    char typed[8] = {};
    const int size = xkb_keysym_to_utf8(static_cast<xkb_keysym_t>(keysym), typed, sizeof typed);
    const auto first = static_cast<unsigned char>(typed[0]);
    if (size > 1 && first >= 0x20 && first != 0x7F) return typed;
    const char* name = keysym != NoSymbol ? XKeysymToString(keysym) : nullptr;
    return name != nullptr ? name : "";
}

// The key's event as X would give it: the modifiers as pressed with the keyboard's current group
// in the state, and the keysym that key gives in that group and at that level, by the
// layout's own key types (xkb's lookup), so any layout's characters arrive.
KeyStroke StrokeFor(int scancode, int action, int mods) {
    KeyStroke stroke;
    stroke.type = action == GLFW_RELEASE ? ATK_KEY_EVENT_RELEASE : ATK_KEY_EVENT_PRESS;
    stroke.awaited = action == GLFW_PRESS;
    stroke.state = ModifierMask(mods);
    stroke.keycode = static_cast<guint16>(scancode);
    stroke.timestamp = static_cast<guint32>(glfwGetTime() * 1000.0);
    KeySym keysym = NoSymbol;
    if (Display* display = glfwGetX11Display()) {
        XkbStateRec keyboard{};
        if (XkbGetState(display, XkbUseCoreKbd, &keyboard) == Success) {
            stroke.state |= XkbBuildCoreState(0, keyboard.group);
        }
        unsigned int used = 0;
        if (!XkbLookupKeySym(display, static_cast<KeyCode>(scancode), stroke.state, &used,
                             &keysym)) {
            keysym = NoSymbol;
        }
    }
    stroke.keyval = static_cast<guint>(keysym);
    stroke.string = KeyString(keysym);
    return stroke;
}

KeyGate::Action GateAction(int action) {
    if (action == GLFW_PRESS) return KeyGate::Action::Press;
    if (action == GLFW_REPEAT) return KeyGate::Action::Repeat;
    return KeyGate::Action::Release;
}

std::atomic<bool> warningTold{false};

// AT-SPI's library and the bridge warn through GLib's log (no accessibility bus, a bad string):
// the first warning is told on one line of the game's own, the rest are dropped.
void TellBridgeWarning(const gchar*, GLogLevelFlags, const gchar* message, gpointer) {
    if (!warningTold.exchange(true)) std::fprintf(stderr, "tarnwick: accessibility: %s\n", message);
}

// Runs `function` on the bridge's thread. The bridge serves the bus from GLib's default context
// (its D-Bus connection is set up there), so that thread owns the context and nothing else in
// the program may iterate it; `data` is the thread's own, which outlives every source.
void Post(GSourceFunc function, gpointer data) {
    GSource* source = g_idle_source_new();
    g_source_set_callback(source, function, data, nullptr);
    g_source_attach(source, g_main_context_default());
    g_source_unref(source);
}

}  // namespace

// Each thread's fields are its own; what they hand each other is in `shared`, under `mutex`.
struct AccessBridge::Bridge {
    const std::string name;
    const std::function<void()> wake;  // wakes the window's loop (from any thread)

    std::mutex mutex;
    std::condition_variable answered;
    struct Shared {
        std::optional<TreeState> pending;  // the last state handed over, not yet shown
        bool showQueued = false;
        std::deque<KeyStroke> keys;  // to hand to the listeners, in order
        std::optional<bool> verdict;
        bool keyUnderWay =
            false;  // until the bridge answers, even after the window stopped waiting
        std::vector<LineEdit> edits;  // the reader's edits of the line, for the window
        bool ready = false;           // the bridge is up and its loop runs
        bool quitting = false;
        bool finished = false;  // the bridge's thread is done with the bus
    } shared;

    // The window's thread's own.
    struct WindowSide {
        GLFWwindow* window = nullptr;
        bool started = false;
        TreeState shown;
        StoryModel story;
        KeyGate gate;
    } window;

    // The bridge's thread's own: the tree lives here, not in a static, so a thread let go at
    // the end finds it whatever the program has destroyed.
    struct BridgeSide {
        std::shared_ptr<AtkTree> tree;
        GMainLoop* loop = nullptr;
    } side;

    Bridge(std::string applicationName, std::function<void()> wakeWindow)
        : name(std::move(applicationName)), wake(std::move(wakeWindow)) {}
};

namespace {

gboolean ShowPending(gpointer data) {
    auto& bridge = *static_cast<AccessBridge::Bridge*>(data);
    std::optional<TreeState> state;
    {
        const std::lock_guard<std::mutex> lock(bridge.mutex);
        state.swap(bridge.shared.pending);
        bridge.shared.showQueued = false;
    }
    if (state) ShowOnAtkTree(*state);
    return G_SOURCE_REMOVE;
}

gboolean TellFocus(gpointer) {
    RepeatFocus();
    return G_SOURCE_REMOVE;
}

// The key's route, second leg (the bridge's thread): each key handed over goes to the bridge's
// key listener, which asks the registry (and so the reader) whether it consumes the key; a
// press's verdict goes back to the window's thread, waiting in AskListeners.
gboolean DecideKeys(gpointer data) {
    auto& bridge = *static_cast<AccessBridge::Bridge*>(data);
    while (true) {
        KeyStroke stroke;
        {
            const std::lock_guard<std::mutex> lock(bridge.mutex);
            if (bridge.shared.keys.empty()) break;
            stroke = std::move(bridge.shared.keys.front());
            bridge.shared.keys.pop_front();
        }
        AtkKeyEventStruct event{};
        event.type = stroke.type;
        event.state = stroke.state;
        event.keyval = stroke.keyval;
        event.length = static_cast<gint>(stroke.string.size());
        event.string = stroke.string.data();
        event.keycode = stroke.keycode;
        event.timestamp = stroke.timestamp;
        const bool consumed = NotifyKeyListeners(event);
        if (!stroke.awaited) continue;
        {
            const std::lock_guard<std::mutex> lock(bridge.mutex);
            bridge.shared.verdict = consumed;
            bridge.shared.keyUnderWay = false;
        }
        bridge.answered.notify_all();
    }
    return G_SOURCE_REMOVE;
}

gboolean Quit(gpointer data) {
    auto& bridge = *static_cast<AccessBridge::Bridge*>(data);
    if (bridge.side.loop != nullptr) g_main_loop_quit(bridge.side.loop);
    return G_SOURCE_REMOVE;
}

// The bridge's thread. atk_bridge_adaptor_init asks the session bus for the accessibility
// bus and registers with its registry, waiting on each; here that waits on no frame. The bridge
// then serves the bus from GLib's default context, which this thread owns.
//
// The bridge connects to the objects' signals only once the registry said someone listens,
// which it learns in the loop, after registering: a focus told before that reaches nobody. So
// the tree tells the window's activation and the story's focus each time the bridge starts
// listening (MakeAtkTree's `listening`), once the call that started it has returned.
void RunBridge(const std::shared_ptr<AccessBridge::Bridge>& bridge) {
    GMainContext* context = g_main_context_default();
    const bool owned = g_main_context_acquire(context) != FALSE;
    if (!owned) std::fprintf(stderr, "tarnwick: GLib's main context is taken; no accessibility\n");
    if (owned) {
        for (const char* domain : {"dbind", "atk-bridge"}) {
            g_log_set_handler(domain,
                              static_cast<GLogLevelFlags>(
                                  G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_MESSAGE),
                              TellBridgeWarning, nullptr);
        }
        AccessBridge::Bridge* shared = bridge.get();
        // The reader's edits of the line, on their way from the tree (on this thread) to the
        // window's thread, which takes them (TakeLineEdits) when woken.
        auto edit = [shared](const LineEdit& lineEdit) {
            {
                const std::lock_guard<std::mutex> lock(shared->mutex);
                shared->shared.edits.push_back(lineEdit);
            }
            shared->wake();
        };
        bridge->side.tree = MakeAtkTree(bridge->name, edit, [] { Post(TellFocus, nullptr); });
        ShowPending(bridge.get());
        char programName[] = "tarnwick";
        char* arguments[] = {programName, nullptr};
        char** argv = arguments;
        int argc = 1;
        if (atk_bridge_adaptor_init(&argc, &argv) == 0) {
            GMainLoop* loop = g_main_loop_new(context, FALSE);
            bridge->side.loop = loop;
            bool run = false;
            {
                const std::lock_guard<std::mutex> lock(bridge->mutex);
                run = !bridge->shared.quitting;
                bridge->shared.ready = run;
            }
            if (run) g_main_loop_run(loop);
            {
                const std::lock_guard<std::mutex> lock(bridge->mutex);
                bridge->shared.ready = false;
            }
            bridge->side.loop = nullptr;
            g_main_loop_unref(loop);
        }
        g_main_context_release(context);
    }
    {
        const std::lock_guard<std::mutex> lock(bridge->mutex);
        bridge->shared.finished = true;
    }
    bridge->answered.notify_all();
}

// The key's route, first leg (the window's thread): a key event goes to the bridge's thread
// (DecideKeys). Only a press waits for the listeners' verdict, kKeyVerdictWait at most: a
// consumed press keeps its repeats and release from the game anyway (key_gate.h), so those go
// on at once. A verdict that comes too late is dropped, and until it came no key is handed
// over, so a hung bus costs one short wait. The verdict then passes the key gate in PassKey,
// which decides what the game gets.
bool AskListeners(AccessBridge::Bridge& bridge, KeyStroke stroke) {
    std::unique_lock<std::mutex> lock(bridge.mutex);
    AccessBridge::Bridge::Shared& shared = bridge.shared;
    if (!shared.ready || shared.keyUnderWay) return false;
    const bool awaited = stroke.awaited;
    shared.keys.push_back(std::move(stroke));
    Post(DecideKeys, &bridge);
    if (!awaited) return false;
    shared.verdict.reset();
    shared.keyUnderWay = true;
    bridge.answered.wait_for(lock, kKeyVerdictWait,
                             [&shared] { return shared.verdict.has_value() || shared.finished; });
    return shared.verdict.value_or(false);
}

}  // namespace

AccessBridge::AccessBridge(const std::string& applicationName, GLFWwindow* window,
                           std::function<void()> wake)
    : bridge_(std::make_shared<Bridge>(applicationName, std::move(wake))) {
    bridge_->window.window = window;
    bridge_->window.shown.window.nativeWindow = glfwGetX11Window(window);
}

AccessBridge::~AccessBridge() {
    Bridge& bridge = *bridge_;
    if (!bridge.window.started) return;
    std::unique_lock<std::mutex> lock(bridge.mutex);
    bridge.shared.quitting = true;
    // A thread still starting the bridge waits on a bus; it keeps its own reference to what it
    // shares, so it can be left to end with the process.
    if (!bridge.shared.ready) return;
    Post(Quit, &bridge);
    bridge.answered.wait_for(lock, kCloseWait, [&bridge] { return bridge.shared.finished; });
}

void AccessBridge::Show(const std::string& story, const Console& console, bool focused) {
    Bridge& bridge = *bridge_;
    Bridge::WindowSide& side = bridge.window;
    TreeState& shown = side.shown;
    const ConsoleLayout& layout = console.Layout();
    const bool storyChanged = side.story.Update(story);
    if (side.started && !storyChanged && layout == shown.window.layout &&
        focused == shown.window.focused) {
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(bridge.mutex);
        if (bridge.shared.finished) return;  // no bus: nothing to tell
    }
    ConsoleText& text = shown.text;
    if (storyChanged || layout.rowsDrawn != shown.window.layout.rowsDrawn || !side.started) {
        text.story = side.story.Characters();
        text.storyRestarts = side.story.Restarts();
        text.rows = std::make_shared<const std::vector<int>>(
            RowStarts(*text.story, RowTexts(console.lines())));
    }
    if (layout.line != shown.window.layout.line) text.line = Utf32FromUtf8(layout.line);
    text.caret = layout.caret;
    shown.window.layout = layout;
    shown.window.focused = focused;
    // Asked only when something else changed: asking the window system takes a round trip.
    glfwGetWindowPos(side.window, &shown.window.x, &shown.window.y);
    {
        const std::lock_guard<std::mutex> lock(bridge.mutex);
        bridge.shared.pending = shown;
        if (side.started && !bridge.shared.showQueued) Post(ShowPending, &bridge);
        bridge.shared.showQueued = true;
    }
    if (!side.started) {
        side.started = true;
        std::thread(RunBridge, bridge_).detach();
    }
}

bool AccessBridge::PassKey(int key, int scancode, int action, int mods) {
    bool consumed = false;
    if (bridge_->window.started && HasKeyListeners()) {
        consumed = AskListeners(*bridge_, StrokeFor(scancode, action, mods));
    }
    // The key's route, last leg: what the reader consumed never reaches the game.
    return bridge_->window.gate.Pass(key, GateAction(action), consumed);
}

std::vector<LineEdit> AccessBridge::TakeLineEdits() {
    const std::lock_guard<std::mutex> lock(bridge_->mutex);
    return std::exchange(bridge_->shared.edits, {});
}
