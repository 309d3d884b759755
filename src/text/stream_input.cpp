#include "text/stream_input.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "text/play_signals.h"

namespace {

constexpr std::size_t kReadChunk = 4096;

}  // namespace

bool StreamInput::Read(int timeoutMillis) {
    const short events = WaitForInput(STDIN_FILENO, timeoutMillis);
    if (events == 0) return true;  // nothing yet, or a signal to look at
    if ((events & POLLNVAL) != 0) {
        lines_.Finish();
        return false;
    }
    char buffer[kReadChunk];
    const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
    if (count > 0) {
        lines_.Feed(std::string_view(buffer, static_cast<std::size_t>(count)));
        return true;
    }
    if (count < 0 && (errno == EINTR || errno == EAGAIN)) return true;
    lines_.Finish();
    return false;
}
