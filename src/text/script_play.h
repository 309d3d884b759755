#pragma once

#include "engine/time_to_act.h"
#include "session/display.h"
#include "text/script.h"

// Scripted play lays text out at this width on every machine, so transcripts compare equal.
inline constexpr int kScriptWrapWidth = 80;

// Plays the script from the start of the game on a virtual clock of 1/60 s frames: each typed
// line takes one frame, each wait as many frames as cover its seconds.
void PlayScript(const Script& script, Display& display, TimeToAct timeToAct = TimeToAct::kNormal);
