#include "web/web_display.h"

void WebDisplay::Typed(const std::string& line) {
    events_ += 'T';
    events_ += static_cast<char>(SpanStyle::Echo);
    events_ += line;
    events_ += '\n';
}

void WebDisplay::Line(const ConsoleLine& line) {
    events_ += 'L';
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (i > 0) events_ += kSpanSeparator;
        events_ += static_cast<char>(line[i].style);
        events_ += line[i].text;
    }
    events_ += '\n';
}

void WebDisplay::Cleared() {
    events_ += "C\n";
}

std::string WebDisplay::Take() {
    std::string taken;
    taken.swap(events_);
    return taken;
}
