#include "app/access/console_text.h"

#include <gtest/gtest.h>

#include "app/access/key_gate.h"

namespace {

using Kind = TextEdit::Kind;

}  // namespace

void PrintTo(const TextEdit& edit, std::ostream* out) {
    *out << "{" << static_cast<int>(edit.kind) << ", " << edit.offset << ", \"" << ToUtf8(edit.text)
         << "\"}";
}

namespace {

TEST(ConsoleText, TerminalEditsTellEachChangeAndRebuildTheText) {
    struct Case {
        const char* name;
        ConsoleText before;
        ConsoleText after;
        std::vector<TextEdit> edits;
    };
    const Case cases[] = {
        {"a character typed",
         {U"Hi\n", U"lo", 2},
         {U"Hi\n", U"loo", 3},
         {{Kind::Insert, 5, U"o"}, {Kind::CaretMoved, 6, {}}}},
        {"a character deleted mid-line",
         {U"Hi\n", U"look", 2},
         {U"Hi\n", U"lok", 1},
         {{Kind::Delete, 5, U"o"}, {Kind::CaretMoved, 4, {}}}},
        {"the caret moved alone",
         {U"Hi\n", U"go", 2},
         {U"Hi\n", U"go", 0},
         {{Kind::CaretMoved, 3, {}}}},
        {"a timed text, nothing typed",
         {U"Hi\n", U"", 0},
         {U"Hi\nA bell.\n", U"", 0},
         {{Kind::Insert, 3, U"A bell.\n"}, {Kind::CaretMoved, 11, {}}}},
        {"a timed text while typing",
         {U"Hi\n", U"ju", 2},
         {U"Hi\nBoo.\n", U"ju", 2},
         {{Kind::Insert, 3, U"Boo.\n"}, {Kind::CaretMoved, 10, {}}}},
        {"Enter: the line goes, then its echo, then the reply",
         {U"Hi\n", U"look", 4},
         {U"Hi\n> look\nA room.\n", U"", 0},
         {{Kind::Delete, 3, U"look"},
          {Kind::Insert, 3, U"> look\n"},
          {Kind::Insert, 10, U"A room.\n"},
          {Kind::CaretMoved, 18, {}}}},
        {"a line recalled with a reply",
         {U"A\n", U"x", 1},
         {U"A\nB\n", U"yz", 2},
         {{Kind::Delete, 2, U"x"},
          {Kind::Insert, 2, U"B\n"},
          {Kind::Insert, 4, U"yz"},
          {Kind::CaretMoved, 6, {}}}},
        {"a story that did not grow is replaced",
         {U"Old\n", U"", 0},
         {U"New\n", U"", 0},
         {{Kind::Delete, 0, U"Old"}, {Kind::Insert, 0, U"New"}}},
        {"characters beyond ASCII count once",
         {U"Été\n", U"", 0},
         {U"Été\nÀ\n", U"", 0},
         {{Kind::Insert, 4, U"À\n"}, {Kind::CaretMoved, 6, {}}}},
        {"nothing changed", {U"Hi\n", U"a", 1}, {U"Hi\n", U"a", 1}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<TextEdit> edits = TerminalEdits(c.before, c.after);
        EXPECT_EQ(edits, c.edits);
        EXPECT_EQ(ApplyEdits(TerminalText(c.before), edits), TerminalText(c.after));
    }
}

TEST(ConsoleText, LineEditsTellTheEntrysOwnOffsets) {
    struct Case {
        ConsoleText before;
        ConsoleText after;
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
        const std::vector<TextEdit> edits = LineEdits(c.before, c.after);
        EXPECT_EQ(edits, c.edits) << ToUtf8(c.after.line);
        EXPECT_EQ(ApplyEdits(c.before.line, edits), c.after.line);
    }
}

TEST(ConsoleText, RangesFollowAtksBoundaries) {
    const std::u32string text = U"ab cd\nef\n";
    struct Case {
        Boundary boundary;
        int offset;
        TextRange at;
        TextRange before;
        TextRange after;
    };
    const Case cases[] = {
        {Boundary::Character, 1, {1, 2}, {0, 1}, {2, 3}},
        {Boundary::WordStart, 4, {3, 6}, {0, 3}, {6, 9}},
        {Boundary::WordEnd, 1, {0, 2}, {0, 0}, {2, 5}},
        {Boundary::LineStart, 4, {0, 6}, {0, 0}, {6, 9}},
        {Boundary::LineStart, 7, {6, 9}, {0, 6}, {9, 9}},
        {Boundary::LineStart, 9, {9, 9}, {6, 9}, {9, 9}},
        {Boundary::LineEnd, 7, {5, 8}, {0, 5}, {8, 9}},
        {Boundary::LineStart, 12, {0, 0}, {0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.boundary) << " at " << c.offset);
        for (const auto& [found, expected] :
             {std::pair{RangeAt(text, c.offset, c.boundary), c.at},
              std::pair{RangeBefore(text, c.offset, c.boundary), c.before},
              std::pair{RangeAfter(text, c.offset, c.boundary), c.after}}) {
            EXPECT_EQ(found.start, expected.start);
            EXPECT_EQ(found.end, expected.end);
        }
    }
}

TEST(ConsoleText, GridStacksWrappedLinesUpFromTheLast) {
    const TextGrid grid(U"abcdef\ngh\n", 4);  // rows: "abcd", "ef", "gh", and the empty end
    const std::pair<int, TextGrid::Cell> cases[] = {
        {0, {3, 0}}, {3, {3, 3}}, {4, {2, 0}}, {6, {2, 2}}, {8, {1, 1}}, {10, {0, 0}}, {-5, {3, 0}},
    };
    for (const auto& [offset, cell] : cases) {
        EXPECT_EQ(grid.CellOf(offset).rowFromEnd, cell.rowFromEnd) << offset;
        EXPECT_EQ(grid.CellOf(offset).column, cell.column) << offset;
    }
}

TEST(ConsoleText, Utf8BadBytesReadAsReplacementCharacters) {
    const std::pair<std::string, std::u32string> cases[] = {
        {"Vosk", U"Vosk"},       {"caf\xC3\xA9 \xF0\x9F\x94\x94", U"café 🔔"},
        {"a\x80z", U"a\uFFFDz"}, {"cut \xE2\x82", U"cut \uFFFD"},
        {"\xC3(", U"\uFFFD("},
    };
    for (const auto& [utf8, characters] : cases) {
        EXPECT_EQ(FromUtf8(utf8), characters) << utf8;
    }
    EXPECT_EQ(ToUtf8(U"café 🔔"), "caf\xC3\xA9 \xF0\x9F\x94\x94");
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
