#include "session/display.h"

void DisplayList::Typed(const std::string& line) {
    for (Display* display : displays_) display->Typed(line);
}

void DisplayList::Line(const ConsoleLine& line) {
    for (Display* display : displays_) display->Line(line);
}

void DisplayList::Cleared() {
    for (Display* display : displays_) display->Cleared();
}

void DisplayList::FrameShown() {
    for (Display* display : displays_) display->FrameShown();
}

std::string PlainText(const ConsoleLine& line) {
    std::string text;
    for (const TextSpan& span : line) text += span.text;
    return text;
}
