"""Listens on the accessibility bus as a screen reader does: every key asked for (none kept),
and the text, caret, state and focus events. Prints "listening" once registered."""
import pyatspi

EVENTS = ["object:text-changed", "object:text-caret-moved", "object:state-changed", "focus:",
          "window:activate"]
pyatspi.Registry.registerEventListener(lambda event: None, *EVENTS)
pyatspi.Registry.registerKeystrokeListener(lambda event: False, mask=pyatspi.allModifiers())
print("listening", flush=True)
pyatspi.Registry.start()
