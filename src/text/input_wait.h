#pragma once

#include <cstddef>
#include <optional>

// Typed lines waiting for their frame; past this, input is left unread until the game catches
// up, so a flood of lines costs no memory.
inline constexpr std::size_t kMaxPendingLines = 64;

// How long the terminal's loop reads input before its next frame, in real milliseconds: none
// while `linesWaiting` typed lines wait for their frames, so that every line of a paste is
// played in turn without another key; else until the game may next change on its own
// (`gameChangeIn` real seconds, wake::kNever for never) or the input needs its own wake
// (`inputWake`, real seconds: the end of an unfinished key sequence or paste); -1 when only
// input matters. Nothing when the input is not to be read at all.
std::optional<int> InputWaitMillis(std::size_t linesWaiting, double gameChangeIn,
                                   std::optional<double> inputWake);
