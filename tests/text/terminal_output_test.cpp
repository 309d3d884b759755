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

}  // namespace

TEST(ColourSequence, GivesEachStyleItsColourIn24Bits) {
    constexpr ColourDepth kTrue = ColourDepth::TrueColour;
    const struct {
        SpanStyle style;
        const char* sequence;
    } cases[] = {
        {SpanStyle::Plain, "\x1b[38;2;174;180;184m"},
        {SpanStyle::Action, "\x1b[38;2;211;64;18m"},
        {SpanStyle::Hint, "\x1b[38;2;114;176;229m"},
        {SpanStyle::Interactable, "\x1b[38;2;201;155;109m"},
        {SpanStyle::Echo, "\x1b[38;2;161;190;126m"},
        {static_cast<SpanStyle>(kPurpleStyleLetter), "\x1b[38;2;186;134;217m"},
        {static_cast<SpanStyle>('b'), "\x1b[38;2;174;180;184m"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ColourSequence(c.style, kTrue), c.sequence) << static_cast<char>(c.style);
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
              "\x1b[38;2;174;180;184mClever girl... \x1b[38;2;211;64;18mpush"
              "\x1b[38;2;174;180;184m the big \x1b[38;2;201;155;109mred\x1b[0m");
    EXPECT_EQ(RenderLine(kButtonLine, ColourDepth::None), "Clever girl... push the big red");
}

TEST(RenderLine, SwitchesColourOnlyWhereTheTextChangesColour) {
    const ConsoleLine line = {{"", SpanStyle::Plain},
                              {"a", SpanStyle::Hint},
                              {"", SpanStyle::Action},
                              {"b", SpanStyle::Hint}};
    EXPECT_EQ(RenderLine(line, ColourDepth::TrueColour), "\x1b[38;2;114;176;229mab\x1b[0m");
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
