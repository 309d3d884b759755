#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/access/story_model.h"
#include "console/console.h"

// What the desktop's accessibility tree shows of the console, as plain text. Offsets and lengths
// count characters (code points), as AT-SPI counts them.
//
// Two objects show it. The terminal reads like the window: the story so far, then the line
// being typed as its echo will show it ("> " and the line), with the caret in that line; a
// screen reader speaks what a terminal gains unprompted, so it holds the focus. The entry holds
// the line alone.

struct ConsoleText {
    StoryModel::Snapshot story = std::make_shared<const std::u32string>();
    std::uint64_t storyRestarts = 0;
    // The first character of each of the log's display rows, as the console drew them. Rows
    // cover the story's end; what the console no longer shows (before it was cleared) has none.
    std::shared_ptr<const std::vector<int>> rows = std::make_shared<const std::vector<int>>();
    std::u32string line;
    int caret = 0;  // characters into `line`
};

// What a typed line shows ahead of itself, as its echo does.
std::u32string LinePrompt();

// The terminal's text, its length, and its caret.
std::u32string TerminalText(const ConsoleText& console);
int TerminalCaret(const ConsoleText& console);
// Where each paragraph of a text starts: at its start and after each line end.
std::vector<int> ParagraphStarts(const std::u32string& text);
// Where each line of the terminal starts: the rows the console shows, the paragraphs before
// them, and the typed line.
std::vector<int> TerminalLineStarts(const ConsoleText& console);

// The first character of each of `rows` (the log's display rows, as drawn) in `story`, matched
// from the end: a row is its characters, with only spaces and line ends between one and the
// next. Rows that no longer match (text from before a clear) start nowhere: they are left out,
// and the rows kept are the last ones.
std::vector<int> RowStarts(const std::u32string& story, const std::vector<std::u32string>& rows);
// The characters of each row the console draws of `lines`: a line without spans takes none.
std::vector<std::u32string> RowTexts(const std::vector<ConsoleLine>& lines);

// One change as an AT-SPI event tells it: text inserted or deleted at an offset, or the caret
// moved there. The edits of one change, applied in order, turn the old text into the new.
struct TextEdit {
    enum class Kind { Insert, Delete, CaretMoved };
    Kind kind;
    int offset;
    std::u32string text;  // what was inserted or deleted
    // Whether an event tells it. The prompt comes and goes with the typed line untold: Orca's
    // terminal script takes an insertion longer than the key just typed for a command's output
    // and reads it aloud, so "> l" would be heard as "greater l" at every line's first key.
    bool told = true;

    bool operator==(const TextEdit& other) const {
        return kind == other.kind && offset == other.offset && text == other.text &&
               told == other.told;
    }
};

// The terminal's edits from `before` to `after`, told from how much the story grew, not from a
// comparison of the two texts. New story text is inserted where the story ended. After Enter the
// typed line is already in the text as its echo shows it: the story's growth then starts with
// that echo, and only its line end and the reply are inserted, after the typed characters.
// A story taken whole is replaced whole. The caret is told whenever its offset changes.
std::vector<TextEdit> TerminalEdits(const ConsoleText& before, const ConsoleText& after);
// The entry's edits: the line's one changed stretch (deleted, then inserted), then the caret.
std::vector<TextEdit> LineEdits(const ConsoleText& before, const ConsoleText& after);
// Applies `edits` to `text` (the terminal's or the line's); edits that do not fit are skipped.
std::u32string ApplyEdits(std::u32string text, const std::vector<TextEdit>& edits);

// The stretches AtkText asks for around an offset (ATK's text boundaries). Words are what spaces
// separate; lines start at `lineStarts` (sorted; the text's start counts always).
enum class Boundary { Character, WordStart, WordEnd, LineStart, LineEnd };
struct TextRange {
    int start = 0;
    int end = 0;
};
// The stretch of `boundary` at `offset`; an offset out of the text gives an empty one.
TextRange RangeAt(const std::u32string& text, const std::vector<int>& lineStarts, int offset,
                  Boundary boundary);
// The stretch before or after the one at `offset`.
TextRange RangeBefore(const std::u32string& text, const std::vector<int>& lineStarts, int offset,
                      Boundary boundary);
TextRange RangeAfter(const std::u32string& text, const std::vector<int>& lineStarts, int offset,
                     Boundary boundary);

// Characters [start, end) of `text` (end -1: to the end), clamped to the text.
std::u32string Characters(const std::u32string& text, int start, int end);

// Where things are in the window, in pixels from its top left.
struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
// The terminal shows the log, above the input row; the entry is that row.
Box TerminalBox(const ConsoleLayout& layout);
Box EntryBox(const ConsoleLayout& layout);
// Where a character of the terminal (or, with `entry`, of the entry) is drawn, as the log is
// scrolled now: its row and column. A character the log no longer shows has an empty box at
// the log's top.
Box CharacterBox(const ConsoleText& text, const ConsoleLayout& layout, int offset, bool entry);
// The character drawn at a point, the line's end past the line; -1 for a point on none.
int OffsetAtPoint(const ConsoleText& text, const ConsoleLayout& layout, int x, int y, bool entry);
