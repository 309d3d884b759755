// How a screen reader's ranges over the story move, as UI Automation's text pattern asks.

#include "app/access/text_units.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/access/console_text.h"
#include "session/story_record.h"

void PrintTo(const RangeSpan& span, std::ostream* out) {
    *out << "[" << span.start << ", " << span.end << ")";
}

namespace {

// Words: "One " "two\n" "three\n\n" "four"; paragraphs: "One two\n" "three\n" "\n" "four".
const std::u16string kStory = u"One two\nthree\n\nfour";
// A character outside the BMP: a surrogate pair at 1 and 2.
const std::u16string kPair = u"a\U0001F600b";

constexpr TextUnit kChar = TextUnit::kCharacter;
constexpr TextUnit kWord = TextUnit::kWord;
constexpr TextUnit kParagraph = TextUnit::kParagraph;
constexpr RangeEndpoint kStart = RangeEndpoint::kStart;
constexpr RangeEndpoint kEnd = RangeEndpoint::kEnd;

enum class Op { kExpand, kMove, kMoveStart, kMoveEnd };

TEST(TextUnits, RangesMoveByUnits) {
    const struct {
        const std::u16string& text;
        RangeSpan span;
        Op op;
        TextUnit unit;
        int count;
        RangeSpan expected;
        int moved;
    } cases[] = {
        {kStory, {5, 5}, Op::kExpand, kWord, 0, {4, 8}, 0},
        {kStory, {4, 4}, Op::kExpand, kWord, 0, {4, 8}, 0},
        {kStory, {5, 12}, Op::kExpand, kWord, 0, {4, 8}, 0},     // longer: the start's unit
        {kStory, {19, 19}, Op::kExpand, kWord, 0, {15, 19}, 0},  // the end: the last unit
        {kStory, {10, 10}, Op::kExpand, TextUnit::kLine, 0, {8, 14}, 0},
        {kStory, {14, 14}, Op::kExpand, kParagraph, 0, {14, 15}, 0},
        {kStory, {2, 2}, Op::kExpand, TextUnit::kFormat, 0, {0, 4}, 0},
        {kStory, {5, 9}, Op::kExpand, TextUnit::kPage, 0, {0, 19}, 0},
        {kStory, {3, 3}, Op::kExpand, kChar, 0, {3, 4}, 0},
        {kPair, {2, 2}, Op::kExpand, kChar, 0, {1, 3}, 0},
        {kStory, {5, 5}, Op::kMove, kWord, 1, {8, 8}, 1},  // a caret stays empty
        {kStory, {5, 5}, Op::kMove, kWord, -1, {4, 4}, -1},
        {kStory, {5, 5}, Op::kMove, kWord, 10, {19, 19}, 3},
        {kPair, {0, 0}, Op::kMove, kChar, 2, {3, 3}, 2},
        {kStory, {3, 3}, Op::kMove, TextUnit::kDocument, 1, {19, 19}, 1},
        {kStory, {5, 6}, Op::kMove, kWord, 1, {8, 15}, 1},  // a range spans one whole unit
        {kStory, {5, 6}, Op::kMove, kWord, -1, {0, 4}, -1},
        {kStory, {15, 19}, Op::kMove, kWord, 1, {15, 19}, 0},  // never past the last
        {kStory, {0, 3}, Op::kMove, kParagraph, 2, {14, 15}, 2},
        {kStory, {0, 3}, Op::kMove, kParagraph, -1, {0, 8}, 0},
        {kStory, {0, 19}, Op::kMove, TextUnit::kDocument, 1, {0, 19}, 0},
        {kStory, {4, 8}, Op::kMoveEnd, kWord, 1, {4, 15}, 1},
        {kStory, {4, 8}, Op::kMoveStart, kWord, 2, {15, 15}, 2},  // takes the end along
        {kStory, {4, 8}, Op::kMoveEnd, kParagraph, -1, {0, 0}, -1},
        {kStory, {4, 8}, Op::kMoveStart, kChar, -10, {0, 8}, -4},
        {kStory, {19, 19}, Op::kMoveEnd, kWord, 1, {19, 19}, 0},
        {kStory, {12, 40}, Op::kMoveEnd, kChar, 0, {12, 19}, 0},  // clamped to the text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "from [" << c.span.start << ", " << c.span.end << ") op "
                                        << static_cast<int>(c.op) << " unit "
                                        << static_cast<int>(c.unit) << " by " << c.count);
        const TextUnits units(c.text);
        RangeSpan span = c.span;
        int moved = 0;
        if (c.op == Op::kExpand) span = units.Enclosing(span, c.unit);
        if (c.op == Op::kMove) moved = units.Move(span, c.unit, c.count);
        if (c.op == Op::kMoveStart) moved = units.MoveEndpoint(span, kStart, c.unit, c.count);
        if (c.op == Op::kMoveEnd) moved = units.MoveEndpoint(span, kEnd, c.unit, c.count);
        EXPECT_EQ(span, c.expected);
        EXPECT_EQ(moved, c.moved);
    }
}

TEST(TextUnits, TextAndFind) {
    const TextUnits units(kStory);
    EXPECT_EQ(units.Text({4, 15}, -1), u"two\nthree\n\n");
    EXPECT_EQ(units.Text({4, 15}, 3), u"two");
    const struct {
        const char16_t* needle;
        bool backward;
        bool ignoreCase;
        std::optional<RangeSpan> found;
    } cases[] = {
        {u"o", false, false, RangeSpan{6, 7}},      {u"o", false, true, RangeSpan{0, 1}},
        {u"o", true, false, RangeSpan{16, 17}},     {u"TWO\nT", false, true, RangeSpan{4, 9}},
        {u"zz", false, true, std::nullopt},         {u"", false, false, std::nullopt},
        {u"four", false, false, RangeSpan{15, 19}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "finding " << testing::PrintToString(c.needle));
        EXPECT_EQ(units.Find({0, 19}, c.needle, c.backward, c.ignoreCase), c.found);
    }
    EXPECT_EQ(units.Find({7, 19}, u"two", false, false), std::nullopt);         // only inside
    EXPECT_EQ(units.Find({15, 19}, u"FOUR", true, true), (RangeSpan{15, 19}));  // the whole range
}

// The program's one decoder, which every reader of the story shares.
TEST(OneStory, BadSequencesReadAsReplacements) {
    const std::pair<std::string, std::u32string> cases[] = {
        {"caf\xC3\xA9 \xF0\x9F\x94\x94", U"café 🔔"},
        {"a\x80z", U"a\uFFFDz"},
        {"cut \xE2\x82", U"cut \uFFFD"},  // a character cut short: one mark
        {"\xC3(", U"\uFFFD("},
        {"\xC0\xAF|\xED\xA0\x80|\xF4\x90\x80\x80|\xFF",
         U"\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD\uFFFD|\uFFFD"},
    };
    for (const auto& [utf8, characters] : cases) {
        EXPECT_EQ(Utf32FromUtf8(utf8), characters) << utf8;
    }
    EXPECT_EQ(Utf16FromUtf8("T\xC3\xA4rnwick \xF0\x9F\x98\x80"), u"Tärnwick \U0001F600");
}

// The screen readers of both systems read the same story: ATK counts code points, UI Automation
// UTF-16 units, and both find the same characters and the same words in it.
TEST(OneStory, AtkAndUiaCountTheSameCharactersAndWords) {
    const struct {
        const char* name;
        std::string story;
        int characters;
        std::vector<int> wordStarts;  // in characters
    } cases[] = {
        {"plain lines", "One two\nthree", 13, {0, 4, 8}},
        {"beyond the BMP", "T\xC3\xA4r \xF0\x9F\x94\x94 x", 7, {0, 4, 6}},
        {"broken bytes", "a\xE2\x82 b\xC0\xAF", 6, {0, 3}},
        {"tabs, no-break spaces, CR LF", u8"a\u00A0b\tc\r\nd", 8, {0, 2, 4, 7}},
        {"the log emptied between, not read",
         std::string("Old\n") + kSeparator + "New\n",
         8,
         {0, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoryModel model;
        model.Update(c.story);
        const std::u32string& atk = *model.Characters();
        std::vector<int> atkWords;
        for (int at = 0, next = 0; at < static_cast<int>(atk.size()); at = next) {
            atkWords.push_back(RangeAt(atk, {0}, at, Boundary::WordStart).start);
            next = RangeAfter(atk, {0}, at, Boundary::WordStart).start;
            if (next <= at) break;
        }
        StoryDocument document;
        document.Update(c.story);
        const TextUnits uia(document.Text());
        RangeSpan caret{0, 0};
        const int uiaCharacters = uia.Move(caret, kChar, 1000);
        std::vector<int> uiaWords{0};
        for (caret = {0, 0}; uia.Move(caret, kWord, 1) == 1 && caret.start < uia.Length();) {
            RangeSpan before{0, caret.start};
            uiaWords.push_back(uia.MoveEndpoint(before, kEnd, kChar, -1000) * -1);
        }
        EXPECT_EQ(static_cast<int>(atk.size()), c.characters);
        EXPECT_EQ(uiaCharacters, c.characters);
        EXPECT_EQ(atkWords, c.wordStarts);
        EXPECT_EQ(uiaWords, c.wordStarts);
    }
}

TEST(StoryDocument, ConvertsWhatTheStoryGained) {
    StoryDocument document;
    EXPECT_TRUE(document.Update("> go\n"));
    EXPECT_FALSE(document.Update("> go\n"));
    EXPECT_TRUE(document.Update("> go\nThe gate, é.\n"));
    EXPECT_EQ(document.Text(), u"> go\nThe gate, é.\n");
    EXPECT_TRUE(document.Update("New\n"));  // not grown from the last: a story of its own
    EXPECT_EQ(document.Text(), u"New\n");
}

}  // namespace
