#include "console/console.h"

void Console::AddText(const std::string& markup) {
    texts_.push_back(markup);
    LayOut(markup);
}

void Console::LayOut(const std::string& markup) {
    // Every text starts plain: a tag left open colours the rest of its own text only.
    SpanStyle style = SpanStyle::Plain;
    for (const std::string& displayLine : WrapText(markup, wrapWidth)) {
        lines_.push_back(ParseMarkup(displayLine, style));
    }
    scrollToBottom = true;
    ++changes_;
}

void Console::Clear() {
    ClearLines();
    texts_.clear();
    ++clears_;
    ++changes_;
}

void Console::ClearLines() {
    lines_.clear();
    rowLines_.clear();
    indexedLines_ = 0;
}

void Console::IndexNewRows() {
    for (; indexedLines_ < lines_.size(); ++indexedLines_) {
        if (!lines_[indexedLines_].empty()) rowLines_.push_back(indexedLines_);
    }
}

void Console::Rewrap() {
    ClearLines();
    for (const std::string& text : texts_) LayOut(text);
    scrollToBottom = true;
    ++changes_;
}
