// tarnwick-text at a terminal: colours, the player's own typing, the width and Ctrl-C.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "program_runner.h"
#include "screen.h"
#include "text/terminal_colours.h"

namespace {

const char* kConfirmEnd = "be great.";
const char* kActionColour = "\x1b[38;5;166m";  // at xterm-256color's depth

}  // namespace

TEST(TextAtATerminal, ColoursTheTextAndLeavesTheTypingAloneWhenPlain) {
    TerminalRun terminal({"--plain"}, 80, {"TERM=xterm-256color"});
    ASSERT_TRUE(terminal.WaitFor("know.")) << terminal.output();
    terminal.Type("i understand\n");
    ASSERT_TRUE(terminal.WaitFor(kConfirmEnd)) << terminal.output();
    terminal.Type("\x04");  // Ctrl-D at the start of a line: end of input
    EXPECT_EQ(terminal.WaitForExit(), 0);

    const std::string& output = terminal.output();
    EXPECT_NE(output.find(kActionColour), std::string::npos);
    // Once, as the terminal echoed the keys; the program adds no copy of its own.
    EXPECT_EQ(Count(output, "i understand"), 1) << output;
    EXPECT_EQ(output.find("> i understand"), std::string::npos) << output;
}

TEST(TextAtATerminal, WrapsAtTheTerminalsWidth) {
    // Rows that fill all 38 columns, and others that a column more or less would change.
    const std::vector<std::string> welcome = {"Welcome to the Vosk! The shortest text",
                                              "based game ever. Where actions,",
                                              "hints and interactables are all color",
                                              "coded :).Type I understand to let me",
                                              "know you know what I want you to know.",
                                              "Time to act: normal, as written. Start",
                                              "with --time-to-act longer or longest",
                                              "for three or ten times as long.",
                                              ""};  // the prompt's row, cleared at the end
    TerminalRun terminal({}, 38, {"TERM=xterm-256color"});
    ASSERT_TRUE(terminal.WaitFor("long.")) << terminal.output();
    terminal.Type("\x04");
    EXPECT_EQ(terminal.WaitForExit(), 0);
    Screen screen(38);
    screen.Feed(terminal.output());
    EXPECT_EQ(screen.Rows(), welcome) << terminal.output();
}

TEST(TextAtATerminal, ShowsNoColourWhenAskedNotTo) {
    TerminalRun terminal({}, 80, {"TERM=xterm-256color", "NO_COLOR=1"});
    ASSERT_TRUE(terminal.WaitFor("know.")) << terminal.output();
    terminal.Type("\x04");
    EXPECT_EQ(terminal.WaitForExit(), 0);
    // Cursor movement for the edited line, but no colour.
    EXPECT_EQ(terminal.output().find("\x1b[38;"), std::string::npos) << terminal.output();
    EXPECT_EQ(terminal.output().find("\x1b[0m"), std::string::npos) << terminal.output();
}

TEST(TextAtATerminal, ColoursAsDeepAsTheTerminalsDescriptionSays) {
    const std::tuple<std::vector<std::string>, std::string, std::string> cases[] = {
        {{"TERM=xterm-256color"}, kActionColour, "actions"},
        {{"TERM=linux", "COLORTERM=truecolor"},
         ColourSequence(SpanStyle::Action, ColourDepth::TrueColour),
         "actions"},
        {{"TERM=linux"}, "\x1b[36m", "hints"},
        {{"TERM=xterm-16color"}, "\x1b[94m", "hints"},  // bright blue, which 8 colours lack
        {{"TERM=vt100"}, "", "actions"},                // no colours at all
    };
    for (const auto& [env, colour, word] : cases) {
        TerminalRun terminal({}, 80, env);
        ASSERT_TRUE(terminal.WaitFor("know.")) << terminal.output();
        terminal.Type("\x04");
        EXPECT_EQ(terminal.WaitForExit(), 0);
        EXPECT_NE(terminal.output().find(colour + word), std::string::npos)
            << env.back() << ": " << terminal.output();
        EXPECT_EQ(terminal.output().find("\x1b[0m") == std::string::npos, colour.empty());
    }
}

TEST(TextAtATerminal, EndsWithStatus130OnCtrlC) {
    TerminalRun terminal({}, 80, {"TERM=xterm-256color"});
    ASSERT_TRUE(terminal.WaitFor("know.")) << terminal.output();
    terminal.Type("half a line\x03");  // the terminal turns Ctrl-C into SIGINT
    EXPECT_EQ(terminal.WaitForExit(), 130) << terminal.output();
    const std::string& output = terminal.output();
    EXPECT_NE(output.rfind("\x1b[0m"), std::string::npos);  // colours reset on the way out
}
