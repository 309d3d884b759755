#include "app/access/console_text.h"

#include <algorithm>

namespace {

int Length(const std::u32string& text) {
    return static_cast<int>(text.size());
}

// The edits that turn `before` into `after`, placed at `base`: the one stretch between their
// common start and common end.
void AddStretchEdits(const std::u32string& before, const std::u32string& after, int base,
                     std::vector<TextEdit>& edits) {
    std::size_t head = 0;
    const std::size_t shorter = std::min(before.size(), after.size());
    while (head < shorter && before[head] == after[head]) ++head;
    std::size_t tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    const int offset = base + static_cast<int>(head);
    if (before.size() > head + tail) {
        edits.push_back(
            {TextEdit::Kind::Delete, offset, before.substr(head, before.size() - head - tail)});
    }
    if (after.size() > head + tail) {
        edits.push_back(
            {TextEdit::Kind::Insert, offset, after.substr(head, after.size() - head - tail)});
    }
}

bool IsWordCharacter(char32_t c) {
    return c != U' ' && c != U'\n' && c != U'\t';
}

bool IsWordStart(const std::u32string& text, int offset) {
    return IsWordCharacter(text[offset]) && (offset == 0 || !IsWordCharacter(text[offset - 1]));
}

bool IsWordEnd(const std::u32string& text, int offset) {
    return offset > 0 && IsWordCharacter(text[offset - 1]) &&
           (offset == Length(text) || !IsWordCharacter(text[offset]));
}

// The stretch from the boundary at or before `offset` to the next boundary after it, where
// `isBoundary` tells boundaries apart; the text's two ends always count.
template <typename IsBoundary>
TextRange Between(const std::u32string& text, int offset, IsBoundary isBoundary) {
    TextRange range{offset, offset};
    while (range.start > 0 && !isBoundary(range.start)) --range.start;
    range.end = std::min(offset + 1, Length(text));
    while (range.end < Length(text) && !isBoundary(range.end)) ++range.end;
    return range;
}

}  // namespace

std::u32string TerminalText(const ConsoleText& console) {
    return console.story + console.line;
}

int TerminalCaret(const ConsoleText& console) {
    return Length(console.story) + std::clamp(console.caret, 0, Length(console.line));
}

std::vector<TextEdit> TerminalEdits(const ConsoleText& before, const ConsoleText& after) {
    std::vector<TextEdit> edits;
    const bool grew = after.story.compare(0, before.story.size(), before.story) == 0;
    if (!grew) {
        AddStretchEdits(TerminalText(before), TerminalText(after), 0, edits);
    } else if (after.story.size() == before.story.size()) {
        AddStretchEdits(before.line, after.line, Length(before.story), edits);
    } else {
        const bool lineChanged = before.line != after.line;
        if (lineChanged && !before.line.empty()) {
            edits.push_back({TextEdit::Kind::Delete, Length(before.story), before.line});
        }
        // With the line gone the story starts with its echo, told on its own: a screen reader
        // that speaks each insertion as it comes cuts the echo short for the reply.
        const std::u32string added = after.story.substr(before.story.size());
        std::size_t echoEnd = added.size();
        if (lineChanged && added.find(U'\n') != std::u32string::npos) {
            echoEnd = added.find(U'\n') + 1;
        }
        edits.push_back({TextEdit::Kind::Insert, Length(before.story), added.substr(0, echoEnd)});
        if (echoEnd < added.size()) {
            edits.push_back({TextEdit::Kind::Insert,
                             Length(before.story) + static_cast<int>(echoEnd),
                             added.substr(echoEnd)});
        }
        if (lineChanged && !after.line.empty()) {
            edits.push_back({TextEdit::Kind::Insert, Length(after.story), after.line});
        }
    }
    if (TerminalCaret(before) != TerminalCaret(after)) {
        edits.push_back({TextEdit::Kind::CaretMoved, TerminalCaret(after), {}});
    }
    return edits;
}

std::vector<TextEdit> LineEdits(const ConsoleText& before, const ConsoleText& after) {
    std::vector<TextEdit> edits;
    AddStretchEdits(before.line, after.line, 0, edits);
    const int caret = std::clamp(after.caret, 0, Length(after.line));
    if (std::clamp(before.caret, 0, Length(before.line)) != caret) {
        edits.push_back({TextEdit::Kind::CaretMoved, caret, {}});
    }
    return edits;
}

std::u32string ApplyEdits(std::u32string text, const std::vector<TextEdit>& edits) {
    for (const TextEdit& edit : edits) {
        if (edit.offset < 0 || edit.offset > Length(text)) continue;
        const auto at = static_cast<std::size_t>(edit.offset);
        if (edit.kind == TextEdit::Kind::Insert) {
            text.insert(at, edit.text);
        } else if (edit.kind == TextEdit::Kind::Delete &&
                   text.compare(at, edit.text.size(), edit.text) == 0) {
            text.erase(at, edit.text.size());
        }
    }
    return text;
}

TextRange RangeAt(const std::u32string& text, int offset, Boundary boundary) {
    if (offset < 0 || offset > Length(text)) return {};
    switch (boundary) {
        case Boundary::Character:
            return {offset, std::min(offset + 1, Length(text))};
        case Boundary::WordStart:
            return Between(text, offset, [&text](int at) { return IsWordStart(text, at); });
        case Boundary::WordEnd:
            return Between(text, offset, [&text](int at) { return IsWordEnd(text, at); });
        case Boundary::LineStart:
            return Between(text, offset, [&text](int at) { return text[at - 1] == U'\n'; });
        case Boundary::LineEnd:
            break;
    }
    // From the break before the line to the break that ends it.
    return Between(text, offset, [&text](int at) { return text[at] == U'\n'; });
}

TextRange RangeBefore(const std::u32string& text, int offset, Boundary boundary) {
    if (offset < 0 || offset > Length(text)) return {};
    const TextRange at = RangeAt(text, offset, boundary);
    if (at.start == 0) return {0, 0};
    return RangeAt(text, at.start - 1, boundary);
}

TextRange RangeAfter(const std::u32string& text, int offset, Boundary boundary) {
    if (offset < 0 || offset > Length(text)) return {};
    const TextRange at = RangeAt(text, offset, boundary);
    if (at.end >= Length(text)) return {Length(text), Length(text)};
    return RangeAt(text, at.end, boundary);
}

TextGrid::TextGrid(const std::u32string& text, int columns) {
    columns = std::max(columns, 1);
    int column = 0;
    for (int offset = 0; offset < Length(text); ++offset) {
        if (text[static_cast<std::size_t>(offset)] == U'\n') {
            rowStarts_.push_back(offset + 1);
            column = 0;
        } else if (++column > columns) {
            rowStarts_.push_back(offset);
            column = 1;
        }
    }
}

TextGrid::Cell TextGrid::CellOf(int offset) const {
    offset = std::max(offset, 0);
    const auto row = std::upper_bound(rowStarts_.begin(), rowStarts_.end(), offset) - 1;
    return {static_cast<int>(rowStarts_.end() - row) - 1, offset - *row};
}

std::u32string Characters(const std::u32string& text, int start, int end) {
    if (end < 0 || end > Length(text)) end = Length(text);
    start = std::clamp(start, 0, end);
    return text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

std::u32string FromUtf8(const std::string& text) {
    std::u32string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        ++i;
        for (; extra > 0 && i < text.size(); --extra, ++i) {
            const auto next = static_cast<unsigned char>(text[i]);
            if ((next & 0xC0) != 0x80) break;
            c = (c << 6) | (next & 0x3F);
        }
        // A byte that starts nothing, or a character cut short, reads as U+FFFD.
        result.push_back(extra == 0 && lead < 0xF8 && (lead < 0x80 || lead >= 0xC0) ? c
                                                                                    : U'\uFFFD');
    }
    return result;
}

std::string ToUtf8(const std::u32string& text) {
    std::string result;
    result.reserve(text.size());
    for (char32_t c : text) {
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = U'\uFFFD';
        if (c < 0x80) {
            result.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            result.push_back(static_cast<char>(0xC0 | (c >> 6)));
            result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            result.push_back(static_cast<char>(0xE0 | (c >> 12)));
            result.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            result.push_back(static_cast<char>(0xF0 | (c >> 18)));
            result.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return result;
}
