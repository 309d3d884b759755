#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "session/display.h"
#include "text/line_editing/key_decoder.h"
#include "text/line_editing/line_editor.h"
#include "text/line_editing/line_view.h"
#include "text/terminal_colours.h"

// The line the player edits, from the bytes the keyboard sends to what the terminal shows:
// keys decoded and applied, the line drawn again when it changed, the bell rung for refused
// keys, and submitted lines queued for the game. It writes only to `out`, so a test can watch
// it without a terminal.
class LinePipeline {
public:
    using Clock = KeyDecoder::Clock;

    // `columns` answers the terminal's width now, 0 when the terminal does not say.
    LinePipeline(std::FILE* out, ColourDepth colour, std::function<int()> columns);

    // Bytes read at `now`; false after Ctrl-D on an empty line.
    bool Feed(std::string_view bytes, Clock::time_point now);
    // Nothing read by `now`: what the decoder waited for may have waited long enough.
    bool Pause(Clock::time_point now);
    std::optional<Clock::time_point> NextDeadline() const { return decoder_.NextDeadline(); }

    bool HasLine() const { return !lines_.empty(); }
    std::size_t Pending() const { return lines_.size(); }
    std::string Next();

    // Draws the line afresh: after a resize, or when the terminal was given back for a while.
    void Draw();
    // Draws the line again if the game's output took it away.
    void FrameShown();
    void Erase() { view_.Erase(); }
    // To be told of the game's output before the terminal shows it.
    Display& eraser() { return eraser_; }

private:
    // Applies the keys; false after Ctrl-D on an empty line.
    bool TakeKeys(const std::vector<Key>& keys);

    KeyDecoder decoder_;
    LineEditor editor_;
    LineView view_;
    EditLineEraser eraser_;
    std::function<int()> columns_;
    std::deque<std::string> lines_;
    bool bellInPaste_ = false;  // the bell has rung in this read, or in the paste going on
};
