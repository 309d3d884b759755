"""Reads the game's window through AT-SPI as a screen reader does, types into it with xdotool,
and exits non-zero with a message at the first check that fails."""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

DEADLINE_S = int(os.environ["FIRST_START_MS"]) / 1000
WINDOW = os.environ["GAME_WINDOW"]
WELCOME = "Welcome to the Vosk! The shortest text based game ever."
REPLY = "So you understand eh..? Confirming that for me would be great."
TIMED = "Where...where am I?"
inserts = []


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


def on_insert(event):
    inserts.append((event.source.getRole(), event.detail1, event.any_data))


def on_key(event):
    return event.event_string == "m"


pyatspi.Registry.registerEventListener(on_insert, "object:text-changed:insert")
app = wait_for("the application in the tree", find_app)
frame = app[0]
check(frame.getRole() == pyatspi.ROLE_FRAME and frame.name == "Vosk - Tarnwick III",
      "the application's frame is named after the window")
extents = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
check([extents.width, extents.height] == [int(n) for n in os.environ["GAME_SIZE"].split("x")],
      "the frame's extents are the window's")
story, entry = frame[0], frame[1]
check(story.getRole() == pyatspi.ROLE_TERMINAL and entry.getRole() == pyatspi.ROLE_ENTRY,
      "the frame holds the story as a terminal and the input line as an entry")
wait_for("the welcome in the story", lambda: text_of(story).startswith(WELCOME))
check(story.queryText().characterCount == len(text_of(story)), "the story counts its characters")

xdotool("windowfocus", "--sync", WINDOW)
wait_for("the story focused", lambda: story.getState().contains(pyatspi.STATE_FOCUSED))
wait_for("the frame active", lambda: frame.getState().contains(pyatspi.STATE_ACTIVE))

xdotool("type", "--window", WINDOW, "--delay", "25", "i understand")
wait_for("the typed line in the entry", lambda: text_of(entry) == "i understand")
check(entry.queryText().caretOffset == 12, "the entry's caret follows the typing")
check(text_of(story).endswith("\ni understand"), "the story's terminal ends with the line")
press("Left")
wait_for("the caret moved left", lambda: entry.queryText().caretOffset == 11)
press("Return")
wait_for("the reply in the story", lambda: REPLY in text_of(story))
check(text_of(story).endswith("> i understand\n" + REPLY + "\n"),
      "the echo and the reply follow the welcome as the window shows them")
check(text_of(entry) == "", "Enter empties the entry")

xdotool("type", "--window", WINDOW, "--delay", "25", "yes")
press("Return")
xdotool("type", "--window", WINDOW, "--delay", "25", "push the red button")
press("Return")
timed = wait_for("an insertion holding the timed text",
                 lambda: [i for i in inserts if i[0] == pyatspi.ROLE_TERMINAL and TIMED in i[2]])
role, offset, inserted = timed[0]
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
print("access_client: all checks passed")
