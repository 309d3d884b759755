#include "console/console.h"

void Console::AddText(const std::string& markup) {
    SpanStyle style = SpanStyle::Plain;
    for (const std::string& displayLine : WrapText(markup, wrapWidth)) {
        lines.push_back(ParseMarkup(displayLine, style));
    }
    scrollToBottom = true;
    ++changes_;
}

void Console::Clear() {
    lines.clear();
    rowLines_.clear();
    indexedLines_ = 0;
    ++changes_;
}

void Console::IndexNewRows() {
    if (lines.size() < indexedLines_) {
        rowLines_.clear();
        indexedLines_ = 0;
    }
    for (; indexedLines_ < lines.size(); ++indexedLines_) {
        if (!lines[indexedLines_].empty()) rowLines_.push_back(indexedLines_);
    }
}

void Console::Rewrap() {
    std::string markup;
    for (const ConsoleLine& line : lines) markup += LineMarkup(line);
    Clear();
    AddText(markup);
}
