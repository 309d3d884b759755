#pragma once

// The earliest game clock reading, in seconds, at which a scene entered at `sceneStart` is
// older than `seconds`: where `float(clock) - sceneStart > seconds` first holds, computed in
// the single precision the story compares in.
double EarliestClockOlderThan(float sceneStart, float seconds);
