#include "console/markup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console.h"

// Shows spans as 'text'/letter in failure messages.
void PrintTo(const TextSpan& span, std::ostream* out) {
    *out << "'" << span.text << "'/" << static_cast<char>(span.style);
}

namespace {

using Lines = std::vector<std::string>;
using Spans = std::vector<TextSpan>;

constexpr const char* kRedButtonText =
    "Clever girl... <a>push</> the big <i>red button</> to complete this intro and get down to "
    "business.";

TextSpan Span(const std::string& text, SpanStyle style) {
    return {text, style};
}
TextSpan Span(const std::string& text, char letter) {
    return {text, static_cast<SpanStyle>(letter)};
}

}  // namespace

TEST(SplitLines, CutsAtEveryNewline) {
    const struct {
        std::string text;
        Lines pieces;
    } cases[] = {
        {"", {""}},
        {"abc\n", {"abc", ""}},
        {"\n", {"", ""}},
        {"a\n\nb", {"a", "", "b"}},
        {"one line", {"one line"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.pieces) << c.text;
}

TEST(WrapText, BreaksAtSpacesAllowingForTags) {
    const struct {
        std::string text;
        int width;
        Lines lines;
    } cases[] = {
        {kRedButtonText,
         40,
         {"Clever girl... <a>push</> the big <i>red", "button</> to complete this intro and get",
          "down to business."}},
        {kRedButtonText,
         30,
         {"Clever girl... <a>push</> the big", "<i>red button</> to complete this",
          "intro and get down to", "business."}},
        // The closing tag lies outside the first window, so only one tag is allowed for.
        {"abc <h>defgh</> ij", 10, {"abc", "<h>defgh</>", "ij"}},
        {"<s>look around the room</>", 20, {"<s>look around the", "room</>"}},
        {"fits exactly", 12, {"fits exactly"}},
        {"a\n\nb", 10, {"a", "", "b"}},
        // A negative width never wraps.
        {"a long line that would otherwise wrap", -1, {"a long line that would otherwise wrap"}},
        {"", 0, {""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WrapText(c.text, c.width), c.lines) << c.text << " at " << c.width;
    }
}

TEST(WrapText, CutsWordsThatCannotBreakAtASpace) {
    const struct {
        std::string text;
        int width;
        Lines lines;
    } cases[] = {
        {"abcdefghij", 4, {"abcd", "efgh", "ij"}},
        {"hello world", 0, {"h", "e", "l", "l", "o", "", "w", "o", "r", "l", "d"}},
        {"ab cdefghijkl", 4, {"ab", "cdef", "ghij", "kl"}},
        // Never inside a tag: the cut moves to the tag's start ...
        {"abc<a>defgh", 4, {"abc", "<a>d", "efgh"}},
        // ... or past the tag when it starts the line.
        {"<a>bcdefgh", 2, {"<a>", "bc", "de", "fg", "h"}},
        // Never inside a UTF-8 sequence: "é" is two bytes.
        {"abc\xC3\xA9z", 4, {"abc", "\xC3\xA9z"}},
        {"\xC3\xA9\xC3\xA9", 1, {"\xC3\xA9", "\xC3\xA9"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WrapText(c.text, c.width), c.lines) << c.text << " at " << c.width;
    }
}

TEST(WrapText, TerminatesAndKeepsEveryVisibleByteAtAnyWidth) {
    const std::string text = std::string(kRedButtonText) + " averyveryverylongwordwithoutbreaks " +
                             "<h>x</> \xE2\x82\xAC\xE2\x82\xAC <<a>> end  ";
    for (int width = -2; width <= 60; ++width) {
        std::string joined;
        for (const std::string& line : WrapText(text, width)) joined += line;
        std::string withoutSpaces;
        for (char byte : text) {
            if (byte != ' ') withoutSpaces += byte;
        }
        std::string joinedWithoutSpaces;
        for (char byte : joined) {
            if (byte != ' ') joinedWithoutSpaces += byte;
        }
        EXPECT_EQ(joinedWithoutSpaces, withoutSpaces) << "width " << width;
    }
}

TEST(RawWindowLength, AllowsThreeBytesPerTagInTheWindow) {
    const std::string text = kRedButtonText;
    EXPECT_EQ(RawWindowLength(text, 0, 40), 49u);  // "<a>", "</>" and "<i>" lie in the window
    EXPECT_EQ(RawWindowLength(text, 0, 10), 10u);
    EXPECT_EQ(RawWindowLength(text, text.size(), 10), 0u);
    EXPECT_EQ(RawWindowLength("<a>", 0, 10), 6u);  // the tag ends the string
}

TEST(FindTag, SkipsALessThanThatOpensNoTag) {
    const struct {
        std::string text;
        std::size_t from;
        std::size_t end;
        std::optional<std::size_t> tag;
    } cases[] = {
        {"x<a>y", 0, std::string::npos, 1},
        {"<<a>", 0, std::string::npos, std::nullopt},
        {"a < b", 0, std::string::npos, std::nullopt},
        {"ab<", 0, std::string::npos, std::nullopt},
        {"x<a>y", 2, std::string::npos, std::nullopt},
        {"x<a>y", 0, 3, std::nullopt},  // the tag's '>' lies at the end bound
        {"x<a>y", 0, 4, 1},
        {"< x <i>", 0, std::string::npos, 4},
        {"", 0, std::string::npos, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindTag(c.text, c.from, c.end), c.tag) << c.text << " from " << c.from;
    }
}

TEST(ParseMarkup, SplitsAtTagsAndCarriesTheStyle) {
    const struct {
        std::string line;
        SpanStyle startStyle;
        Spans spans;
        SpanStyle endStyle;
    } cases[] = {
        {"", SpanStyle::Hint, {}, SpanStyle::Hint},
        {"<a>", SpanStyle::Plain, {Span("", SpanStyle::Plain)}, SpanStyle::Action},
        {"x<a><h>y</>",
         SpanStyle::Plain,
         {Span("x", SpanStyle::Plain), Span("", SpanStyle::Action), Span("y", SpanStyle::Hint)},
         SpanStyle::Plain},
        {"<<a>x", SpanStyle::Plain, {Span("<<a>x", SpanStyle::Plain)}, SpanStyle::Plain},
        {"a < b", SpanStyle::Plain, {Span("a < b", SpanStyle::Plain)}, SpanStyle::Plain},
        {"<b>bold</>",
         SpanStyle::Plain,
         {Span("", SpanStyle::Plain), Span("bold", 'b')},
         SpanStyle::Plain},
        {"button</> to",
         SpanStyle::Interactable,
         {Span("button", SpanStyle::Interactable), Span(" to", SpanStyle::Plain)},
         SpanStyle::Plain},
    };
    for (const auto& c : cases) {
        SpanStyle style = c.startStyle;
        EXPECT_EQ(ParseMarkup(c.line, style), c.spans) << c.line;
        EXPECT_EQ(style, c.endStyle) << c.line;
    }
}

TEST(AddText, LaysOutTheRedButtonTextInColouredSpans) {
    Console console;
    console.wrapWidth = 40;
    console.AddText(kRedButtonText);
    ASSERT_EQ(console.lines().size(), 3u);
    EXPECT_EQ(console.lines()[0],
              (Spans{Span("Clever girl... ", SpanStyle::Plain), Span("push", SpanStyle::Action),
                     Span(" the big ", SpanStyle::Plain), Span("red", SpanStyle::Interactable)}));
    EXPECT_EQ(console.lines()[1],
              (Spans{Span("button", SpanStyle::Interactable),
                     Span(" to complete this intro and get", SpanStyle::Plain)}));
    EXPECT_EQ(console.lines()[2], (Spans{Span("down to business.", SpanStyle::Plain)}));
    EXPECT_TRUE(console.scrollToBottom);

    Console narrow;
    narrow.wrapWidth = 30;
    narrow.AddText(kRedButtonText);
    ASSERT_EQ(narrow.lines().size(), 4u);
    EXPECT_EQ(narrow.lines()[1],
              (Spans{Span("", SpanStyle::Plain), Span("red button", SpanStyle::Interactable),
                     Span(" to complete this", SpanStyle::Plain)}));
}

TEST(AddText, StartsEveryTextPlainAndKeepsTheStyleAcrossItsOwnLines) {
    Console console;
    console.wrapWidth = 20;
    console.AddText("<s>look around the room</>");
    console.AddText("<a>left open\nstill action");
    console.AddText("plain again");
    ASSERT_EQ(console.lines().size(), 5u);
    // No span follows a tag that ends the line.
    EXPECT_EQ(console.lines()[1], (Spans{Span("room", SpanStyle::Echo)}));
    EXPECT_EQ(console.lines()[3], (Spans{Span("still action", SpanStyle::Action)}));
    EXPECT_EQ(console.lines()[4], (Spans{Span("plain again", SpanStyle::Plain)}));
}

TEST(AddText, EmptyTextsAddLinesThatShowNothing) {
    Console console;
    console.wrapWidth = 40;
    console.AddText("");
    ASSERT_EQ(console.lines().size(), 1u);
    EXPECT_TRUE(console.lines()[0].empty());
    EXPECT_TRUE(console.scrollToBottom);

    console.AddText("a\n\nb");
    ASSERT_EQ(console.lines().size(), 4u);
    EXPECT_TRUE(console.lines()[2].empty());
}

TEST(Rewrap, ReproducesATextAddedBeforeTheWindowWasMeasured) {
    Console console;  // not measured yet
    console.AddText(kRedButtonText);
    const std::vector<ConsoleLine> before = console.lines();
    console.Rewrap();
    EXPECT_EQ(console.lines(), before);

    console.wrapWidth = 40;
    console.Rewrap();
    EXPECT_EQ(console.lines().size(), 3u);
}

TEST(Clear, EmptiesTheLogOnly) {
    Console console;
    console.wrapWidth = 40;
    console.AddText("something");
    console.inputBuffer[0] = 'x';
    console.Clear();
    EXPECT_TRUE(console.lines().empty());
    EXPECT_EQ(console.wrapWidth, 40);
    EXPECT_EQ(console.inputBuffer[0], 'x');
    EXPECT_TRUE(console.scrollToBottom);
}

TEST(StyleColour, GivesEachStyleItsColour) {
    const struct {
        char letter;
        StyleRgb rgb;
    } cases[] = {
        {'/', palette::kPlain},        {'a', palette::kAction}, {'h', palette::kHint},
        {'i', palette::kInteractable}, {'s', palette::kEcho},   {'p', palette::kPurple},
        {'b', palette::kPlain},        {'\0', palette::kPlain},
    };
    for (const auto& c : cases) {
        const StyleRgb colour = StyleColour(static_cast<SpanStyle>(c.letter));
        EXPECT_EQ(colour.red, c.rgb.red) << c.letter;
        EXPECT_EQ(colour.green, c.rgb.green) << c.letter;
        EXPECT_EQ(colour.blue, c.rgb.blue) << c.letter;
    }
}
