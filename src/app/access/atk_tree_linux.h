#pragma once

#include <atk/atk.h>

#include <string>

#include "app/access/access_bridge.h"
#include "app/access/console_text.h"

// What the tree shows: the window and the console's text.
struct TreeState {
    AccessWindow window;
    ConsoleText text;
};

// The window's accessible objects under ATK: the application, its frame, and in it the story as
// a terminal (which holds the focus) and the input line as an entry. ATK is not thread-safe:
// every function here runs on the bridge's thread, except HasKeyListeners.

// Makes the objects and makes ATK's root the application named `name`.
void MakeAtkTree(const std::string& name);
// Shows `state` and tells the bridge what changed since the last call.
void ShowOnAtkTree(const TreeState& state);
// Tells the focus again, for listeners that came after it was first told.
void RepeatFocus();
// Hands a key event to the key listeners the bridge registered: whether one consumed it.
bool NotifyKeyListeners(AtkKeyEventStruct& event);
// Whether any key listener is registered (from any thread).
bool HasKeyListeners();
