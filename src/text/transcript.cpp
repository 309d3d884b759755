#include "text/transcript.h"

TranscriptWriter::TranscriptWriter(std::FILE* out, bool flushEachLine, Lines lines)
    : out_(out, flushEachLine), lines_(lines) {}

void TranscriptWriter::Typed(const std::string& line) {
    out_.Write(TypedLineText(line) + "\n");
}

void TranscriptWriter::Line(const ConsoleLine& line) {
    out_.Write((lines_ == Lines::Markup ? LineMarkup(line) : PlainText(line)) + "\n");
}

void TranscriptWriter::Cleared() {
    out_.Write(std::string(kSeparator) + "\n");
}
