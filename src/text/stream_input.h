#pragma once

#include "session/input_line.h"
#include "text/typed_input.h"

// Lines read from standard input as they come: a pipe, a file, or a terminal that does its own
// line editing.
class StreamInput : public TypedInput {
public:
    // `fromTerminal`: standard input and output are one terminal, which echoes what is typed.
    explicit StreamInput(bool fromTerminal) : fromTerminal_(fromTerminal) {}

    bool Read(int timeoutMillis) override;
    bool HasLine() const override { return lines_.HasLine(); }
    std::size_t Pending() const override { return lines_.Pending(); }
    std::string Next() override { return lines_.Next(); }
    bool EchoesTyping() const override { return fromTerminal_; }

private:
    InputLineReader lines_;
    bool fromTerminal_;
};
