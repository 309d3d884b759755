#include "program_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kDeadline = std::chrono::seconds(10);

[[noreturn]] void ExecProgram(const std::vector<std::string>& args,
                              const std::vector<std::string>& env, int ignoredSignal = 0) {
    unsetenv("NO_COLOR");
    for (const std::string& entry : env) putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> argv;
    const std::string program = TextProgram();
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    // Ctrl-\ is tried too: no core file is left behind.
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    // The test runner may ignore SIGINT; the program must meet it as a terminal sends it.
    signal(SIGINT, SIG_DFL);
    if (ignoredSignal != 0) signal(ignoredSignal, SIG_IGN);
    execv(program.c_str(), argv.data());
    _exit(127);
}

int MillisecondsLeft(Clock::time_point until) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

void Collect(int status, ProgramRun& run) {
    if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
}

}  // namespace

std::string TextProgram() {
    return TARNWICK_TEXT_PROGRAM;
}

ProgramRun RunProgram(const std::vector<std::string>& args, const ProgramInput& input,
                      const std::vector<std::string>& env) {
    int in[2];
    int out[2];
    int err[2];
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        const int source = input.file.empty() ? in[0] : open(input.file.c_str(), O_RDONLY);
        dup2(source, STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        ExecProgram(args, env);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);

    signal(SIGPIPE, SIG_IGN);
    if (!input.bytes.empty()) {
        // Small enough for the pipe's buffer, so this never waits for the program.
        (void)!write(in[1], input.bytes.data(), input.bytes.size());
    }
    const Clock::time_point start = Clock::now();
    const Clock::time_point closeInput =
        start + std::chrono::duration_cast<Clock::duration>(
                    std::chrono::duration<double>(input.holdOpenSeconds));
    const Clock::time_point interrupt = start + std::chrono::milliseconds(input.interruptAfterMs);
    const Clock::time_point deadline = start + kDeadline;
    bool interrupted = input.interruptAfterMs < 0;

    ProgramRun run;
    std::vector<pollfd> open = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    while (open[0].fd >= 0 || open[1].fd >= 0) {
        if (in[1] >= 0 && Clock::now() >= closeInput) {
            close(in[1]);
            in[1] = -1;
        }
        if (!interrupted && Clock::now() >= interrupt) {
            kill(child, SIGINT);
            interrupted = true;
        }
        if (Clock::now() >= deadline) {
            kill(child, SIGKILL);
            run.timedOut = true;
            break;
        }
        if (poll(open.data(), open.size(), 10) <= 0) continue;
        for (pollfd& stream : open) {
            if (stream.fd < 0 || stream.revents == 0) continue;
            char buffer[4096];
            const ssize_t count = read(stream.fd, buffer, sizeof buffer);
            if (count <= 0) {
                close(stream.fd);
                stream.fd = -1;
                continue;
            }
            (stream.fd == out[0] ? run.out : run.err).append(buffer, count);
        }
    }
    for (int fd : {in[1], open[0].fd, open[1].fd}) {
        if (fd >= 0) close(fd);
    }
    int status = 0;
    waitpid(child, &status, 0);
    Collect(status, run);
    return run;
}

TerminalRun::TerminalRun(const std::vector<std::string>& args, int columns,
                         const std::vector<std::string>& env, const std::string& pipedInput,
                         int ignoredSignal) {
    // A new terminal's own settings, read from a scratch one, are the ones the program meets.
    int scratchMaster = -1;
    int scratchSlave = -1;
    if (openpty(&scratchMaster, &scratchSlave, nullptr, nullptr, nullptr) == 0) {
        tcgetattr(scratchSlave, &initial_);
        close(scratchSlave);
        close(scratchMaster);
    }
    int in[2] = {-1, -1};
    if (!pipedInput.empty() && pipe(in) != 0) return;
    winsize size{};
    size.ws_col = static_cast<unsigned short>(columns);
    size.ws_row = 24;
    child_ = forkpty(&master_, nullptr, &initial_, &size);
    if (child_ == 0) {
        if (in[0] >= 0) {
            dup2(in[0], STDIN_FILENO);
            close(in[0]);
            close(in[1]);
        }
        ExecProgram(args, env, ignoredSignal);
    }
    if (in[0] >= 0) {
        close(in[0]);
        (void)!write(in[1], pipedInput.data(), pipedInput.size());
        close(in[1]);
    }
}

TerminalRun::~TerminalRun() {
    if (child_ > 0) {
        kill(child_, SIGKILL);
        waitpid(child_, nullptr, 0);
    }
    if (master_ >= 0) close(master_);
}

void TerminalRun::Type(const std::string& keys) {
    (void)!write(master_, keys.data(), keys.size());
}

void TerminalRun::Signal(int signal) {
    kill(child_, signal);
}

void TerminalRun::Resize(int columns) {
    winsize size{};
    size.ws_col = static_cast<unsigned short>(columns);
    size.ws_row = 24;
    ioctl(master_, TIOCSWINSZ, &size);
}

termios TerminalRun::Settings() const {
    termios settings{};
    const int slave = open(ptsname(master_), O_RDWR | O_NOCTTY);
    if (slave >= 0) {
        tcgetattr(slave, &settings);
        close(slave);
    }
    return settings;
}

bool TerminalRun::ReadSome(int timeoutMs) {
    pollfd request{master_, POLLIN, 0};
    if (poll(&request, 1, timeoutMs) <= 0) return false;
    char buffer[4096];
    const ssize_t count = read(master_, buffer, sizeof buffer);
    if (count <= 0) return false;  // the terminal closed with the program
    output_.append(buffer, count);
    return true;
}

bool TerminalRun::WaitFor(const std::string& text, int times) {
    const Clock::time_point deadline = Clock::now() + kDeadline;
    while (Count(output_, text) < times) {
        if (Clock::now() >= deadline) return false;
        ReadSome(MillisecondsLeft(deadline));
    }
    return true;
}

int TerminalRun::WaitForExit() {
    const Clock::time_point deadline = Clock::now() + kDeadline;
    int status = 0;
    while (waitpid(child_, &status, WNOHANG) == 0) {
        if (Clock::now() >= deadline) return -1;  // the destructor kills it
        ReadSome(20);
    }
    while (ReadSome(0)) {
    }
    child_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}
