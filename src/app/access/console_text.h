#pragma once

#include <string>
#include <vector>

// What the desktop's accessibility tree shows of the console, as plain text. Offsets and lengths
// count characters (code points), as AT-SPI counts them.
//
// Two objects show it. The terminal reads like the window: the story so far, then the line
// being typed, with the caret in that line; a screen reader speaks what a terminal gains
// unprompted, so it holds the focus. The entry holds the line alone.
struct ConsoleText {
    std::u32string story;  // every line ends with "\n"
    std::u32string line;
    int caret = 0;  // characters into `line`

    bool operator==(const ConsoleText& other) const {
        return story == other.story && line == other.line && caret == other.caret;
    }
    bool operator!=(const ConsoleText& other) const { return !(*this == other); }
};

// One change as an AT-SPI event tells it: text inserted or deleted at an offset, or the caret
// moved there. The edits of one change, applied in order, turn the old text into the new.
struct TextEdit {
    enum class Kind { Insert, Delete, CaretMoved };
    Kind kind;
    int offset;
    std::u32string text;  // what was inserted or deleted

    bool operator==(const TextEdit& other) const {
        return kind == other.kind && offset == other.offset && text == other.text;
    }
};

std::u32string TerminalText(const ConsoleText& console);
int TerminalCaret(const ConsoleText& console);

// The terminal's edits from `before` to `after`. The story only grows, so new story text is one
// insertion where the story ended, ahead of the line; a story that did not grow from the old one
// is replaced whole. A line typed away at once with new story text (Enter) is deleted before the
// story's insertion, and the story's first new line (the line's echo) is inserted on its own,
// before the rest. The caret is told whenever its offset changes.
std::vector<TextEdit> TerminalEdits(const ConsoleText& before, const ConsoleText& after);
// The entry's edits: the line's one changed stretch (deleted, then inserted), then the caret.
std::vector<TextEdit> LineEdits(const ConsoleText& before, const ConsoleText& after);
// Applies `edits` to `text` (the terminal's or the line's); edits that do not fit are skipped.
std::u32string ApplyEdits(std::u32string text, const std::vector<TextEdit>& edits);

// The stretches AtkText asks for around an offset (ATK's text boundaries). Lines and sentences
// are the text's own lines: the story's paragraphs as written.
enum class Boundary { Character, WordStart, WordEnd, LineStart, LineEnd };
struct TextRange {
    int start = 0;
    int end = 0;
};
// The stretch of `boundary` at `offset`; an offset out of the text gives an empty one.
TextRange RangeAt(const std::u32string& text, int offset, Boundary boundary);
// The stretch before or after the one at `offset`.
TextRange RangeBefore(const std::u32string& text, int offset, Boundary boundary);
TextRange RangeAfter(const std::u32string& text, int offset, Boundary boundary);

// Where the console shows each character of a text: its lines wrapped at `columns` characters
// (the log wraps at words, so a long paragraph may take a row more there), counted in rows up
// from the last. Screen readers place a text's lines by their characters' extents.
class TextGrid {
public:
    struct Cell {
        int rowFromEnd = 0;
        int column = 0;
    };

    TextGrid() = default;
    TextGrid(const std::u32string& text, int columns);

    // The cell of the character at `offset`, or of the text's end.
    Cell CellOf(int offset) const;

private:
    std::vector<int> rowStarts_{0};
};

// Characters [start, end) of `text` (end -1: to the end), clamped to the text.
std::u32string Characters(const std::u32string& text, int start, int end);

std::u32string FromUtf8(const std::string& text);
std::string ToUtf8(const std::u32string& text);
