// Typed lines as the game receives them, from any bytes a terminal or a pipe delivers.

#include <gtest/gtest.h>

#include <string>

#include "session/input_line.h"

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

struct CleanCase {
    const char* what;
    std::string raw;
    std::string expected;
};

}  // namespace

TEST(CleanInputLine, HoldsWhatTheInputFieldWouldHold) {
    const CleanCase cases[] = {
        {"plain text", "look around", "look around"},
        {"capitals, spaces and markup as typed", "  Look <a>AROUND</>  ", "  Look <a>AROUND</>  "},
        {"exactly 31 bytes", std::string(31, 'x'), std::string(31, 'x')},
        {"cut at 31 bytes", std::string(40, 'x'), std::string(31, 'x')},
        {"a character is never split", Repeat("\xC3\xA9", 16), Repeat("\xC3\xA9", 15)},
        {"the rest ignored once a character does not fit", std::string(30, 'x') + "\xC3\xA9" + "y",
         std::string(30, 'x')},
        {"control bytes dropped", std::string("lo\0o\tk\r\x1b\x7f", 9), "look"},
        {"an escape sequence loses its escape", "\x1b[31mred", "[31mred"},
        {"C1 controls dropped",
         "a\xC2\x9B"
         "b",
         "ab"},
        {"a byte that is no UTF-8",
         "a\xFF"
         "b",
         "a" + kReplacement + "b"},
        {"a lone continuation byte", "\x80", kReplacement},
        {"a sequence cut short by plain text",
         "\xC3"
         "a",
         kReplacement + "a"},
        {"a sequence cut short by the end, one mark", "a\xE2\x82", "a" + kReplacement},
        {"an overlong form, one for each byte", "\xE0\x80\xAF", Repeat(kReplacement, 3)},
        {"invalid lead bytes", "\xC0\xAF", kReplacement + kReplacement},
        {"a surrogate", "\xED\xA0\x80", Repeat(kReplacement, 3)},
        {"beyond Unicode", "\xF4\x90\x80\x80", Repeat(kReplacement, 4)},
        {"four-byte characters kept", "\xF0\x9F\x94\x91 key", "\xF0\x9F\x94\x91 key"},
        {"private-use characters dropped",
         "a\xEE\x80\x80"
         "b",
         "ab"},
        {"binary noise fills up with replacements", std::string(100, '\xFF'),
         Repeat(kReplacement, 10)},
        {"nothing but controls", std::string("\0\x01\x02", 3), ""},
    };
    for (const CleanCase& c : cases) {
        const std::string cleaned = CleanInputLine(c.raw);
        EXPECT_EQ(cleaned, c.expected) << c.what;
        EXPECT_LE(cleaned.size(), 31u) << c.what;
    }
}

TEST(InputLineReader, SplitsAtNewlinesAcrossReads) {
    InputLineReader reader;
    reader.Feed("i und");
    EXPECT_FALSE(reader.HasLine());
    reader.Feed("erstand\nye");
    reader.Feed("s\r\n\n");
    ASSERT_EQ(reader.Pending(), 3u);
    EXPECT_EQ(reader.Next(), "i understand");
    EXPECT_EQ(reader.Next(), "yes");  // a carriage return before the newline is dropped
    EXPECT_EQ(reader.Next(), "");     // the caller decides what an empty line means
    EXPECT_FALSE(reader.HasLine());
}

TEST(InputLineReader, KeepsACharacterSplitBetweenReads) {
    InputLineReader reader;
    reader.Feed("caf\xC3");
    reader.Feed("\xA9\n");
    ASSERT_TRUE(reader.HasLine());
    EXPECT_EQ(reader.Next(), "caf\xC3\xA9");
}

TEST(InputLineReader, CountsALastLineWithoutNewlineAtTheEnd) {
    InputLineReader reader;
    reader.Feed("yes\nlook");
    EXPECT_EQ(reader.Pending(), 1u);
    reader.Finish();
    ASSERT_EQ(reader.Pending(), 2u);
    EXPECT_EQ(reader.Next(), "yes");
    EXPECT_EQ(reader.Next(), "look");

    reader.Feed("done\n");
    reader.Finish();  // nothing was left unfinished
    EXPECT_EQ(reader.Pending(), 1u);
}

TEST(InputLineReader, IgnoresTheRestOfAVeryLongLine) {
    InputLineReader reader;
    const std::string chunk(4096, 'x');
    for (int i = 0; i < 256; ++i) reader.Feed(chunk);  // one megabyte without a newline
    reader.Feed("\nlook\n");
    ASSERT_EQ(reader.Pending(), 2u);
    EXPECT_EQ(reader.Next(), std::string(31, 'x'));
    EXPECT_EQ(reader.Next(), "look");
}
