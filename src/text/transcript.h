#pragma once

#include <cstdio>
#include <string>

#include "session/display.h"
#include "session/story_record.h"
#include "text/output_stream.h"

// Writes the game as text: typed lines as "> line", display lines as their text, and a separator
// where the log was emptied. The same format serves scripted play and transcripts.
class TranscriptWriter : public Display {
public:
    // How display lines are written: their plain text, or with the log's colour markup, so a
    // transcript also records each text's colours.
    enum class Lines { Plain, Markup };

    // Writes to `out`, which stays the caller's. `flushEachLine` suits someone reading along.
    TranscriptWriter(std::FILE* out, bool flushEachLine, Lines lines = Lines::Plain);

    void Typed(const std::string& line) override;
    void Line(const ConsoleLine& line) override;
    void Cleared() override;

    // The errno of the first failed write, or 0.
    int error() const { return out_.error(); }

private:
    OutputStream out_;
    Lines lines_;
};
