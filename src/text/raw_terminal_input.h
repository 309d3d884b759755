#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "session/display.h"
#include "text/line_editing/line_pipeline.h"
#include "text/raw_mode.h"
#include "text/terminal_colours.h"
#include "text/typed_input.h"

// The program's own line editor on the terminal of standard input and output: keys decoded
// and applied to the line as they come, the line drawn below the game's text, the terminal
// given back on Ctrl-Z and whenever play ends.
class RawTerminalInput : public TypedInput {
public:
    explicit RawTerminalInput(ColourDepth colour);
    ~RawTerminalInput() override { Close(); }

    RawTerminalInput(const RawTerminalInput&) = delete;
    RawTerminalInput& operator=(const RawTerminalInput&) = delete;

    // Takes the terminal over. False, with the terminal untouched, when it cannot be.
    bool Start();

    bool Read(int timeoutMillis) override;
    bool HasLine() const override { return line_.HasLine(); }
    std::size_t Pending() const override { return line_.Pending(); }
    std::string Next() override { return line_.Next(); }
    std::optional<double> SecondsToNextWake(
        std::chrono::steady_clock::time_point now) const override;
    void FrameShown() override;
    void Close() override;
    bool EchoesTyping() const override { return false; }

    // To be told of the game's output before the terminal shows it.
    Display& eraser() { return line_.eraser(); }

private:
    void AnswerSignals();

    RawMode raw_;
    LinePipeline line_;
    bool started_ = false;
};
