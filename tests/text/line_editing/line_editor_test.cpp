// The line editor without a terminal: bytes as a terminal sends them for key presses, decoded
// and applied to the line.

#include "text/line_editing/line_editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "session/input_line.h"
#include "text/line_editing/key_decoder.h"

namespace {

struct Typed {
    std::string text;
    std::size_t cursor = 0;
    int refused = 0;
    std::vector<std::string> submitted;
    bool ended = false;
    bool interrupted = false;
};

// Stands for a pause in typing, long enough for a lone Escape.
constexpr char kPause = '\0';

// Types `bytes` into a new editor, in one read or one byte per read, pausing at each kPause.
Typed Type(const std::string& bytes, bool byteByByte) {
    KeyDecoder decoder;
    LineEditor editor;
    Typed typed;
    KeyDecoder::Clock::time_point now;
    for (std::size_t at = 0, end = 0; at < bytes.size(); at = end) {
        if (bytes[at] == kPause) {
            decoder.Pause(now += std::chrono::seconds(2));
            end = at + 1;
            continue;
        }
        end = byteByByte ? at + 1 : std::min(bytes.find(kPause, at), bytes.size());
        for (const Key& key : decoder.Feed(bytes.substr(at, end - at), now)) {
            const EditResult result = editor.Apply(key);
            typed.refused += result.refused ? 1 : 0;
            if (result.submitted) typed.submitted.push_back(result.line);
            typed.ended = typed.ended || result.endOfInput;
            typed.interrupted = typed.interrupted || result.interrupt;
        }
    }
    typed.text = editor.text();
    typed.cursor = editor.cursor();
    return typed;
}

struct EditCase {
    const char* what;
    std::string keys;
    std::string text;
    std::size_t cursor;
    int refused = 0;
};

const std::string kLeft = "\x1b[D";
const std::string kUp = "\x1b[A";
const std::string kDown = "\x1b[B";
const std::string kPauseText(1, kPause);

}  // namespace

TEST(LineEditor, EditsAsAShellDoes) {
    const std::string x30(30, 'x');
    const EditCase cases[] = {
        {"typing", "look", "look", 4},
        {"inserting after Left", "lok" + kLeft + "o", "look", 3},
        {"Ctrl-B, Ctrl-F", "lk\x02\x02\x06o", "lok", 2},
        {"Home and End, xterm", "ook\x1b[Hl\x1b[F!", "look!", 5},
        {"Home and End, keypad", "ook\x1bOHl\x1bOF!", "look!", 5},
        {"Home and End, VT220", "ook\x1b[1~l\x1b[4~!", "look!", 5},
        {"Ctrl-A, Ctrl-E", "ook\x01l\x05!", "look!", 5},
        {"Backspace, both codes", "lookkk\x7f\x08", "look", 4},
        {"Delete", "look\x01\x1b[3~", "ook", 0},
        {"Ctrl-D on a line deletes", "look\x01\x04", "ook", 0},
        {"Ctrl-U", "look around\x01\x06\x06\x06\x06\x15", " around", 0},
        {"Ctrl-K", "take key\x01\x06\x06\x06\x06\x0b", "take", 4},
        {"Ctrl-W with spaces", "open the drawer  \x17", "open the ", 9},
        {"Ctrl-W twice", "open the drawer\x17\x17", "open ", 5},
        {"moving over a whole character", "caf\xC3\xA9" + kLeft + kLeft + "!", "ca!f\xC3\xA9", 3},
        {"Backspace takes a whole character", "caf\xC3\xA9\x7f", "caf", 3},
        {"Left at the start stays", kLeft + "a", "a", 1},
        {"a modifier on an arrow", "ab\x1b[1;5Dc", "acb", 2},
        {"unknown sequences swallowed", "a\x1b[15~\x1b[1;5P\x1bOPb", "ab", 2},
        {"lone Escapes, then text and [", "\x1b" + kPauseText + "Open \x1b" + kPauseText + "[door",
         "Open [door", 10},
        {"Escape and O with no pause: SS3", "\x1bOpen", "en", 2},
        {"Linux F1 and F5, many parameters, intermediates",
         "a\x1b[[Ab\x1b[[E\x1b[" + std::string(40, '9') + ";1;2;3~c\x1b[?1;2c\x1b[2 q\x1b[2;1$yd",
         "abcd", 4},
        {"rxvt's shifted keys", "ab\x1b[7$c\x1b[8^", "cab", 3},
        {"OSC to BEL; OSC, DCS, APC, PM to ST",
         "a\x1b]11;rgb:0/0/0\007b\x1b]0;x\x1b\\\x1bP1$r0m\x1b\\\x1b_Gi=1\x1b\\\x1b^p\x1b\\c", "abc",
         3},
        {"Alt-b, Alt-f", "open the door\033b\033bX\033f!", "open Xthe! door", 10},
        {"Alt-d, Alt-Backspace", "open the door\x01\033d\x05\x1b\x7f", " the ", 5},
        {"other Alt keys", "a\x1bx\x1b\xC3\xA9\x1b\rb", "ab", 2},
        {"Alt with an arrow: ESC ESC [ D", "ab\x1b\x1b[Dc", "acb", 2},
        {"a paste is text", "\x1b[200~a\x03\x04\x1b[A\033b\t\xC3\xA9\x1b[201~", "a\xC3\xA9", 3},
        {"Tab and other controls ignored", "a\tb\x1f", "ab", 2},
        {"a byte that is no UTF-8", "a\xFF", "a\xEF\xBF\xBD", 4},
        {"a character cut short", "\xC3z", "\xEF\xBF\xBDz", 4},
        {"31 bytes fit", x30 + "y", x30 + "y", 31},
        {"the 32nd is refused", x30 + "yz!", x30 + "y", 31, 2},
        {"never half a character", x30 + "\xC3\xA9", x30, 30, 1},
        {"refused in the middle too", x30 + "y\x01z", x30 + "y", 0, 1},
        {"history: older, newer, the draft", "one\rtwo\rdra" + kUp + kUp + kUp + kDown, "two", 3},
        {"history: back to the draft", "one\rdra" + kUp + kDown, "dra", 3},
        {"history: Ctrl-P, Ctrl-N", "one\rtwo\rx\x10\x10\x0e\x10", "one", 3},
    };
    for (const EditCase& c : cases) {
        for (bool byteByByte : {false, true}) {
            const Typed typed = Type(c.keys, byteByByte);
            EXPECT_EQ(typed.text, c.text) << c.what << (byteByByte ? ", byte by byte" : "");
            EXPECT_EQ(typed.cursor, c.cursor) << c.what;
            EXPECT_EQ(typed.refused, c.refused) << c.what;
        }
    }
}

TEST(LineEditor, EndsWhatIsUnfinishedAtAPauseAndTypesNoneOfIt) {
    const std::string longString = "\x1b]" + std::string(KeyDecoder::kLongestString, 'x');
    const struct {
        const char* what;
        std::vector<std::pair<int, std::string>> chunks;  // milliseconds after the last, bytes
        std::string text;
    } cases[] = {
        {"Escape, then b within 50 ms: Alt-b", {{0, "ab\x1b"}, {49, "bX"}}, "Xab"},
        {"Escape, 50 ms, then b", {{0, "ab\x1b"}, {50, "bX"}}, "abbX"},
        {"Escape, a second, then b", {{0, "ab\x1b"}, {1000, "bX"}}, "abbX"},
        {"Escape and b in one read, a second on", {{0, "ab"}, {1000, "\033bX"}}, "Xab"},
        {"Escapes, a second, then [ and ]", {{0, "a\x1b"}, {1000, "[\x1b"}, {1000, "]b"}}, "a[]b"},
        {"Alt-_ until 50 ms pass", {{0, "a\x1b_"}, {49, "b"}, {49, "c"}, {50, "d"}}, "ad"},
        {"ST cut by a pause", {{0, "a\x1b]0;t\x1b"}, {50, "\\b"}}, "a\\b"},
        {"a string at its longest", {{0, "a" + longString + "bc"}}, "abc"},
        {"an arrow split by a slow link", {{0, "ab\x1b"}, {49, "[1;"}, {299, "5DX"}}, "aXb"},
        {"an arrow cut short", {{0, "ab\x1b[1;"}, {300, "5DX"}}, "ab5DX"},
        {"SS3, a character, split", {{0, "z\x1bO"}, {299, "Ha\xC3"}, {299, "\xA9"}}, "a\xC3\xA9z"},
        {"a character cut short", {{0, "\xC3"}, {300, "\xA9"}}, "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"a paste ending late", {{0, "\x1b[200~a\x1b"}, {999, "[20"}, {999, "1~\x01X"}}, "Xa"},
        {"a paste never ending", {{0, "\x1b[200~ab"}, {999, "c\x1b[20"}, {1000, "\x01X"}}, "Xabc"},
    };
    // Each case twice: the second time, as a late loop does, with no Pause before the bytes.
    for (std::size_t run = 0; run < 2 * std::size(cases); ++run) {
        const auto& c = cases[run / 2];
        const bool late = run % 2 == 1;
        KeyDecoder decoder;
        LineEditor editor;
        KeyDecoder::Clock::time_point now;
        for (const auto& [millis, bytes] : c.chunks) {
            now += std::chrono::milliseconds(millis);  // a wait that read nothing, then bytes
            for (const auto& keys :
                 {late ? std::vector<Key>() : decoder.Pause(now), decoder.Feed(bytes, now)}) {
                for (const Key& key : keys) editor.Apply(key);
            }
        }
        EXPECT_EQ(editor.text(), c.text) << c.what << (late ? ", late" : "");
    }
}

TEST(LineEditor, SubmitsEndsAndInterrupts) {
    const Typed lines = Type("look\rno\n\rtake key\x1b[D\r", false);
    EXPECT_EQ(lines.submitted, (std::vector<std::string>{"look", "no", "", "take key"}));
    EXPECT_EQ(lines.text, "");
    EXPECT_FALSE(lines.ended);

    EXPECT_TRUE(Type("look\r\x04", false).ended);  // Ctrl-D on an empty line
    EXPECT_FALSE(Type("look\x04", false).ended);
    EXPECT_TRUE(Type("lo\x03", false).interrupted);

    // Each line of a paste is submitted in order, and cut to what the line holds.
    const Typed pasted =
        Type("\x1b[200~look\r\nopen the drawer of the old dresser\n\ntake key\x1b[201~", true);
    EXPECT_EQ(pasted.submitted,
              (std::vector<std::string>{"look", "open the drawer of the old dres", ""}));
    EXPECT_EQ(pasted.text, "take key");
    EXPECT_EQ(pasted.refused, 3);
}

TEST(LineEditor, KeepsAWholeShortLineWhateverIsTyped) {
    // Bytes a terminal sends, mixed at random: keys, escapes, controls, pieces of characters.
    const std::string alphabet =
        "ab \x1b[O~13;ACDHF\x01\x02\x04\x05\x06\x08\x0b\r\x15\x17\x7f"
        "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x94\x91\xFF\x80";
    std::mt19937 random(13);
    KeyDecoder decoder;
    LineEditor editor;
    for (int i = 0; i < 200000; ++i) {
        const std::string byte(1, alphabet[random() % alphabet.size()]);
        for (const Key& key : decoder.Feed(byte, {})) {
            editor.Apply(key);
            const std::string& text = editor.text();
            ASSERT_LE(text.size(), 31u);
            ASSERT_EQ(CleanInputLine(text), text) << "whole characters the game accepts";
            ASSERT_LE(editor.cursor(), text.size());
            ASSERT_EQ(CleanInputLine(text.substr(0, editor.cursor())),
                      text.substr(0, editor.cursor()))
                << "the cursor between characters";
        }
    }
}
