#pragma once

#include <cstdio>
#include <string>

#include "session/display.h"
#include "text/output_stream.h"
#include "text/terminal_colours.h"

// A display line as terminal text: each span in its style's colour at the given depth, the
// colours reset at the end; or its plain text.
std::string RenderLine(const ConsoleLine& line, ColourDepth colour);

// Whether to colour the output: only on a terminal, never when NO_COLOR holds a value
// (https://no-color.org) or the terminal says it is dumb. Either variable may be null.
bool WantColour(bool outputIsTerminal, const char* noColor, const char* term);

// Shows the game in a terminal as it is played, a line at a time.
class TerminalOutput : public Display {
public:
    // `typingEchoed`: the terminal already shows what the player types, so typed lines are
    // not printed again.
    TerminalOutput(std::FILE* out, ColourDepth colour, bool typingEchoed);

    void Typed(const std::string& line) override;
    void Line(const ConsoleLine& line) override;
    void Cleared() override;

    // The errno of the first failed write, or 0.
    int error() const { return out_.error(); }

private:
    OutputStream out_;
    ColourDepth colour_;
    bool typingEchoed_;
};
