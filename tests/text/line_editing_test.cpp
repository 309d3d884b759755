// tarnwick-text editing the typed line itself at a terminal, watched on a screen as a player
// sees it.

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>

#include "program_runner.h"
#include "screen.h"

namespace {

const char* kWelcomeEnd = "know.";
const char* kConfirm = "So you understand eh..? Confirming that for me would be great.";
const char* kFirstReminder = "You can do this! Write I understand.";
// Without colours, so that texts can be found in the output as they are.
const std::vector<std::string> kTerminal = {"TERM=xterm-256color", "NO_COLOR=1"};

Screen Shown(const TerminalRun& terminal, int columns) {
    Screen screen(columns);
    screen.Feed(terminal.output());
    return screen;
}

// The row the cursor is on, and the one above it.
std::string CursorRow(const Screen& screen, int above = 0) {
    return screen.Rows().at(screen.row() - above);
}

bool SameSettings(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_lflag == b.c_lflag &&
           a.c_cflag == b.c_cflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

}  // namespace

TEST(LineEditing, KeepsTheHalfTypedLineIntactBelowATimedText) {
    // At ten times real time the first reminder comes two seconds into the game.
    TerminalRun terminal({"--pace", "10"}, 100, kTerminal);
    ASSERT_TRUE(terminal.WaitFor(kWelcomeEnd)) << terminal.output();
    terminal.Type("i under");
    ASSERT_TRUE(terminal.WaitFor("> i under")) << terminal.output();
    ASSERT_TRUE(terminal.WaitFor(std::string(kFirstReminder) + "\r\n> i under\r\x1b[9C"))
        << "drawn again after the reminder: " << terminal.output();
    EXPECT_LT(terminal.output().find("i under"), terminal.output().find(kFirstReminder));

    Screen screen = Shown(terminal, 100);
    EXPECT_EQ(CursorRow(screen), "> i under");
    EXPECT_EQ(screen.column(), 9);
    EXPECT_EQ(CursorRow(screen, 1), kFirstReminder);

    terminal.Type("stand\r");
    ASSERT_TRUE(terminal.WaitFor(kConfirm)) << terminal.output();
    terminal.Type("\x04");
    EXPECT_EQ(terminal.WaitForExit(), 0);
    screen = Shown(terminal, 100);
    const std::vector<std::string> rows = screen.Rows();
    const auto echo = std::find(rows.begin(), rows.end(), "> i understand");
    ASSERT_NE(echo, rows.end()) << terminal.output();
    EXPECT_EQ(*(echo + 1), kConfirm);
    EXPECT_EQ(Count(terminal.output(), "> i understand"), 1) << "shown once, as the echo";
    EXPECT_EQ(screen.row(), static_cast<int>(rows.size()) - 1);
    EXPECT_EQ(rows.back(), "") << "the edited line is gone at the end";
}

TEST(LineEditing, RecallsEarlierCommandsAndRefusesTheThirtySecondByte) {
    TerminalRun terminal({}, 80, kTerminal);
    ASSERT_TRUE(terminal.WaitFor(kWelcomeEnd)) << terminal.output();
    terminal.Type("i understand\r");
    ASSERT_TRUE(terminal.WaitFor(kConfirm)) << terminal.output();
    terminal.Type("ok\r");
    ASSERT_TRUE(terminal.WaitFor("> ok")) << terminal.output();

    // Up twice, then Down: the line before last, then the last. Ctrl-W and Left edit it.
    terminal.Type("\x1b[A\x1b[A\x1b[Bay\x17s\x1b[Dye");
    ASSERT_TRUE(terminal.WaitFor("> yes\r\x1b[4C")) << terminal.output();
    EXPECT_EQ(CursorRow(Shown(terminal, 80)), "> yes");

    // 31 bytes in all: of ten more, three fit and seven ring the bell.
    const int bellsBefore = Shown(terminal, 80).bells();
    terminal.Type("\x05 " + std::string(24, 'x') + "0123456789");
    ASSERT_TRUE(terminal.WaitFor("xx012")) << terminal.output();
    terminal.Type("\x1b[D");  // something to wait for after the last refusal
    ASSERT_TRUE(terminal.WaitFor("012\r\x1b[32C")) << terminal.output();
    const Screen screen = Shown(terminal, 80);
    EXPECT_EQ(CursorRow(screen), "> yes " + std::string(24, 'x') + "012");
    EXPECT_EQ(screen.bells() - bellsBefore, 7);
    terminal.Type("\x03");
    EXPECT_EQ(terminal.WaitForExit(), 0);
}

TEST(LineEditing, GivesTheTerminalBackAsItWasFoundHoweverPlayEnds) {
    const struct {
        const char* how;
        std::string keys;
        int signal;
    } endings[] = {
        {"Ctrl-C", "half a line\x03", 0},
        {"Ctrl-D", "\x04", 0},
        {"SIGTERM", "half a line", SIGTERM},
        {"SIGHUP", "half", SIGHUP},
    };
    for (const auto& ending : endings) {
        TerminalRun terminal({}, 80, kTerminal);
        ASSERT_TRUE(terminal.WaitFor(kWelcomeEnd)) << terminal.output();
        EXPECT_EQ(terminal.Settings().c_lflag & ECHO, 0u) << ending.how << ": keys not echoed";
        terminal.Type(ending.keys);
        if (ending.signal != 0) {
            ASSERT_TRUE(terminal.WaitFor("half")) << terminal.output();
            terminal.Signal(ending.signal);
        }
        EXPECT_EQ(terminal.WaitForExit(), 0) << ending.how;
        EXPECT_TRUE(SameSettings(terminal.Settings(), terminal.initialSettings())) << ending.how;
    }
}

TEST(LineEditing, WrapsTheNextReplyAtTheNewWidthAfterAResize) {
    TerminalRun terminal({}, 80, kTerminal);
    ASSERT_TRUE(terminal.WaitFor(kWelcomeEnd)) << terminal.output();
    terminal.Resize(40);
    terminal.Type("i understand\r");
    ASSERT_TRUE(terminal.WaitFor("be great.")) << terminal.output();
    terminal.Type("\x04");
    EXPECT_EQ(terminal.WaitForExit(), 0);

    Screen screen(80);
    const std::string& output = terminal.output();
    const std::size_t echo = output.find("> i understand");
    screen.Feed(output.substr(0, echo));
    screen.Resize(40);
    screen.Feed(output.substr(echo));
    const std::vector<std::string> rows = screen.Rows();
    EXPECT_GT(rows.at(0).size(), 40u) << "the welcome at 80 columns";
    const auto confirm =
        std::find(rows.begin(), rows.end(), "So you understand eh..? Confirming that");
    ASSERT_NE(confirm, rows.end()) << output;
    EXPECT_EQ(*(confirm + 1), "for me would be great.");
}

TEST(LineEditing, LeavesLinesFromAPipeAsTheyWere) {
    TerminalRun terminal({}, 80, kTerminal, "i understand\nyes\n");
    EXPECT_EQ(terminal.WaitForExit(), 0);
    const std::string& output = terminal.output();
    EXPECT_EQ(Count(output, "> i understand"), 1) << output;
    EXPECT_EQ(Count(output, "> yes"), 1) << output;
    EXPECT_EQ(output.find("\x1b[J"), std::string::npos) << "no line drawn: " << output;
}

TEST(LineEditing, LeavesTheEditingToTheTerminalWhenPlainOrDumb) {
    for (const auto& [args, env] :
         {std::pair<std::vector<std::string>, std::vector<std::string>>{{"--plain"}, kTerminal},
          {{}, {"TERM=dumb", "NO_COLOR=1"}}}) {
        TerminalRun terminal(args, 80, env);
        ASSERT_TRUE(terminal.WaitFor(kWelcomeEnd)) << terminal.output();
        EXPECT_NE(terminal.Settings().c_lflag & ECHO, 0u) << "the terminal echoes";
        terminal.Type("i understand\n");
        ASSERT_TRUE(terminal.WaitFor(kConfirm)) << terminal.output();
        terminal.Type("\x04");
        EXPECT_EQ(terminal.WaitForExit(), 0);
        EXPECT_EQ(terminal.output().find("\x1b[J"), std::string::npos) << terminal.output();
    }
}
