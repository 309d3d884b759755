// tarnwick-text as a shell runs it: options, bad input, pipes, pace and interrupts.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "program_runner.h"

namespace {

const char* kWelcomeStart = "Welcome to the Vosk!";
const char* kConfirmQuestion = "So you understand eh..? Confirming that for me would be great.";
const char* kFirstReminder = "You can do this! Write I understand.";

// A file in the test's own temporary folder, removed when the test ends.
class TempFile {
public:
    explicit TempFile(const std::string& name, const std::string& content = {})
        : path_(testing::TempDir() + "tarnwick_text_" + name) {
        if (!content.empty()) std::ofstream(path_, std::ios::binary) << content;
    }
    ~TempFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }
    std::string Read() const {
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::string path_;
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(TextProgram, RefusesBadOptionsAndFilesWithStatusTwo) {
    const TempFile badScript("bad.script", "> i understand\nwait 2\nlook around\n");
    const TempFile goodScript("good.script", "> i understand\n");
    const struct {
        std::vector<std::string> args;
        std::string complaint;
    } cases[] = {
        {{"--script", "/nonexistent/opening.script"},
         "cannot read the script '/nonexistent/opening.script': No such file or directory"},
        {{"--script", "/"}, "cannot read the script '/': Is a directory"},
        {{"--script", badScript.path()},
         badScript.path() + ":3: expected '> command', 'wait SECONDS' or '# comment'"},
        {{"--transcript", "/nonexistent/folder/t.txt"},
         "cannot write the transcript '/nonexistent/folder/t.txt'"},
        {{"--script", goodScript.path(), "--transcript", "/"}, "cannot write the transcript '/'"},
        {{"--pace", "0"}, "--pace takes a number from 0.01 to 1000, not '0'"},
        {{"--pace", "fast"}, "--pace takes a number"},
        {{"--pace=nan"}, "--pace takes a number"},
        {{"--pace", "2", "--script", goodScript.path()}, "--pace is for interactive play"},
        {{"--script", goodScript.path(), "--plain"}, "--plain is for interactive play"},
        {{"--script"}, "--script needs a value"},
        {{"--transcript="}, "--transcript needs a file name"},
        {{"--colour"}, "unknown option '--colour'"},
        {{"look"}, "unknown option 'look'"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = RunProgram(c.args);
        EXPECT_EQ(run.exitStatus, 2) << c.complaint;
        EXPECT_TRUE(Contains(run.err, "tarnwick-text: " + c.complaint)) << run.err;
        EXPECT_TRUE(run.out.empty()) << c.complaint << ": nothing is played";
    }
}

TEST(TextProgram, LeavesAnExistingTranscriptAloneWhenTheScriptIsBad) {
    const TempFile badScript("bad2.script", "wait forever\n");
    const TempFile transcript("kept.transcript", "an earlier game\n");
    const ProgramRun run =
        RunProgram({"--script", badScript.path(), "--transcript", transcript.path()});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(transcript.Read(), "an earlier game\n");
}

TEST(TextProgram, ExplainsItselfWithHelp) {
    const ProgramRun run = RunProgram({"--help"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_TRUE(Contains(run.out, "--pace F")) << run.out;
    EXPECT_TRUE(Contains(run.out, "--script FILE")) << run.out;
    EXPECT_TRUE(Contains(run.out, "--transcript FILE")) << run.out;
}

TEST(TextProgram, PlaysLinesFromAPipeAndEndsAtItsEnd) {
    ProgramInput input;
    // The last line has no newline; binary bytes are dropped or replaced; a long line is cut.
    input.bytes = std::string("\x01i under\x7fstand\r\n\n") +
                  "no no no no no no no no no no no no no\n"
                  "\xFF\xFE\n"
                  "yes";
    const ProgramRun run = RunProgram({}, input);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    EXPECT_EQ(run.out.find(kWelcomeStart), 0u) << run.out;
    EXPECT_TRUE(Contains(run.out, "> i understand\n" + std::string(kConfirmQuestion) + "\n"))
        << run.out;
    EXPECT_TRUE(Contains(run.out, "\n> no no no no no no no no no no n\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "\n> \xEF\xBF\xBD\xEF\xBF\xBD\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "\n> yes\n")) << run.out;
    EXPECT_EQ(run.out.find("\x1b["), std::string::npos) << "no colours into a pipe";
}

TEST(TextProgram, WritesTheSameTranscriptAsItShowsInAPipe) {
    const TempFile transcript("pipe.transcript");
    ProgramInput input;
    input.bytes = "i understand\nyes\npush the red button\n";
    const ProgramRun run = RunProgram({"--transcript", transcript.path()}, input);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "> push the red button\n\n* * *\n")) << run.out;
    EXPECT_EQ(transcript.Read(), run.out);
}

TEST(TextProgram, RunsTheClockAtTheChosenPace) {
    // Nothing typed for at least 0.3 s: at a hundred times real time that passes 20 game
    // seconds, when the first reminder is due; at real time it does not.
    ProgramInput idle;
    idle.holdOpenSeconds = 0.3;
    const ProgramRun fast = RunProgram({"--pace", "100"}, idle);
    EXPECT_EQ(fast.exitStatus, 0) << fast.err;
    EXPECT_TRUE(Contains(fast.out, kFirstReminder)) << fast.out;

    const ProgramRun normal = RunProgram({}, idle);
    EXPECT_EQ(normal.exitStatus, 0) << normal.err;
    EXPECT_FALSE(Contains(normal.out, kFirstReminder)) << normal.out;
    EXPECT_EQ(RunProgram({"--pace", "0.01"}, idle).exitStatus, 0);  // the slowest pace named
}

TEST(TextProgram, GivesTheChosenTimeToActAfterTheBeastsWarning) {
    // Closed 19 s after the warning, which has had all the time it takes to be heard.
    const TempFile script("beast.script",
                          "> i understand\n> yes\n> push button\n> open door\n> walk\n"
                          "> open left door\nwait 20\n> close\nwait 5\n");
    const struct {
        const char* step;
        bool saved;
        const char* notice;
    } cases[] = {
        {"longest", true, ""},
        {"normal", false, ""},
        {"slowest", false, "--time-to-act takes normal, longer or longest, not 'slowest'"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = RunProgram({"--time-to-act", c.step, "--script", script.path()});
        EXPECT_EQ(run.exitStatus, 0) << c.step;
        EXPECT_EQ(Contains(run.out, "Your fast reflexes saved your life!"), c.saved) << run.out;
        EXPECT_EQ(Contains(run.out, "shreds you to pieces"), !c.saved) << run.out;
        EXPECT_EQ(run.err.empty(), *c.notice == '\0') << run.err;
        EXPECT_TRUE(Contains(run.err, c.notice)) << run.err;
    }
}

TEST(TextProgram, EndsCleanlyOnAnInterruptWhileReadingEndlessInput) {
    // /dev/zero never ends a line: the program must keep its memory and still hear Ctrl-C.
    ProgramInput input;
    input.file = "/dev/zero";
    input.interruptAfterMs = 300;
    const ProgramRun run = RunProgram({}, input);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.signal, SIGINT) << "ended by the interrupt, as a shell expects: " << run.err;
    EXPECT_TRUE(Contains(run.out, kWelcomeStart)) << run.out;
}

TEST(TextProgram, ReportsATranscriptThatFillsUp) {
    const TempFile script("full.script", "> i understand\n");
    const ProgramRun run = RunProgram({"--script", script.path(), "--transcript", "/dev/full"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_TRUE(Contains(run.err, "cannot write the transcript '/dev/full': No space left"))
        << run.err;
    EXPECT_TRUE(Contains(run.out, "> i understand")) << "the game itself was still shown";
}
