// tarnwick-text editing the typed line itself at a terminal, watched on a screen as a player
// sees it.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "text/program_runner.h"
#include "text/screen.h"

namespace {

const char* kWelcomeEnd = "know.";
const char* kConfirm = "So you understand eh..? Confirming that for me would be great.";
const char* kFirstReminder = "You can do this! Write I understand.";
const char* kSecondReminder = "Testing my patience bro? Cuz I can do this all day, you know I can.";
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
    // At ten times real time the first reminder comes 2 s in, with nothing typed; the second later.
    const auto start = std::chrono::steady_clock::now();
    TerminalRun terminal({"--pace", "10"}, 100, kTerminal);
    ASSERT_TRUE(terminal.WaitFor(kFirstReminder)) << terminal.output();
    const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited.count(), 2.0);
    EXPECT_LT(waited.count(), 3.0) << "a wait that missed its deadline";
    terminal.Type("i under");
    ASSERT_TRUE(terminal.WaitFor("> i under")) << terminal.output();
    ASSERT_TRUE(terminal.WaitFor(std::string(kSecondReminder) + "\r\n> i under\r\x1b[9C"))
        << "drawn again after the reminder: " << terminal.output();
    EXPECT_LT(terminal.output().find("i under"), terminal.output().find(kSecondReminder));

    Screen screen = Shown(terminal, 100);
    EXPECT_EQ(CursorRow(screen), "> i under");
    EXPECT_EQ(screen.column(), 9);
    EXPECT_EQ(CursorRow(screen, 1), kSecondReminder);

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

TEST(LineEditing, GivesTheTerminalBackAsItWasFoundHoweverPlayEnds) {
    // After a stop and go on, or a hangup ignored from the start (nohup), play goes on to Ctrl-D.
    const struct {
        const char* how;
        std::string keys;
        std::vector<int> signals;
        int status;
        int ignored = 0;
    } endings[] = {
        {"Ctrl-C", "half a line\x03", {}, 130},
        {"Ctrl-\\", "half a line\x1c", {}, 128 + SIGQUIT},
        {"Ctrl-D", "\x04", {}, 0},
        {"SIGTERM", "half a line", {SIGTERM}, 128 + SIGTERM},
        {"SIGHUP", "half", {SIGHUP}, 128 + SIGHUP},
        {"Ctrl-D after a stop", "half", {SIGSTOP, SIGCONT}, 0},
        {"SIGHUP ignored from the start", "half", {SIGHUP}, 0, SIGHUP},
    };
    for (const auto& ending : endings) {
        TerminalRun terminal({}, 80, kTerminal, {}, ending.ignored);
        ASSERT_TRUE(terminal.WaitFor(kWelcomeEnd)) << terminal.output();
        EXPECT_EQ(terminal.Settings().c_lflag & ECHO, 0u) << ending.how << ": keys not echoed";
        terminal.Type(ending.keys);
        const bool signalled = !ending.signals.empty(), stopped = ending.signals.size() == 2;
        ASSERT_TRUE(!signalled || terminal.WaitFor("> half")) << terminal.output();
        for (int signal : ending.signals) terminal.Signal(signal);
        ASSERT_TRUE(!stopped || terminal.WaitFor("> half\r", 2)) << "drawn again: " << ending.how;
        if (signalled && ending.status == 0) terminal.Type("\x15\x04");
        EXPECT_EQ(terminal.WaitForExit(), ending.status) << ending.how;
        EXPECT_TRUE(SameSettings(terminal.Settings(), terminal.initialSettings())) << ending.how;
        // Bracketed paste turned on again after the stop, and off last.
        const std::string& out = terminal.output();
        EXPECT_EQ(Count(out, "\x1b[?2004h"), stopped ? 2 : 1) << ending.how;
        const std::size_t off = out.rfind("\x1b[?2004l");
        EXPECT_TRUE(off != std::string::npos && off > out.rfind("\x1b[?2004h")) << ending.how;
    }
}

TEST(LineEditing, EndsALoneEscapeWhenNoTimedTextIsDue) {
    // No reminder comes for seconds: only the decoder's own deadline ends the wait.
    TerminalRun terminal({}, 80, kTerminal);
    ASSERT_TRUE(terminal.WaitFor(kWelcomeEnd)) << terminal.output();
    terminal.Type("look\x1b");
    ASSERT_TRUE(terminal.WaitFor("> look\r\x1b[6C")) << terminal.output();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    terminal.Type("b");
    EXPECT_TRUE(terminal.WaitFor("> lookb\r\x1b[7C")) << "not Alt-b: " << terminal.output();
    terminal.Type("\x03");
    EXPECT_EQ(terminal.WaitForExit(), 130);
}

TEST(LineEditing, DrawsTheLineAndWrapsTheNextReplyAtTheNewWidthAfterAResize) {
    TerminalRun terminal({}, 80, kTerminal);
    ASSERT_TRUE(terminal.WaitFor(kWelcomeEnd)) << terminal.output();
    terminal.Type("i understand");
    ASSERT_TRUE(terminal.WaitFor("> i understand\r\x1b[14C")) << terminal.output();
    // Drawn again at once, with no key pressed: two rows at 12 columns, then one at 30.
    terminal.Resize(12);
    ASSERT_TRUE(terminal.WaitFor("> i understand\r\x1b[2C")) << terminal.output();
    terminal.Resize(30);
    ASSERT_TRUE(terminal.WaitFor("\x1b[1A\r\x1b[J> i understand\r\x1b[14C")) << terminal.output();
    terminal.Type("\r");
    // Where the terminal's own wrapping of the line at 80 columns would break the words.
    ASSERT_TRUE(
        terminal.WaitFor("So you understand eh..?\r\nConfirming that for me would\r\nbe great."))
        << terminal.output();
    terminal.Type("\x04");
    EXPECT_EQ(terminal.WaitForExit(), 0);
}

TEST(LineEditing, CountsColumnsAsTheTerminalShowsThem) {
    const std::string wide = "\xE6\x97\xA5\xE6\x9C\xAC";  // two columns each
    // Columns; typed and drawn; one key more and drawn again: in the player's locale. What the
    // line shows after each kind of edit is checked without a program, in line_view_test.cpp.
    const std::tuple<int, std::string, std::string, std::string, std::string> cases[] = {
        {80, wide, "> " + wide + "\r\x1b[6C", "\x02", "> " + wide + "\r\x1b[4C"},
    };
    for (const auto& [columns, keys, drawn, more, drawnAgain] : cases) {
        TerminalRun terminal({}, columns, {"TERM=xterm-256color", "NO_COLOR=1", "LC_ALL=C.UTF-8"});
        ASSERT_TRUE(terminal.WaitFor(kWelcomeEnd)) << terminal.output();
        terminal.Type(keys);
        EXPECT_TRUE(terminal.WaitFor(drawn)) << columns << ": " << terminal.output();
        terminal.Type(more);
        EXPECT_TRUE(terminal.WaitFor(drawnAgain)) << columns << ": " << terminal.output();
        terminal.Type("\x03");
        EXPECT_EQ(terminal.WaitForExit(), 130);
    }
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
