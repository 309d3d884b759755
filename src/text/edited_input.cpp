#include "text/edited_input.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "text/play_signals.h"
#include "text/terminal.h"

namespace {

constexpr std::size_t kReadChunk = 4096;

}  // namespace

EditedInput::EditedInput(bool colour) : view_(stdout, colour), eraser_(view_) {}

bool EditedInput::Start() {
    if (!raw_.Enter(STDIN_FILENO)) return false;
    InstallEditingHandlers();
    started_ = true;
    return true;
}

bool EditedInput::Read(int timeoutMillis) {
    AnswerSignals();
    pollfd request{STDIN_FILENO, POLLIN, 0};
    if (poll(&request, 1, timeoutMillis) <= 0) {
        AnswerSignals();  // the wait may have been cut short by one
        return true;
    }
    if ((request.revents & POLLNVAL) != 0) return false;
    char buffer[kReadChunk];
    const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
    if (count < 0 && (errno == EINTR || errno == EAGAIN)) return true;
    if (count <= 0) return false;  // the terminal went away
    return TakeKeys(std::string_view(buffer, static_cast<std::size_t>(count)));
}

bool EditedInput::TakeKeys(std::string_view bytes) {
    bool changed = false;
    bool submitted = false;
    for (const Key& key : decoder_.Feed(bytes)) {
        EditResult result = editor_.Apply(key);
        if (result.refused) view_.Bell();
        // Ends the game the way Ctrl-C does when the terminal turns it into a signal.
        if (result.interrupt) std::raise(SIGINT);
        if (result.endOfInput) return false;
        if (result.submitted) {
            submitted = true;
            if (!result.line.empty()) lines_.push_back(std::move(result.line));
        }
        changed = changed || result.changed;
    }
    // A submitted line comes back as the game's echo of it, above the line drawn afresh.
    if (submitted) {
        view_.Erase();
    } else if (changed) {
        Draw();
    }
    return true;
}

std::string EditedInput::Next() {
    std::string line = std::move(lines_.front());
    lines_.pop_front();
    return line;
}

void EditedInput::FrameShown() {
    if (started_ && !view_.drawn()) Draw();
}

void EditedInput::Close() {
    if (!started_) return;
    started_ = false;
    view_.Erase();
    raw_.Leave();
}

void EditedInput::AnswerSignals() {
    if (TakeSuspendRequest()) {
        // The shell gets its terminal back as it was, and the line is drawn again after `fg`.
        view_.Erase();
        raw_.Leave();
        std::fflush(stdout);
        SuspendSelf();
        TakeContinued();
        raw_.Enter(STDIN_FILENO);
        Draw();
    }
    if (TakeContinued()) {
        // Stopped by other means than Ctrl-Z; the shell may have reset the terminal meanwhile.
        raw_.Enter(STDIN_FILENO);
        Draw();
    }
    if (TakeResized()) Draw();
}

void EditedInput::Draw() {
    view_.Draw(editor_.text(), editor_.cursor(), TerminalColumns(STDOUT_FILENO));
}
