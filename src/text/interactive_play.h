#pragma once

#include "engine/time_to_act.h"
#include "session/display.h"

// Width of display lines when the output is not a terminal, or one that does not say.
inline constexpr int kDefaultWrapWidth = 80;

// Plays the game with the standard streams as the terminal: typed lines from standard input,
// the game on standard output (and on `transcript`, when not null), the clock running at
// `pace` times real time, the story giving `timeToAct` to act on its warning. With `plain`, the
// terminal edits lines itself. Ends at end of input or on Ctrl-C; returns the exit status.
int PlayInteractive(double pace, TimeToAct timeToAct, bool plain, Display* transcript);
