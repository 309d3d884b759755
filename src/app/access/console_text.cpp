#include "app/access/console_text.h"

#include <algorithm>
#include <cmath>

#include "console/utf8.h"
#include "session/display.h"
#include "session/story_record.h"

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

// The typed line as the terminal shows it after the story: nothing while none is typed.
std::u32string LinePart(const std::u32string& line) {
    return line.empty() ? std::u32string() : LinePrompt() + line;
}

bool IsWordStart(const std::u32string& text, int offset) {
    return !IsWordSpace(text[offset]) && (offset == 0 || IsWordSpace(text[offset - 1]));
}

bool IsWordEnd(const std::u32string& text, int offset) {
    return offset > 0 && !IsWordSpace(text[offset - 1]) &&
           (offset == Length(text) || IsWordSpace(text[offset]));
}

bool IsLineStart(const std::vector<int>& lineStarts, int offset) {
    return std::binary_search(lineStarts.begin(), lineStarts.end(), offset);
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

int Round(float pixels) {
    return static_cast<int>(std::lround(pixels));
}

// The row `offset` is on among the log's rows, or -1 for text the log does not show.
int RowOf(const ConsoleText& text, int offset) {
    const std::vector<int>& rows = *text.rows;
    const auto after = std::upper_bound(rows.begin(), rows.end(), offset);
    return after == rows.begin() ? -1 : static_cast<int>(after - rows.begin()) - 1;
}

}  // namespace

std::u32string LinePrompt() {
    return Utf32FromUtf8(TypedLineText(""));
}

std::u32string TerminalText(const ConsoleText& console) {
    return *console.story + LinePart(console.line);
}

int TerminalCaret(const ConsoleText& console) {
    const int story = Length(*console.story);
    if (console.line.empty()) return story;
    return story + Length(LinePrompt()) + std::clamp(console.caret, 0, Length(console.line));
}

std::vector<int> ParagraphStarts(const std::u32string& text) {
    std::vector<int> starts{0};
    for (int at = 1; at < Length(text); ++at) {
        if (text[static_cast<std::size_t>(at - 1)] == U'\n') starts.push_back(at);
    }
    return starts;
}

std::vector<int> TerminalLineStarts(const ConsoleText& console) {
    const std::u32string& story = *console.story;
    std::vector<int> starts = ParagraphStarts(story);
    // The rows replace the paragraphs they show.
    const int firstRow = console.rows->empty() ? Length(story) : console.rows->front();
    starts.erase(std::upper_bound(starts.begin(), starts.end(), firstRow - 1), starts.end());
    for (int row : *console.rows) {
        if (row > starts.back()) starts.push_back(row);
    }
    if (Length(story) > starts.back()) starts.push_back(Length(story));
    return starts;
}

std::vector<int> RowStarts(const std::u32string& story, const std::vector<std::u32string>& rows) {
    std::vector<int> starts(rows.size());
    std::size_t kept = rows.size();
    std::size_t end = story.size();
    while (kept > 0) {
        const std::u32string& row = rows[kept - 1];
        std::size_t rowEnd = end;
        // Back over the spaces and line ends between this row and the next, to where it fits.
        while (rowEnd >= row.size() && story.compare(rowEnd - row.size(), row.size(), row) != 0 &&
               rowEnd > 0 && IsWordSpace(story[rowEnd - 1])) {
            --rowEnd;
        }
        if (rowEnd < row.size() || story.compare(rowEnd - row.size(), row.size(), row) != 0) break;
        end = rowEnd - row.size();
        starts[--kept] = static_cast<int>(end);
    }
    starts.erase(starts.begin(), starts.begin() + static_cast<std::ptrdiff_t>(kept));
    return starts;
}

std::vector<std::u32string> RowTexts(const std::vector<ConsoleLine>& lines) {
    std::vector<std::u32string> rows;
    for (const ConsoleLine& line : lines) {
        if (!line.empty()) rows.push_back(Utf32FromUtf8(PlainText(line)));
    }
    return rows;
}

std::vector<TextEdit> TerminalEdits(const ConsoleText& before, const ConsoleText& after) {
    std::vector<TextEdit> edits;
    const std::u32string lineBefore = LinePart(before.line);
    const std::u32string lineAfter = LinePart(after.line);
    if (after.storyRestarts != before.storyRestarts) {
        AddStretchEdits(TerminalText(before), TerminalText(after), 0, edits);
    } else {
        const int storyEnd = Length(*before.story);
        std::u32string added = after.story->substr(before.story->size());
        // After Enter the story goes on with the typed line's echo, which the text shows already.
        const std::u32string echo = lineBefore + U"\n";
        if (!lineBefore.empty() && added.compare(0, echo.size(), echo) == 0) {
            added.erase(0, lineBefore.size());
            edits.push_back(
                {TextEdit::Kind::Insert, storyEnd + Length(lineBefore), added + lineAfter});
        } else {
            if (!added.empty()) edits.push_back({TextEdit::Kind::Insert, storyEnd, added});
            const int lineStart = storyEnd + Length(added);
            const std::u32string prompt = LinePrompt();
            if (lineBefore.empty() && !lineAfter.empty()) {
                edits.push_back({TextEdit::Kind::Insert, lineStart, prompt, false});
                AddStretchEdits(prompt, lineAfter, lineStart, edits);
            } else if (!lineBefore.empty() && lineAfter.empty()) {
                AddStretchEdits(lineBefore, prompt, lineStart, edits);
                edits.push_back({TextEdit::Kind::Delete, lineStart, prompt, false});
            } else {
                AddStretchEdits(lineBefore, lineAfter, lineStart, edits);
            }
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

TextRange RangeAt(const std::u32string& text, const std::vector<int>& lineStarts, int offset,
                  Boundary boundary) {
    if (offset < 0 || offset > Length(text)) return {};
    switch (boundary) {
        case Boundary::Character:
            return {offset, std::min(offset + 1, Length(text))};
        case Boundary::WordStart:
            return Between(text, offset, [&text](int at) { return IsWordStart(text, at); });
        case Boundary::WordEnd:
            return Between(text, offset, [&text](int at) { return IsWordEnd(text, at); });
        case Boundary::LineStart:
            return Between(text, offset,
                           [&lineStarts](int at) { return IsLineStart(lineStarts, at); });
        case Boundary::LineEnd:
            break;
    }
    // From the break that ends the line before to the break that ends this one.
    return Between(text, offset, [&lineStarts](int at) { return IsLineStart(lineStarts, at + 1); });
}

TextRange RangeBefore(const std::u32string& text, const std::vector<int>& lineStarts, int offset,
                      Boundary boundary) {
    if (offset < 0 || offset > Length(text)) return {};
    const TextRange at = RangeAt(text, lineStarts, offset, boundary);
    if (at.start == 0) return {0, 0};
    return RangeAt(text, lineStarts, at.start - 1, boundary);
}

TextRange RangeAfter(const std::u32string& text, const std::vector<int>& lineStarts, int offset,
                     Boundary boundary) {
    if (offset < 0 || offset > Length(text)) return {};
    const TextRange at = RangeAt(text, lineStarts, offset, boundary);
    if (at.end >= Length(text)) return {Length(text), Length(text)};
    return RangeAt(text, lineStarts, at.end, boundary);
}

std::u32string Characters(const std::u32string& text, int start, int end) {
    if (end < 0 || end > Length(text)) end = Length(text);
    start = std::clamp(start, 0, end);
    return text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

Box TerminalBox(const ConsoleLayout& layout) {
    return {0, 0, Round(layout.width), Round(layout.footerTop)};
}

Box EntryBox(const ConsoleLayout& layout) {
    return {0, Round(layout.footerTop), Round(layout.width), Round(layout.footerHeight)};
}

Box CharacterBox(const ConsoleText& text, const ConsoleLayout& layout, int offset, bool entry) {
    const int story = Length(*text.story);
    const auto place = [&layout](float left, float top, int column) {
        return Box{Round(left + static_cast<float>(column) * layout.characterWidth), Round(top),
                   Round(layout.characterWidth), Round(layout.rowHeight)};
    };
    if (entry) return place(layout.lineLeft, layout.lineTop, offset);
    // The prompt is the terminal's own: it takes no room in the field.
    if (offset >= story) {
        return place(layout.lineLeft, layout.lineTop,
                     std::max(0, offset - story - Length(LinePrompt())));
    }
    const int row = RowOf(text, offset);
    if (row < 0) return {Round(layout.textLeft), Round(layout.logTop), 0, 0};
    return place(layout.textLeft,
                 layout.logTop + static_cast<float>(row) * layout.rowHeight - layout.scrollY,
                 offset - (*text.rows)[static_cast<std::size_t>(row)]);
}

int OffsetAtPoint(const ConsoleText& text, const ConsoleLayout& layout, int x, int y, bool entry) {
    if (!(layout.characterWidth > 0.0f) || !(layout.rowHeight > 0.0f)) return -1;
    const auto column = [&layout, x](float left) {
        return static_cast<int>(std::floor((static_cast<float>(x) - left) / layout.characterWidth));
    };
    const float pointY = static_cast<float>(y);
    const int story = Length(*text.story);
    if (pointY >= layout.footerTop && pointY < layout.footerTop + layout.footerHeight) {
        const int inLine = std::clamp(column(layout.lineLeft), 0, Length(text.line));
        if (entry) return inLine;
        return text.line.empty() ? story : story + Length(LinePrompt()) + inLine;
    }
    if (entry || pointY < layout.logTop || pointY >= layout.logTop + layout.logHeight) return -1;
    const std::vector<int>& rows = *text.rows;
    const auto row =
        static_cast<long>(std::floor((pointY - layout.logTop + layout.scrollY) / layout.rowHeight));
    if (row < 0 || row >= static_cast<long>(rows.size())) return -1;
    const auto index = static_cast<std::size_t>(row);
    const int start = rows[index];
    const int end = index + 1 < rows.size() ? rows[index + 1] : story;
    return start + std::clamp(column(layout.textLeft), 0, std::max(0, end - start - 1));
}
