#include "console/console.h"

void Console::AddText(const std::string& markup) {
    texts_.push_back(markup);
    LayOut(markup);
}

void Console::LayOut(const std::string& markup) {
    // Every text starts plain: a tag left open colours the rest of its own text only.
    SpanStyle style = SpanStyle::Plain;
    for (const std::string& displayLine : WrapText(markup, wrapWidth)) {
        lines.push_back(ParseMarkup(displayLine, style));
    }
    scrollToBottom = true;
    ++changes_;
}

void Console::Clear() {
    lines.clear();
    texts_.clear();
    rowLines_.clear();
    indexedLines_ = 0;
    ++clears_;
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
    lines.clear();
    rowLines_.clear();
    indexedLines_ = 0;
    for (const std::string& text : texts_) LayOut(text);
    scrollToBottom = true;
    ++changes_;
}
