#include "text/terminal_output.h"

#include <cstring>

#include "text/transcript.h"

std::string ColourSequence(SpanStyle style) {
    const StyleRgb colour = StyleColour(style);
    return "\x1b[38;2;" + std::to_string(colour.red) + ";" + std::to_string(colour.green) + ";" +
           std::to_string(colour.blue) + "m";
}

std::string RenderLine(const ConsoleLine& line, bool colour) {
    if (!colour) return PlainText(line);
    std::string out;
    std::string current;
    for (const TextSpan& span : line) {
        if (span.text.empty()) continue;
        const std::string sequence = ColourSequence(span.style);
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

TerminalOutput::TerminalOutput(std::FILE* out, bool colour, bool typingEchoed)
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
