#pragma once

#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "session/display.h"
#include "text/edit_line_view.h"
#include "text/key_decoder.h"
#include "text/line_editor.h"
#include "text/raw_mode.h"
#include "text/terminal_colours.h"
#include "text/typed_input.h"

// The program's own line editor on the terminal of standard input and output: keys decoded
// and applied to the line as they come, the line drawn below the game's text, the terminal
// given back on Ctrl-Z and whenever play ends.
class EditedInput : public TypedInput {
public:
    explicit EditedInput(ColourDepth colour);
    ~EditedInput() override { Close(); }

    EditedInput(const EditedInput&) = delete;
    EditedInput& operator=(const EditedInput&) = delete;

    // Takes the terminal over. False, with the terminal untouched, when it cannot be.
    bool Start();

    bool Read(int timeoutMillis) override;
    bool HasLine() const override { return !lines_.empty(); }
    std::size_t Pending() const override { return lines_.size(); }
    std::string Next() override;
    std::optional<double> SecondsToNextWake(
        std::chrono::steady_clock::time_point now) const override;
    void FrameShown() override;
    void Close() override;
    bool EchoesTyping() const override { return false; }

    // To be told of the game's output before the terminal shows it.
    Display& eraser() { return eraser_; }

private:
    void AnswerSignals();
    void Draw();
    // Applies the keys; false after Ctrl-D on an empty line.
    bool TakeKeys(const std::vector<Key>& keys);

    RawMode raw_;
    KeyDecoder decoder_;
    LineEditor editor_;
    EditLineView view_;
    EditLineEraser eraser_;
    std::deque<std::string> lines_;
    bool bellInPaste_ = false;  // the bell has rung in this read, or in the paste going on
    bool started_ = false;
};
