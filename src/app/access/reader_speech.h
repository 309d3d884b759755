#pragma once

#include <memory>

#include "session/speaking_display.h"

// The game's speech, handed to the player's screen reader where the window's tree cannot carry
// the game's texts to it by itself: on Windows each text is raised as a UI Automation
// notification on the window while a reader runs and can be handed texts, and `voice` speaks
// otherwise; on Linux the reader reads the tree, and `voice` is all there is.
std::unique_ptr<SpeechSink> SpeechThroughReader(std::unique_ptr<SpeechSink> voice);
