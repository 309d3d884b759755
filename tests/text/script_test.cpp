// Play scripts: the three kinds of line and everything that is none of them.

#include <gtest/gtest.h>

#include <string>

#include "session/display.h"
#include "text/script.h"
#include "text/script_play.h"

TEST(ParseScript, ReadsTypedLinesWaitsAndComments) {
    const Script script = ParseScript(
        "# the opening\n"
        "> i understand\n"
        "\n"
        "wait 2.5\n"
        "   > yes  \n"
        "\twait 15\t\n"
        "# done");
    ASSERT_EQ(script.errorLine, 0) << script.error;
    ASSERT_EQ(script.steps.size(), 4u);
    EXPECT_EQ(script.steps[0].kind, ScriptStep::Kind::Type);
    EXPECT_EQ(script.steps[0].text, "i understand");
    EXPECT_EQ(script.steps[0].lineNumber, 2);
    EXPECT_EQ(script.steps[1].kind, ScriptStep::Kind::Wait);
    EXPECT_DOUBLE_EQ(script.steps[1].seconds, 2.5);
    EXPECT_EQ(script.steps[1].lineNumber, 4);
    EXPECT_EQ(script.steps[2].text, "yes  ");  // typed as it stands, trailing blanks too
    EXPECT_DOUBLE_EQ(script.steps[3].seconds, 15.0);
    EXPECT_EQ(script.steps[3].lineNumber, 6);
}

TEST(ParseScript, TypesTheRestOfTheLineAfterOneSpace) {
    const struct {
        const char* line;
        std::string typed;
    } cases[] = {
        {"> look", "look"},
        {">look", "look"},
        {">  uhu", " uhu"},  // a phrase of the story begins with a blank
        {"> I UNDERSTAND", "I UNDERSTAND"},
        {"> # not a comment", "# not a comment"},
        {">", ""},
        {"> xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", std::string(31, 'x')},
        {"> a\x01"
         "b\xFF",
         "ab\xEF\xBF\xBD"},
        {"> yes\r", "yes"},
    };
    for (const auto& c : cases) {
        const Script script = ParseScript(c.line);
        ASSERT_EQ(script.steps.size(), 1u) << c.line;
        EXPECT_EQ(script.steps[0].kind, ScriptStep::Kind::Type) << c.line;
        EXPECT_EQ(script.steps[0].text, c.typed) << c.line;
    }
}

TEST(ParseScript, AcceptsWaitsOfPlainDecimalSeconds) {
    const struct {
        const char* line;
        double seconds;
    } cases[] = {
        {"wait 2", 2.0},  {"wait 2.5", 2.5}, {"wait .5", 0.5},
        {"wait 3.", 3.0}, {"wait 0", 0.0},   {"wait 3600", 3600.0},
        {"wait\t1", 1.0}, {"wait 1  ", 1.0}, {"wait 1\r", 1.0},
    };
    for (const auto& c : cases) {
        const Script script = ParseScript(c.line);
        ASSERT_EQ(script.steps.size(), 1u) << c.line << ": " << script.error;
        EXPECT_EQ(script.steps[0].kind, ScriptStep::Kind::Wait) << c.line;
        EXPECT_DOUBLE_EQ(script.steps[0].seconds, c.seconds) << c.line;
    }
}

TEST(ParseScript, NamesTheFirstLineThatIsNoneOfTheForms) {
    const struct {
        std::string text;
        int line;
        const char* complaint;
    } cases[] = {
        {"look around", 1, "expected '> command'"},
        {"> yes\n\n# fine\nlook\n> no", 4, "expected '> command'"},
        {"waiting 2", 1, "expected '> command'"},
        {"Wait 2", 1, "expected '> command'"},
        {"wait", 1, "wait takes a number"},
        {"wait two", 1, "wait takes a number"},
        {"wait -1", 1, "wait takes a number"},
        {"wait 1e3", 1, "wait takes a number"},
        {"wait inf", 1, "wait takes a number"},
        {"wait 2 seconds", 1, "wait takes a number"},
        {"wait 1.2.3", 1, "wait takes a number"},
        {"wait 3600.5", 1, "at most 3600"},
        {"> ok\n" + std::string("\x7F"
                                "ELF\x02\x01",
                                6),
         2, "expected '> command'"},
        {std::string("\0> yes", 6), 1, "expected '> command'"},
    };
    for (const auto& c : cases) {
        const Script script = ParseScript(c.text);
        EXPECT_EQ(script.errorLine, c.line) << c.text;
        EXPECT_NE(script.error.find(c.complaint), std::string::npos)
            << c.text << ": " << script.error;
        EXPECT_TRUE(script.steps.empty()) << c.text;  // nothing of a bad script is played
    }
}

TEST(ParseScript, AnEmptyScriptHasNoSteps) {
    for (const char* text : {"", "\n\n", "# only a comment\n", "   \t\n"}) {
        const Script script = ParseScript(text);
        EXPECT_EQ(script.errorLine, 0) << text;
        EXPECT_TRUE(script.steps.empty()) << text;
    }
}

TEST(PlayScript, EachWaitRunsTheFramesThatCoverIt) {
    struct Frames : NoDisplay {
        int shown = 0;
        void FrameShown() override { ++shown; }
    };
    const struct {
        const char* script;
        int frames;  // the story's start, a frame for a typed line, the frames of a wait
    } cases[] = {
        {"> look", 2}, {"wait 0", 1}, {"wait 0.01", 2}, {"wait 0.1", 7}, {"wait 2.5", 151}};
    for (const auto& c : cases) {
        Frames display;
        PlayScript(ParseScript(c.script), display);
        EXPECT_EQ(display.shown, c.frames) << c.script;
    }
}
