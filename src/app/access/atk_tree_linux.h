#pragma once

#include <atk/atk.h>

#include <functional>
#include <memory>
#include <string>

#include "app/access/access_bridge.h"
#include "app/access/console_text.h"

// What the tree shows: the window and the console's text.
struct TreeState {
    AccessWindow window;
    ConsoleText text;
};

// The window's accessible objects under ATK: the application, its frame, and in it the story as
// a terminal (which holds the focus), the input line as an entry and the title as the story's
// label. ATK is not thread-safe:
// every function here runs on the bridge's thread, except HasKeyListeners.
struct AtkTree;

// Makes the objects and makes ATK's root the application named `name`; the tree lives as long
// as the handle, which its owner keeps on the heap so that no static outlives it. `edit` takes
// the reader's edits of the line (on the bridge's thread); `listening` is called each time the
// bridge starts listening to the objects' signals, its list of who listens known.
std::shared_ptr<AtkTree> MakeAtkTree(const std::string& name,
                                     std::function<void(const LineEdit&)> edit,
                                     std::function<void()> listening);
// Shows `state` and tells the bridge what changed since the last call.
void ShowOnAtkTree(const TreeState& state);
// Tells the window's activation and the story's focus again, for listeners that came after they
// were first told, and then what the story gained while nobody listened.
void RepeatFocus();
// Hands a key event to the key listeners the bridge registered: whether one consumed it.
bool NotifyKeyListeners(AtkKeyEventStruct& event);
// Whether any key listener is registered (from any thread).
bool HasKeyListeners();
