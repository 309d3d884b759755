// Terminal colours and the plain transcript format.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "text/terminal_output.h"
#include "text/transcript.h"
#include "text/transcript_file.h"

namespace {

// What a display writes, captured in memory.
class MemoryFile {
public:
    MemoryFile() : file_(open_memstream(&data_, &size_)) {}
    ~MemoryFile() {
        std::fclose(file_);
        std::free(data_);
    }
    std::FILE* file() { return file_; }
    std::string Text() {
        std::fflush(file_);
        return std::string(data_, size_);
    }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* file_;
};

const ConsoleLine kButtonLine = {{"Clever girl... ", SpanStyle::Plain},
                                 {"push", SpanStyle::Action},
                                 {" the big ", SpanStyle::Plain},
                                 {"red", SpanStyle::Interactable}};

// What colours the text after it in a style, in 24 bits.
std::string In(SpanStyle style) {
    return ColourSequence(style, ColourDepth::TrueColour);
}

}  // namespace

// Each style's colour in 24 bits, and the nearest of xterm's 256 (its cube and grey ramp).
TEST(ColourSequence, GivesEachStyleItsColourIn24BitsAndTheNearestOf256) {
    const struct {
        SpanStyle style;
        StyleRgb rgb;
        int nearest256;
    } cases[] = {
        {SpanStyle::Plain, palette::kPlain, 249},
        {SpanStyle::Action, palette::kAction, 166},
        {SpanStyle::Hint, palette::kHint, 74},
        {SpanStyle::Interactable, palette::kInteractable, 173},  // green as near 135 as 175
        {SpanStyle::Echo, palette::kEcho, 144},
        {static_cast<SpanStyle>(kPurpleStyleLetter), palette::kPurple, 140},
        {static_cast<SpanStyle>('b'), palette::kPlain, 249},
    };
    for (const auto& c : cases) {
        const std::string rgb = std::to_string(c.rgb.red) + ";" + std::to_string(c.rgb.green) +
                                ";" + std::to_string(c.rgb.blue);
        EXPECT_EQ(ColourSequence(c.style, ColourDepth::TrueColour), "\x1b[38;2;" + rgb + "m");
        EXPECT_EQ(ColourSequence(c.style, ColourDepth::Palette256),
                  "\x1b[38;5;" + std::to_string(c.nearest256) + "m")
            << static_cast<char>(c.style);
    }
}

TEST(ColourSequence, KeepsTheStoryColoursApartAtEveryDepth) {
    const SpanStyle styles[] = {SpanStyle::Plain, SpanStyle::Action, SpanStyle::Hint,
                                SpanStyle::Interactable, SpanStyle::Echo};
    for (ColourDepth depth : {ColourDepth::Ansi8, ColourDepth::Ansi16, ColourDepth::Palette256,
                              ColourDepth::TrueColour}) {
        std::set<std::string> sequences;
        for (SpanStyle style : styles) sequences.insert(ColourSequence(style, depth));
        EXPECT_EQ(sequences.size(), 5u) << "depth " << static_cast<int>(depth);
    }
    EXPECT_EQ(ColourSequence(SpanStyle::Action, ColourDepth::None), "");
}

TEST(RenderLine, ColoursEachSpanAndResetsAtTheEnd) {
    EXPECT_EQ(RenderLine(kButtonLine, ColourDepth::TrueColour),
              In(SpanStyle::Plain) + "Clever girl... " + In(SpanStyle::Action) + "push" +
                  In(SpanStyle::Plain) + " the big " + In(SpanStyle::Interactable) + "red\x1b[0m");
    EXPECT_EQ(RenderLine(kButtonLine, ColourDepth::None), "Clever girl... push the big red");
}

TEST(RenderLine, SwitchesColourOnlyWhereTheTextChangesColour) {
    const ConsoleLine line = {{"", SpanStyle::Plain},
                              {"a", SpanStyle::Hint},
                              {"", SpanStyle::Action},
                              {"b", SpanStyle::Hint}};
    EXPECT_EQ(RenderLine(line, ColourDepth::TrueColour), In(SpanStyle::Hint) + "ab\x1b[0m");
    EXPECT_EQ(RenderLine({{"", SpanStyle::Plain}}, ColourDepth::TrueColour), "");
}

TEST(WantColour, OnlyOnATerminalThatHasNotOptedOut) {
    const struct {
        bool terminal;
        const char* noColor;
        const char* term;
        bool colour;
    } cases[] = {
        {true, nullptr, "xterm-256color", true},
        {true, nullptr, nullptr, true},
        {true, "", "xterm", true},
        {true, "1", "xterm", false},
        {true, "no", "xterm", false},
        {false, nullptr, "xterm", false},
        {true, nullptr, "dumb", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WantColour(c.terminal, c.noColor, c.term), c.colour)
            << c.terminal << " " << (c.noColor ? c.noColor : "(unset)") << " "
            << (c.term ? c.term : "(unset)");
    }
}

TEST(TerminalOutput, LeavesTypedLinesToTheTerminalThatEchoesThem) {
    MemoryFile echoing;
    TerminalOutput onScreen(echoing.file(), ColourDepth::TrueColour, true);
    onScreen.Typed("look");
    onScreen.Line(kButtonLine);
    onScreen.Cleared();
    EXPECT_EQ(echoing.Text(), RenderLine(kButtonLine, ColourDepth::TrueColour) + "\n\n* * *\n\n");

    MemoryFile piped;
    TerminalOutput fromPipe(piped.file(), ColourDepth::None, false);
    fromPipe.Typed("look");
    EXPECT_EQ(piped.Text(), "> look\n");
}

TEST(TranscriptWriter, WritesTypedLinesTextsAndSeparatorsPlain) {
    MemoryFile file;
    TranscriptWriter transcript(file.file(), false);
    transcript.Line(kButtonLine);
    transcript.Typed("push the red button");
    transcript.Cleared();
    transcript.Line({{"Where...where am I?", SpanStyle::Plain}});
    EXPECT_EQ(file.Text(),
              "Clever girl... push the big red\n"
              "> push the red button\n"
              "\n* * *\n\n"
              "Where...where am I?\n");
    EXPECT_EQ(transcript.error(), 0);
}

TEST(TranscriptFile, ReportsAFileThatCannotBeWritten) {
    std::string error;
    EXPECT_EQ(TranscriptFile::Open("/nonexistent/folder/t.txt", false,
                                   TranscriptWriter::Lines::Plain, error),
              nullptr);
    EXPECT_NE(error.find("cannot write the transcript '/nonexistent/folder/t.txt'"),
              std::string::npos)
        << error;

    error.clear();
    auto full = TranscriptFile::Open("/dev/full", true, TranscriptWriter::Lines::Markup, error);
    ASSERT_NE(full, nullptr) << error;
    full->display().Typed("look");
    full->display().Line(kButtonLine);
    EXPECT_FALSE(full->Close(error));
    EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
}
