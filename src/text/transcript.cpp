#include "text/transcript.h"

TranscriptWriter::TranscriptWriter(std::FILE* out, bool flushEachLine) : out_(out, flushEachLine) {}

void TranscriptWriter::Typed(const std::string& line) {
    out_.Write("> " + line + "\n");
}

void TranscriptWriter::Line(const ConsoleLine& line) {
    out_.Write(PlainText(line) + "\n");
}

void TranscriptWriter::Cleared() {
    out_.Write(std::string(kSeparator) + "\n");
}
