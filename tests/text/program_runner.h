#pragma once

#include <sys/types.h>
#include <termios.h>

#include <string>
#include <vector>

// Runs tarnwick-text as a player or a shell would, with a deadline so that no test can hang.

struct ProgramRun {
    int exitStatus = -1;  // -1 when it did not exit normally
    int signal = 0;       // the signal that ended it, or 0
    bool timedOut = false;
    std::string out;
    std::string err;
};

struct ProgramInput {
    std::string bytes;             // written to standard input at once
    double holdOpenSeconds = 0.0;  // then standard input stays open this long
    int interruptAfterMs = -1;     // SIGINT this long after the start, when not negative
    std::string file;              // when not empty, standard input reads this file instead
};

// Runs the program with `args` and pipes for all three standard streams. `env` entries
// ("NAME=value") are added to the environment, and NO_COLOR is cleared first.
ProgramRun RunProgram(const std::vector<std::string>& args, const ProgramInput& input = {},
                      const std::vector<std::string>& env = {});

// The program in a pseudo-terminal of the given width, as a person at a terminal has it.
class TerminalRun {
public:
    // With `pipedInput`, standard input is instead a pipe that holds those bytes and then ends.
    // `ignoredSignal`, when not 0, is ignored from the start, as nohup does with SIGHUP.
    TerminalRun(const std::vector<std::string>& args, int columns,
                const std::vector<std::string>& env = {}, const std::string& pipedInput = {},
                int ignoredSignal = 0);
    ~TerminalRun();

    TerminalRun(const TerminalRun&) = delete;
    TerminalRun& operator=(const TerminalRun&) = delete;

    // Sends bytes as if typed at the keyboard.
    void Type(const std::string& keys);
    // Sends a signal to the program.
    void Signal(int signal);
    // Gives the terminal a new width, as resizing its window does (the program gets SIGWINCH).
    void Resize(int columns);
    // The terminal's settings now, and as they were before the program started.
    termios Settings() const;
    const termios& initialSettings() const { return initial_; }
    // Reads the screen's output until `text` appears in it `times` times; false after a few
    // seconds without.
    bool WaitFor(const std::string& text, int times = 1);
    // Reads until the program ends; its status as a shell gives it (128 and the signal for a
    // program a signal ended), or -1 when it did not end in time.
    int WaitForExit();

    const std::string& output() const { return output_; }
    pid_t pid() const { return child_; }

private:
    bool ReadSome(int timeoutMs);

    pid_t child_ = -1;
    int master_ = -1;
    std::string output_;
    termios initial_{};
};

// The path of the program under test.
std::string TextProgram();

// How many times `part` stands in `text`, overlapping ones included.
int Count(const std::string& text, const std::string& part);
