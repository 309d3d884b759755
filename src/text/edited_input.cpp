#include "text/edited_input.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>

#include "text/play_signals.h"
#include "text/terminal.h"

namespace {

constexpr std::size_t kReadChunk = 4096;

}  // namespace

EditedInput::EditedInput(ColourDepth colour)
    : raw_(STDOUT_FILENO), view_(stdout, colour), eraser_(view_) {}

bool EditedInput::Start() {
    if (!raw_.Enter(STDIN_FILENO)) return false;
    InstallEditingHandlers();
    started_ = true;
    return true;
}

bool EditedInput::Read(int timeoutMillis) {
    AnswerSignals();
    const short events = WaitForInput(STDIN_FILENO, timeoutMillis);
    if (events == 0) {
        AnswerSignals();  // the wait may have been cut short by one
        // Nothing came: what the decoder was waiting for may have waited long enough.
        return TakeKeys(decoder_.Pause(std::chrono::steady_clock::now()));
    }
    if ((events & POLLNVAL) != 0) return false;
    char buffer[kReadChunk];
    const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
    if (count < 0 && (errno == EINTR || errno == EAGAIN)) return true;
    if (count <= 0) return false;  // the terminal went away
    return TakeKeys(decoder_.Feed(std::string_view(buffer, static_cast<std::size_t>(count)),
                                  std::chrono::steady_clock::now()));
}

std::optional<double> EditedInput::SecondsToNextWake(
    std::chrono::steady_clock::time_point now) const {
    const std::optional<KeyDecoder::Clock::time_point> deadline = decoder_.NextDeadline();
    if (!deadline) return std::nullopt;
    return std::max(0.0, std::chrono::duration<double>(*deadline - now).count());
}

bool EditedInput::TakeKeys(const std::vector<Key>& keys) {
    bool changed = false;
    bool submitted = false;
    bool refused = false;
    for (const Key& key : keys) {
        EditResult result = editor_.Apply(key);
        refused = refused || result.refused;
        // Ends the game the way Ctrl-C does when the terminal turns it into a signal.
        if (result.interrupt) std::raise(SIGINT);
        if (result.endOfInput) return false;
        if (result.submitted) {
            submitted = true;
            if (!result.line.empty()) lines_.push_back(std::move(result.line));
        }
        changed = changed || result.changed;
    }
    // One bell for a burst of refused keys: for all the keys of one read, and for a paste
    // however many reads it takes.
    if (refused && !bellInPaste_) {
        view_.Bell();
        bellInPaste_ = true;
    }
    if (!decoder_.pasting()) bellInPaste_ = false;
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
