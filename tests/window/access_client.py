"""Reads the game's window through AT-SPI as a screen reader does, types into it with xdotool,
and exits non-zero with a message at the first check that fails."""
import ctypes
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

DEADLINE_S = int(os.environ["FIRST_START_MS"]) / 1000
WELCOME = "Welcome to the Vosk! The shortest text based game ever."
REPLY = "So you understand eh..? Confirming that for me would be great."
TIMED = "Where...where am I?"
events = []  # (type, source role, detail1, any_data) of every event listened for
keys = []  # (event_string, modifiers) of every key press the listener was asked about


def fail(message):
    sys.exit(f"access_client: FAIL: {message}")


def check(ok, message):
    if not ok:
        fail(message)
    print(f"access_client: ok: {message}")


def pump():
    while GLib.MainContext.default().iteration(False):
        pass


def wait_for(what, test):
    """Answers AT-SPI's calls until test() gives something, within the first start's deadline."""
    deadline = time.monotonic() + DEADLINE_S
    while True:
        pump()
        found = test()
        if found:
            return found
        if time.monotonic() > deadline:
            fail(f"never: {what}")
        time.sleep(0.02)


def xdotool(*args):
    """Runs xdotool while answering the registry, which asks this client about every key."""
    process = subprocess.Popen(["xdotool", *args])
    while process.poll() is None:
        pump()
        time.sleep(0.005)


def press(key):
    xdotool("keydown", "--window", WINDOW, key)
    time.sleep(0.2)
    xdotool("keyup", "--window", WINDOW, key)


def find_app():
    desktop = pyatspi.Registry.getDesktop(0)
    return next((app for app in desktop if app and app.name == "Vosk - Tarnwick III"), None)


def text_of(accessible):
    text = accessible.queryText()
    return text.getText(0, -1)


def on_event(event):
    events.append((event.type, event.source.getRole(), event.detail1, event.any_data))


def seen(kind, role, test=lambda detail, data: True):
    return [e for e in events if e[0].startswith(kind) and e[1] == role and test(e[2], e[3])]


def on_key(event):
    if event.type != pyatspi.KEY_PRESSED_EVENT:
        return False
    keys.append((event.event_string, event.modifiers))
    if event.event_string == "q":  # a reader that stops answering while "qrstuvwxyz" is typed
        wait_for("the keys typed during a hung key listener", lambda: text_of(entry) == "qrstuvwxyz")
    return event.event_string == "m" or bool(event.modifiers & 1 << pyatspi.MODIFIER_CONTROL)


# Listening from before the game starts, as a screen reader started first does.
pyatspi.Registry.registerEventListener(on_event, "object:state-changed:focused", "window:activate",
                                       "object:text-changed", "object:text-caret-moved")
with open(os.environ["CLIENT_READY"], "w") as ready:
    ready.write("listening\n")
WINDOW, GAME_SIZE = wait_for("the window's id and size", lambda: os.path.exists(
    os.environ["GAME_WINDOW_FILE"]) and open(os.environ["GAME_WINDOW_FILE"]).read().split())
app = wait_for("the application in the tree", find_app)
frame = app[0]
check(frame.getRole() == pyatspi.ROLE_FRAME and frame.name == "Vosk - Tarnwick III",
      "the application's frame is named after the window")
extents = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
check([extents.width, extents.height] == [int(n) for n in GAME_SIZE.split("x")],
      "the frame's extents are the window's")
story, entry = frame[0], frame[1]
check(story.getRole() == pyatspi.ROLE_TERMINAL and entry.getRole() == pyatspi.ROLE_ENTRY,
      "the frame holds the story as a terminal and the input line as an entry")
check(story.name == frame.name and "typed" in story.description,
      "the story is named after the game and says it holds the line typed")
check([frame[o.getIndexInParent()].getRole() for o in (story, entry)] ==
      [pyatspi.ROLE_TERMINAL, pyatspi.ROLE_ENTRY], "each part knows its index in the frame")
check(all(o.getState().contains(pyatspi.STATE_EDITABLE) for o in (story, entry)),
      "the line is editable in the story and in the entry")
wait_for("the welcome in the story", lambda: text_of(story).startswith(WELCOME))
check(story.queryText().characterCount == len(text_of(story)), "the story counts its characters")
# The window opens with the keyboard: told once the bridge can tell it, with no refocus.
wait_for("window:activate from the frame", lambda: seen("window:activate", pyatspi.ROLE_FRAME))
wait_for("the story's focus event", lambda: seen("object:state-changed:focused",
                                                pyatspi.ROLE_TERMINAL, lambda on, _: on == 1))
check(not seen("object:state-changed:focused", pyatspi.ROLE_ENTRY), "the entry never takes it")
wait_for("the welcome told after the focus", lambda: seen(
    "object:text-changed:insert", pyatspi.ROLE_TERMINAL, lambda _, data: WELCOME in data))

xdotool("type", "--window", WINDOW, "--delay", "25", "i understand")
wait_for("the typed line in the entry", lambda: text_of(entry) == "i understand")
check(entry.queryText().caretOffset == 12, "the entry's caret follows the typing")
check(text_of(story).endswith("\n> i understand"),
      "the story's terminal ends with the line as its echo will show it")
check("".join(e[3] for e in seen("object:text-changed:insert", pyatspi.ROLE_ENTRY)) ==
      "i understand", "the entry tells each character typed as inserted")
press("Left")
wait_for("the caret-moved event", lambda: seen("object:text-caret-moved", pyatspi.ROLE_ENTRY,
                                               lambda offset, _: offset == 11))
check(entry.queryText().caretOffset == 11, "the entry's caret is where the event said")
press("Return")
wait_for("the reply in the story", lambda: REPLY in text_of(story))
check(text_of(story).endswith("> i understand\n" + REPLY + "\n"),
      "the echo and the reply follow the welcome as the window shows them")
check(text_of(entry) == "", "Enter empties the entry")
check(seen("object:text-changed:delete", pyatspi.ROLE_ENTRY, lambda _, data: data == "i understand"),
      "the entry tells its line deleted")
check(not seen("object:text-changed:insert", pyatspi.ROLE_TERMINAL,
               lambda _, data: "i understand" in data),
      "Enter inserts the reply alone, never the typed line again")
# The reply's first character where the window draws it, in both coordinate systems, and
# found again at that point.
reply_at = text_of(story).rindex(REPLY)
text = story.queryText()
window_box = text.getCharacterExtents(reply_at, pyatspi.WINDOW_COORDS)
screen_box = text.getCharacterExtents(reply_at, pyatspi.DESKTOP_COORDS)
check(window_box[2] > 0 and [screen_box[0] - window_box[0], screen_box[1] - window_box[1]]
      == [extents.x, extents.y], "a character's extents, on the screen and in the window")
check(text.getOffsetAtPoint(window_box[0] + 1, window_box[1] + 1, pyatspi.WINDOW_COORDS)
      == reply_at, "the character found at its own place")
# Moved while the game rests, with no frame drawn: the screen's extents follow the window.
xdotool("windowmove", "--sync", WINDOW, str(extents.x + 40), str(extents.y + 30))
moved = text.getCharacterExtents(reply_at, pyatspi.DESKTOP_COORDS)
check([moved[0] - screen_box[0], moved[1] - screen_box[1]] == [40, 30]
      and text.getCharacterExtents(reply_at, pyatspi.WINDOW_COORDS) == window_box,
      "extents follow the window when it moves")

# Extents: the window moved off the screen's corner, in the screen's and the window's pixels.
xdotool("windowmove", "--sync", WINDOW, "37", "23")
xdotool("type", "--window", WINDOW, "--delay", "25", "x")
wait_for("the moved window in the extents",
         lambda: entry.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x == 37)
inside = entry.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
on_screen = entry.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
check((on_screen.x - inside.x, on_screen.y - inside.y) == (37, 23) and inside.x == 0,
      "the entry's extents in the window's and the screen's pixels")
press("BackSpace")

xdotool("type", "--window", WINDOW, "--delay", "25", "yes")
press("Return")
xdotool("type", "--window", WINDOW, "--delay", "25", "push the red button")
press("Return")
timed = wait_for("an insertion holding the timed text", lambda: seen(
    "object:text-changed:insert", pyatspi.ROLE_TERMINAL, lambda _, data: TIMED in data))
_, _, offset, inserted = timed[0]
check(text_of(story)[offset:offset + len(inserted)] == inserted,
      "the timed text's insertion is where the story holds it")
check(not inserted.startswith(">"), "the timed text comes in an insertion of its own")

pyatspi.Registry.registerKeystrokeListener(on_key, mask=pyatspi.allModifiers())
xdotool("type", "--window", WINDOW, "--delay", "25", "lamp")
wait_for("the unconsumed keys in the entry", lambda: text_of(entry) == "lap")
pump()
time.sleep(0.3)
pump()
check(text_of(entry) == "lap", "the key the listener consumed never reached the game")
xdotool("key", "--window", WINDOW, "shift+a", "ctrl+e")
wait_for("the keys with modifiers", lambda: len(keys) >= 2 and keys[-1][0] == "e")
check(("A", 1 << pyatspi.MODIFIER_SHIFT) in [(k, m & 0xff) for k, m in keys] and
      keys[-1][1] & 0xff == 1 << pyatspi.MODIFIER_CONTROL,
      "key events carry Shift's character and Shift and Ctrl as pressed")
# A second layout's group: the key gives that group's character (Ctrl: kept from the game).
subprocess.run(["setxkbmap", "-layout", "us,ru"], check=True)
xlib = ctypes.CDLL("libX11.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
display = ctypes.c_void_p(xlib.XOpenDisplay(None))
xlib.XkbLockGroup(display, 0x100, 1)  # XkbUseCoreKbd, the second group
xlib.XSync(display, 0)
asked = len(keys)
xdotool("key", "--window", WINDOW, "ctrl+f")
wait_for("the key of the second group", lambda: len(keys) > asked + 1)
check(keys[-1][0] == "а", f"the key's character from the keyboard's group: {keys[-1][0]}")
xlib.XkbLockGroup(display, 0x100, 0)
xlib.XSync(display, 0)
for _ in range(4):
    press("BackSpace")
wait_for("the entry emptied", lambda: text_of(entry) == "")
asked = len(keys)
typing = subprocess.Popen(["xdotool", "type", "--window", WINDOW, "--delay", "25", "qrstuvwxyz"])
wait_for("the hung listener's keys", lambda: typing.poll() is not None and text_of(entry) ==
         "qrstuvwxyz")
xdotool("key", "--window", WINDOW, "m")  # handed over after any key still queued
wait_for("the key after the hang", lambda: keys[-1][0] == "m")
check([k for k, _ in keys[asked:]] == ["q", "m"],
      "keys typed while the listener hung went to the game, none waiting for it")
# The reader edits the line through either object, as braille input does.
entry.queryEditableText().deleteText(0, 5)
wait_for("the entry's deletion in the line", lambda: text_of(entry) == "vwxyz")
story.queryEditableText().insertText(len(text_of(story)) - 5, "ab", 2)
wait_for("the story's insertion in the line", lambda: text_of(entry) == "abvwxyz")
print("access_client: all checks passed")
