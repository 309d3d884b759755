#include "text/terminal_output.h"

#include <cstring>

#include "text/transcript.h"

std::string RenderLine(const ConsoleLine& line, ColourDepth colour) {
    if (colour == ColourDepth::None) return PlainText(line);
    std::string out;
    std::string current;
    for (const TextSpan& span : line) {
        if (span.text.empty()) continue;
        const std::string sequence = ColourSequence(span.style, colour);
        if (sequence != current) out += sequence;
        current = sequence;
        out += span.text;
    }
    if (!current.empty()) out += kResetSequence;
    return out;
}

bool WantColour(bool outputIsTerminal, const char* noColor, const char* term) {
    if (!outputIsTerminal) return false;
    if (noColor != nullptr && noColor[0] != '\0') return false;
    return term == nullptr || std::strcmp(term, "dumb") != 0;
}

TerminalOutput::TerminalOutput(std::FILE* out, ColourDepth colour, bool typingEchoed)
    : out_(out, true), colour_(colour), typingEchoed_(typingEchoed) {}

void TerminalOutput::Typed(const std::string& line) {
    if (typingEchoed_) return;
    ConsoleLine echo = {{"> " + line, SpanStyle::Echo}};
    out_.Write(RenderLine(echo, colour_) + "\n");
}

void TerminalOutput::Line(const ConsoleLine& line) {
    out_.Write(RenderLine(line, colour_) + "\n");
}

void TerminalOutput::Cleared() {
    out_.Write(std::string(kSeparator) + "\n");
}
