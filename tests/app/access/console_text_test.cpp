#include "app/access/console_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "app/access/key_gate.h"
#include "console/utf8.h"

namespace {

using Kind = TextEdit::Kind;

}  // namespace

void PrintTo(const TextEdit& edit, std::ostream* out) {
    *out << "{" << static_cast<int>(edit.kind) << ", " << edit.offset << ", \""
         << Utf8FromUtf32(edit.text) << "\"}";
}

namespace {

// What a case shows; the rows are the log's (none unless given).
struct Shown {
    std::u32string story;
    std::u32string line;
    int caret = 0;
    std::uint64_t restarts = 0;  // how often the story was taken whole
};

ConsoleText Text(const Shown& shown, std::vector<int> rows = {}) {
    ConsoleText text;
    text.story = std::make_shared<const std::u32string>(shown.story);
    text.storyRestarts = shown.restarts;
    text.rows = std::make_shared<const std::vector<int>>(std::move(rows));
    text.line = shown.line;
    text.caret = shown.caret;
    return text;
}

TEST(ConsoleText, TerminalEditsTellEachChangeAndRebuildTheText) {
    struct Case {
        const char* name;
        Shown before;
        Shown after;
        std::vector<TextEdit> edits;
    };
    const Case cases[] = {
        {"the first character brings the prompt, untold",
         {U"Hi\n", U"", 0},
         {U"Hi\n", U"l", 1},
         {{Kind::Insert, 3, U"> ", false}, {Kind::Insert, 5, U"l"}, {Kind::CaretMoved, 6, {}}}},
        {"the last character deleted takes it away, untold",
         {U"Hi\n", U"l", 1},
         {U"Hi\n", U"", 0},
         {{Kind::Delete, 5, U"l"}, {Kind::Delete, 3, U"> ", false}, {Kind::CaretMoved, 3, {}}}},
        {"a character typed",
         {U"Hi\n", U"lo", 2},
         {U"Hi\n", U"loo", 3},
         {{Kind::Insert, 7, U"o"}, {Kind::CaretMoved, 8, {}}}},
        {"a character deleted mid-line",
         {U"Hi\n", U"look", 2},
         {U"Hi\n", U"lok", 1},
         {{Kind::Delete, 7, U"o"}, {Kind::CaretMoved, 6, {}}}},
        {"the caret moved alone",
         {U"Hi\n", U"go", 2},
         {U"Hi\n", U"go", 0},
         {{Kind::CaretMoved, 5, {}}}},
        {"a timed text, nothing typed",
         {U"Hi\n", U"", 0},
         {U"Hi\nA bell.\n", U"", 0},
         {{Kind::Insert, 3, U"A bell.\n"}, {Kind::CaretMoved, 11, {}}}},
        {"a timed text while typing",
         {U"Hi\n", U"ju", 2},
         {U"Hi\nBoo.\n", U"ju", 2},
         {{Kind::Insert, 3, U"Boo.\n"}, {Kind::CaretMoved, 12, {}}}},
        {"Enter: the echo is there already, only its end and the reply come",
         {U"Hi\n", U"look", 4},
         {U"Hi\n> look\nA room.\n", U"", 0},
         {{Kind::Insert, 9, U"\nA room.\n"}, {Kind::CaretMoved, 18, {}}}},
        {"a line recalled with a reply",
         {U"A\n", U"x", 1},
         {U"A\nB\n", U"yz", 2},
         {{Kind::Insert, 2, U"B\n"},
          {Kind::Delete, 6, U"x"},
          {Kind::Insert, 6, U"yz"},
          {Kind::CaretMoved, 8, {}}}},
        {"a story taken whole is replaced",
         {U"Old\n", U"", 0},
         {U"New\n", U"", 0, 1},
         {{Kind::Delete, 0, U"Old"}, {Kind::Insert, 0, U"New"}}},
        {"characters beyond ASCII count once",
         {U"Été\n", U"", 0},
         {U"Été\nÀ\n", U"", 0},
         {{Kind::Insert, 4, U"À\n"}, {Kind::CaretMoved, 6, {}}}},
        {"nothing changed", {U"Hi\n", U"a", 1}, {U"Hi\n", U"a", 1}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<TextEdit> edits = TerminalEdits(Text(c.before), Text(c.after));
        EXPECT_EQ(edits, c.edits);
        EXPECT_EQ(ApplyEdits(TerminalText(Text(c.before)), edits), TerminalText(Text(c.after)));
    }
}

TEST(ConsoleText, LineEditsTellTheEntrysOwnOffsets) {
    struct Case {
        Shown before;
        Shown after;
        std::vector<TextEdit> edits;
    };
    const Case cases[] = {
        {{U"Hi\n", U"", 0},
         {U"Hi\n", U"g", 1},
         {{Kind::Insert, 0, U"g"}, {Kind::CaretMoved, 1, {}}}},
        {{U"", U"go north", 8},
         {U"", U"go south", 8},
         {{Kind::Delete, 3, U"nor"}, {Kind::Insert, 3, U"sou"}}},
        {{U"", U"aa", 2}, {U"", U"aaa", 3}, {{Kind::Insert, 2, U"a"}, {Kind::CaretMoved, 3, {}}}},
        {{U"", U"ab", 9}, {U"Story\n", U"ab", 2}, {}},
    };
    for (const Case& c : cases) {
        const std::vector<TextEdit> edits = LineEdits(Text(c.before), Text(c.after));
        EXPECT_EQ(edits, c.edits) << Utf8FromUtf32(c.after.line);
        EXPECT_EQ(ApplyEdits(c.before.line, edits), c.after.line);
    }
}

TEST(ConsoleText, RowsAreFoundFromTheStorysEnd) {
    const std::u32string story = U"Old\n* * *\nab cd ef\n\nBig  gap\n";
    const struct {
        const char* name;
        std::vector<std::u32string> rows;
        std::vector<int> starts;
    } cases[] = {
        {"wrapped by word, across a blank line", {U"ab cd", U"ef", U"Big  gap"}, {10, 16, 20}},
        {"a row cut inside a run of spaces", {U"Big", U"gap"}, {20, 25}},
        {"rows from before a clear are left out", {U"Gone", U"ab cd ef", U"Big  gap"}, {10, 20}},
        {"no rows", {}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RowStarts(story, c.rows), c.starts) << c.name;
    }
}

TEST(ConsoleText, RangesFollowAtksBoundariesOverTheRowsShown) {
    // Paragraphs before the rows; rows "ab cd " and "ef\n"; then the typed line "> go".
    const ConsoleText console = Text({U"Old\nab cd ef\n", U"go", 2}, {4, 10});
    const std::u32string text = TerminalText(console);
    const std::vector<int> lines = TerminalLineStarts(console);
    struct Case {
        Boundary boundary;
        int offset;
        TextRange at;
        TextRange before;
        TextRange after;
    };
    const Case cases[] = {
        {Boundary::Character, 1, {1, 2}, {0, 1}, {2, 3}},
        {Boundary::WordStart, 8, {7, 10}, {4, 7}, {10, 13}},
        {Boundary::WordStart, 16, {15, 17}, {13, 15}, {17, 17}},  // no word after the last
        {Boundary::WordEnd, 5, {3, 6}, {0, 3}, {6, 9}},
        {Boundary::LineStart, 6, {4, 10}, {0, 4}, {10, 13}},
        {Boundary::LineStart, 11, {10, 13}, {4, 10}, {13, 17}},
        {Boundary::LineStart, 17, {13, 17}, {10, 13}, {17, 17}},
        {Boundary::LineEnd, 11, {9, 12}, {3, 9}, {12, 17}},
        {Boundary::LineStart, 40, {0, 0}, {0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.boundary) << " at " << c.offset);
        for (const auto& [found, expected] :
             {std::pair{RangeAt(text, lines, c.offset, c.boundary), c.at},
              std::pair{RangeBefore(text, lines, c.offset, c.boundary), c.before},
              std::pair{RangeAfter(text, lines, c.offset, c.boundary), c.after}}) {
            EXPECT_EQ(found.start, expected.start);
            EXPECT_EQ(found.end, expected.end);
        }
    }
    // Sentences are the story's paragraphs, whatever its rows.
    const TextRange paragraph = RangeAt(text, ParagraphStarts(text), 6, Boundary::LineStart);
    EXPECT_EQ(std::tie(paragraph.start, paragraph.end), std::make_tuple(4, 13));
}

TEST(ConsoleText, CharactersArePlacedWhereTheConsoleDrewThem) {
    // Log rows of 20 px from y 8, scrolled by 10; characters 10 px wide; the input row at 262.
    const ConsoleLayout layout{400, 300, 8, 8, 250, 20, 10, 10, 262, 30, 12, 266, 0, "", 0};
    const ConsoleText console = Text({U"Old\nab cd ef\n", U"go", 2}, {4, 10});
    const struct {
        int offset;
        bool entry;
        Box box;
        int x;  // a point inside the box finds the offset again
    } cases[] = {
        {5, false, {18, -2, 10, 20}, 25},    // row 0, scrolled up by 10
        {10, false, {8, 18, 10, 20}, 9},     // row 1 starts with "ef"
        {16, false, {22, 266, 10, 20}, 25},  // "o" of "> go", the prompt takes no room
        {1, true, {22, 266, 10, 20}, 25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset);
        const Box box = CharacterBox(console, layout, c.offset, c.entry);
        EXPECT_EQ(std::tie(box.x, box.y, box.width, box.height),
                  std::tie(c.box.x, c.box.y, c.box.width, c.box.height));
        EXPECT_EQ(OffsetAtPoint(console, layout, c.x, std::max(box.y, 8) + 1, c.entry), c.offset);
    }
    // Text the log no longer shows has no room; points off the text find nothing.
    EXPECT_EQ(CharacterBox(console, layout, 1, false).width, 0);
    EXPECT_EQ(OffsetAtPoint(console, layout, 9, 60, false), -1);
    EXPECT_EQ(OffsetAtPoint(console, layout, 9, 20, true), -1);
    EXPECT_EQ(OffsetAtPoint(console, layout, 300, 30, false), 12);  // past a row: its last
    // The terminal is the log, the entry the row below it.
    const Box terminal = TerminalBox(layout);
    const Box entry = EntryBox(layout);
    EXPECT_EQ(std::tie(terminal.y, terminal.height), std::make_tuple(0, 262));
    EXPECT_EQ(std::tie(entry.y, entry.height), std::make_tuple(262, 30));
}

TEST(KeyGate, AConsumedPressKeepsItsWholeStrokeFromTheGame) {
    using Action = KeyGate::Action;
    struct Step {
        int key;
        Action action;
        bool consumed;
        bool passes;
    };
    const std::vector<std::vector<Step>> strokes = {
        // Consumed press: its repeats and release stay away, consumed or not.
        {{1, Action::Press, true, false},
         {1, Action::Repeat, false, false},
         {1, Action::Release, false, false}},
        // The game saw the press: its release goes through even when consumed.
        {{2, Action::Press, false, true}, {2, Action::Release, true, true}},
        // A release the game never saw pressed goes by its own verdict.
        {{3, Action::Release, false, true}, {3, Action::Release, true, false}},
        // Keys are told apart; a key pressed again starts afresh.
        {{4, Action::Press, true, false},
         {5, Action::Press, false, true},
         {4, Action::Release, false, false},
         {4, Action::Press, false, true},
         {5, Action::Release, false, true},
         {4, Action::Release, false, true}},
        // A consumed press whose release never came: the next press starts afresh too.
        {{6, Action::Press, true, false},
         {6, Action::Press, false, true},
         {6, Action::Repeat, false, true},
         {6, Action::Release, false, true}},
    };
    for (std::size_t i = 0; i < strokes.size(); ++i) {
        KeyGate gate;
        for (const Step& step : strokes[i]) {
            EXPECT_EQ(gate.Pass(step.key, step.action, step.consumed), step.passes)
                << "stroke " << i << ", key " << step.key;
        }
    }
}

}  // namespace
