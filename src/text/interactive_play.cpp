#include "text/interactive_play.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "session/input_line.h"
#include "session/play_session.h"
#include "text/terminal.h"
#include "text/terminal_output.h"

namespace {

using Clock = std::chrono::steady_clock;

// About one frame of a 60 Hz window: timed texts arrive that promptly.
constexpr auto kFramePeriod = std::chrono::milliseconds(16);
// Typed lines waiting for their frame; past this, input is left unread until the game catches
// up, so a flood of lines costs no memory.
constexpr std::size_t kMaxPendingLines = 64;
constexpr std::size_t kReadChunk = 4096;

volatile std::sig_atomic_t gStopRequested = 0;

void RequestStop(int) {
    gStopRequested = 1;
}

void InstallStopHandlers() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    // Reads and writes carry on after the signal; poll returns early, so the loop sees it.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    // A reader that went away shows up as a failed write instead.
    std::signal(SIGPIPE, SIG_IGN);
}

int WrapWidth(bool outputIsTerminal) {
    const int columns = outputIsTerminal ? TerminalColumns(STDOUT_FILENO) : 0;
    return columns > 0 ? columns : kDefaultWrapWidth;
}

// Waits up to `timeoutMillis` for input and takes what has arrived. False at end of input.
bool ReadInput(InputLineReader& input, int timeoutMillis) {
    pollfd request{STDIN_FILENO, POLLIN, 0};
    const int ready = poll(&request, 1, timeoutMillis);
    if (ready <= 0) return true;  // nothing yet, or a signal to look at
    if ((request.revents & POLLNVAL) != 0) {
        input.Finish();
        return false;
    }
    char buffer[kReadChunk];
    const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
    if (count > 0) {
        input.Feed(std::string_view(buffer, static_cast<std::size_t>(count)));
        return true;
    }
    if (count < 0 && (errno == EINTR || errno == EAGAIN)) return true;
    input.Finish();
    return false;
}

int MillisecondsUntil(Clock::time_point due) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(due - Clock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

}  // namespace

int PlayInteractive(double pace, Display* transcript) {
    InstallStopHandlers();
    const bool outputIsTerminal = IsTerminal(STDOUT_FILENO);
    const bool colour = WantColour(outputIsTerminal, std::getenv("NO_COLOR"), std::getenv("TERM"));
    // The terminal shows what the player types, so a typed line is on screen already.
    TerminalOutput terminal(stdout, colour, outputIsTerminal && IsTerminal(STDIN_FILENO));
    DisplayList shown(transcript != nullptr ? std::vector<Display*>{&terminal, transcript}
                                            : std::vector<Display*>{&terminal});

    PlaySession session(shown, WrapWidth(outputIsTerminal));
    InputLineReader input;
    bool inputOpen = true;
    Clock::time_point lastFrame = Clock::now();
    while (gStopRequested == 0 && terminal.error() == 0) {
        if (inputOpen && input.Pending() < kMaxPendingLines) {
            const int timeout = input.HasLine() ? 0 : MillisecondsUntil(lastFrame + kFramePeriod);
            inputOpen = ReadInput(input, timeout);
        }
        if (!inputOpen && !input.HasLine()) break;

        const Clock::time_point now = Clock::now();
        const double elapsed = std::chrono::duration<double>(now - lastFrame).count();
        lastFrame = now;
        session.SetWrapWidth(WrapWidth(outputIsTerminal));
        session.Frame(static_cast<float>(elapsed * pace),
                      input.HasLine() ? input.Next() : std::string());
    }

    // The terminal was never switched out of its normal mode; only the colour and the line
    // that ^C left open need putting right.
    if (colour) std::fputs(kResetSequence, stdout);
    if (gStopRequested != 0 && outputIsTerminal) std::fputs("\n", stdout);
    std::fflush(stdout);
    const int error = terminal.error();
    if (error != 0 && error != EPIPE) {
        std::fprintf(stderr, "tarnwick-text: cannot write the game's output: %s\n",
                     std::strerror(error));
        return 1;
    }
    return 0;
}
