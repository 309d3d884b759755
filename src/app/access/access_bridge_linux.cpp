#include "app/access/access_bridge.h"

#include <GLFW/glfw3.h>
#include <X11/XKBlib.h>
#include <atk-bridge.h>
#include <glib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

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
    char32_t typed = 0;
    if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF)) {
        typed = static_cast<char32_t>(keysym);
    } else if ((keysym & 0xFF000000) == 0x01000000) {
        typed = static_cast<char32_t>(keysym & 0x00FFFFFF);
    }
    if (typed != 0) return Utf8FromUtf32(std::u32string(1, typed));
    const char* name = keysym != NoSymbol ? XKeysymToString(keysym) : nullptr;
    return name != nullptr ? name : "";
}

KeyStroke StrokeFor(int scancode, int action, int mods) {
    KeyStroke stroke;
    stroke.type = action == GLFW_RELEASE ? ATK_KEY_EVENT_RELEASE : ATK_KEY_EVENT_PRESS;
    stroke.awaited = action == GLFW_PRESS;
    stroke.state = ModifierMask(mods);
    stroke.keycode = static_cast<guint16>(scancode);
    stroke.timestamp = static_cast<guint32>(glfwGetTime() * 1000.0);
    KeySym keysym = NoSymbol;
    if (Display* display = glfwGetX11Display()) {
        const auto keycode = static_cast<KeyCode>(scancode);
        const int level = (mods & GLFW_MOD_SHIFT) != 0 ? 1 : 0;
        keysym = XkbKeycodeToKeysym(display, keycode, 0, level);
        if (keysym == NoSymbol) keysym = XkbKeycodeToKeysym(display, keycode, 0, 0);
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

struct AccessBridge::Bridge {
    std::string name;

    // Shared with the bridge's thread, under `mutex`.
    std::mutex mutex;
    std::condition_variable answered;
    std::optional<TreeState> pending;  // the last state handed over, not yet shown
    bool showQueued = false;
    std::deque<KeyStroke> keys;  // to hand to the listeners, in order
    std::optional<bool> verdict;
    bool keyUnderWay = false;  // until the bridge answers, even after the loop stopped waiting
    bool ready = false;        // the bridge is up and its loop runs
    bool quitting = false;
    bool finished = false;
    GMainLoop* loop = nullptr;
    std::atomic<bool> ended{false};  // `finished`, for a look without the lock

    // The window loop's own.
    GLFWwindow* window = nullptr;
    bool started = false;
    TreeState shown;
    StoryModel story;
    KeyGate gate;
};

namespace {

gboolean ShowPending(gpointer data) {
    auto& bridge = *static_cast<AccessBridge::Bridge*>(data);
    std::optional<TreeState> state;
    {
        const std::lock_guard<std::mutex> lock(bridge.mutex);
        state.swap(bridge.pending);
        bridge.showQueued = false;
    }
    if (state) ShowOnAtkTree(*state);
    return G_SOURCE_REMOVE;
}

gboolean DecideKeys(gpointer data) {
    auto& bridge = *static_cast<AccessBridge::Bridge*>(data);
    while (true) {
        KeyStroke stroke;
        {
            const std::lock_guard<std::mutex> lock(bridge.mutex);
            if (bridge.keys.empty()) break;
            stroke = std::move(bridge.keys.front());
            bridge.keys.pop_front();
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
            bridge.verdict = consumed;
            bridge.keyUnderWay = false;
        }
        bridge.answered.notify_all();
    }
    return G_SOURCE_REMOVE;
}

gboolean Quit(gpointer data) {
    auto& bridge = *static_cast<AccessBridge::Bridge*>(data);
    const std::lock_guard<std::mutex> lock(bridge.mutex);
    if (bridge.loop != nullptr) g_main_loop_quit(bridge.loop);
    return G_SOURCE_REMOVE;
}

// The bridge's thread. atk_bridge_adaptor_init asks the session bus for the accessibility
// bus and registers with its registry, waiting on each; here that waits on no frame. The bridge
// then serves the bus from GLib's default context, which this thread owns.
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
        MakeAtkTree(bridge->name);
        ShowPending(bridge.get());
        char programName[] = "tarnwick";
        char* arguments[] = {programName, nullptr};
        char** argv = arguments;
        int argc = 1;
        if (atk_bridge_adaptor_init(&argc, &argv) == 0) {
            RepeatFocus();
            GMainLoop* loop = g_main_loop_new(context, FALSE);
            bool run = false;
            {
                const std::lock_guard<std::mutex> lock(bridge->mutex);
                run = !bridge->quitting;
                bridge->ready = run;
                bridge->loop = loop;
            }
            if (run) g_main_loop_run(loop);
            const std::lock_guard<std::mutex> lock(bridge->mutex);
            bridge->ready = false;
            bridge->loop = nullptr;
            g_main_loop_unref(loop);
        }
        g_main_context_release(context);
    }
    {
        const std::lock_guard<std::mutex> lock(bridge->mutex);
        bridge->finished = true;
        bridge->ended = true;
    }
    bridge->answered.notify_all();
}

// Hands a key event to the listeners on the bridge's thread. Only a press waits for their
// verdict, kKeyVerdictWait at most: a consumed press keeps its repeats and release from the game
// anyway (key_gate.h), so those go on at once. A verdict that comes too late is dropped, and
// until it came no key is handed over, so a hung bus costs one short wait.
bool AskListeners(AccessBridge::Bridge& bridge, KeyStroke stroke) {
    std::unique_lock<std::mutex> lock(bridge.mutex);
    if (!bridge.ready || bridge.keyUnderWay) return false;
    const bool awaited = stroke.awaited;
    bridge.keys.push_back(std::move(stroke));
    Post(DecideKeys, &bridge);
    if (!awaited) return false;
    bridge.verdict.reset();
    bridge.keyUnderWay = true;
    bridge.answered.wait_for(lock, kKeyVerdictWait,
                             [&bridge] { return bridge.verdict.has_value() || bridge.finished; });
    return bridge.verdict.value_or(false);
}

}  // namespace

AccessBridge::AccessBridge(const std::string& applicationName, GLFWwindow* window)
    : bridge_(std::make_shared<Bridge>()) {
    bridge_->name = applicationName;
    bridge_->window = window;
    bridge_->shown.window.nativeWindow = glfwGetX11Window(window);
}

AccessBridge::~AccessBridge() {
    Bridge& bridge = *bridge_;
    if (!bridge.started) return;
    std::unique_lock<std::mutex> lock(bridge.mutex);
    bridge.quitting = true;
    // A thread still starting the bridge waits on a bus; it keeps its own reference to what it
    // shares, so it can be left to end with the process.
    if (!bridge.ready) return;
    Post(Quit, &bridge);
    bridge.answered.wait_for(lock, kCloseWait, [&bridge] { return bridge.finished; });
}

void AccessBridge::Show(const std::string& story, const Console& console, bool focused) {
    Bridge& bridge = *bridge_;
    if (bridge.ended) return;  // no bus: nothing to tell
    TreeState& shown = bridge.shown;
    const ConsoleLayout& layout = console.Layout();
    const bool storyChanged = bridge.story.Update(story);
    if (bridge.started && !storyChanged && layout == shown.window.layout &&
        focused == shown.window.focused) {
        return;
    }
    ConsoleText& text = shown.text;
    if (storyChanged || layout.rowsDrawn != shown.window.layout.rowsDrawn || !bridge.started) {
        text.story = bridge.story.Characters();
        text.storyRestarts = bridge.story.Restarts();
        text.rows = std::make_shared<const std::vector<int>>(
            RowStarts(*text.story, RowTexts(console.lines())));
    }
    if (layout.line != shown.window.layout.line) text.line = Utf32FromUtf8(layout.line);
    text.caret = layout.caret;
    shown.window.layout = layout;
    shown.window.focused = focused;
    // Asked only when something else changed: asking the window system takes a round trip.
    glfwGetWindowPos(bridge.window, &shown.window.x, &shown.window.y);
    {
        const std::lock_guard<std::mutex> lock(bridge.mutex);
        bridge.pending = shown;
        if (bridge.started && !bridge.showQueued) Post(ShowPending, &bridge);
        bridge.showQueued = true;
    }
    if (!bridge.started) {
        bridge.started = true;
        std::thread(RunBridge, bridge_).detach();
    }
}

bool AccessBridge::PassKey(int key, int scancode, int action, int mods) {
    bool consumed = false;
    if (bridge_->started && HasKeyListeners()) {
        consumed = AskListeners(*bridge_, StrokeFor(scancode, action, mods));
    }
    return bridge_->gate.Pass(key, GateAction(action), consumed);
}
