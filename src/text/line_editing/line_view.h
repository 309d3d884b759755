#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "session/display.h"
#include "text/output_stream.h"
#include "text/terminal_colours.h"

// Draws the line being edited below everything the game printed, and takes it away before
// the game prints more, so that game text never lands in the middle of it. Only plain ANSI
// cursor movement is used: carriage return, cursor up and right, and erase to the end of the
// screen.
class LineView {
public:
    static constexpr const char* kPrompt = "> ";

    LineView(std::FILE* out, ColourDepth colour);

    // Replaces what was drawn: the prompt and `text`, with the cursor `cursor` bytes into it,
    // wrapped at `columns` (0 when the terminal does not say), each character as wide as the
    // terminal shows it.
    void Draw(const std::string& text, std::size_t cursor, int columns);
    // Removes the line; the cursor is left at the start of the row the line began on.
    void Erase();
    // Rings the terminal's bell.
    void Bell();

    bool drawn() const { return drawn_; }

private:
    std::string EraseSequence() const;

    OutputStream out_;
    ColourDepth colour_;
    bool drawn_ = false;
    int cursorRow_ = 0;  // rows from the line's first row down to the cursor
};

// Goes before the terminal's own display in a DisplayList: whatever the game shows next, the
// edited line is out of the way first. The line is drawn again once the frame is over.
class EditLineEraser : public Display {
public:
    explicit EditLineEraser(LineView& view) : view_(view) {}

    void Typed(const std::string&) override { view_.Erase(); }
    void Line(const ConsoleLine&) override { view_.Erase(); }
    void Cleared() override { view_.Erase(); }

private:
    LineView& view_;
};
