#include "text/raw_terminal_input.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>

#include "text/play_signals.h"
#include "text/terminal.h"

namespace {

constexpr std::size_t kReadChunk = 4096;

}  // namespace

RawTerminalInput::RawTerminalInput(ColourDepth colour)
    : raw_(STDOUT_FILENO), line_(stdout, colour, [] { return TerminalColumns(STDOUT_FILENO); }) {}

bool RawTerminalInput::Start() {
    if (!raw_.Enter(STDIN_FILENO)) return false;
    InstallEditingHandlers();
    started_ = true;
    return true;
}

bool RawTerminalInput::Read(int timeoutMillis) {
    AnswerSignals();
    const short events = WaitForInput(STDIN_FILENO, timeoutMillis);
    if (events == 0) {
        AnswerSignals();  // the wait may have been cut short by one
        // Nothing came: what the decoder was waiting for may have waited long enough.
        return line_.Pause(std::chrono::steady_clock::now());
    }
    if ((events & POLLNVAL) != 0) return false;
    char buffer[kReadChunk];
    const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
    if (count < 0 && (errno == EINTR || errno == EAGAIN)) return true;
    if (count <= 0) return false;  // the terminal went away
    return line_.Feed(std::string_view(buffer, static_cast<std::size_t>(count)),
                      std::chrono::steady_clock::now());
}

std::optional<double> RawTerminalInput::SecondsToNextWake(
    std::chrono::steady_clock::time_point now) const {
    const std::optional<LinePipeline::Clock::time_point> deadline = line_.NextDeadline();
    if (!deadline) return std::nullopt;
    return std::max(0.0, std::chrono::duration<double>(*deadline - now).count());
}

void RawTerminalInput::FrameShown() {
    if (started_) line_.FrameShown();
}

void RawTerminalInput::Close() {
    if (!started_) return;
    started_ = false;
    line_.Erase();
    raw_.Leave();
}

void RawTerminalInput::AnswerSignals() {
    if (TakeSuspendRequest()) {
        // The shell gets its terminal back as it was, and the line is drawn again after `fg`.
        line_.Erase();
        raw_.Leave();
        std::fflush(stdout);
        SuspendSelf();
        TakeContinued();
        raw_.Enter(STDIN_FILENO);
        line_.Draw();
    }
    if (TakeContinued()) {
        // Stopped by other means than Ctrl-Z; the shell may have reset the terminal meanwhile.
        raw_.Enter(STDIN_FILENO);
        line_.Draw();
    }
    if (TakeResized()) line_.Draw();
}
