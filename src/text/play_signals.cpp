#include "text/play_signals.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t gStopSignal = 0;
volatile std::sig_atomic_t gSuspendRequested = 0;
volatile std::sig_atomic_t gContinued = 0;
volatile std::sig_atomic_t gResized = 0;
// A byte is written here by every handler, so that a wait for input cannot miss a signal
// that comes just before it starts.
int gWakePipe[2] = {-1, -1};

void Wake() {
    if (gWakePipe[1] < 0) return;
    const int saved = errno;
    (void)!write(gWakePipe[1], "", 1);
    errno = saved;
}

void NoteStop(int signal) {
    if (gStopSignal == 0) gStopSignal = signal;
    Wake();
}

void NoteEditingSignal(int signal) {
    if (signal == SIGTSTP) gSuspendRequested = 1;
    if (signal == SIGCONT) gContinued = 1;
    if (signal == SIGWINCH) gResized = 1;
    Wake();
}

bool IgnoredAtStart(int signal) {
    struct sigaction current {};
    return sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

void Install(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Reads and writes carry on after the signal; the wake pipe ends the wait for input.
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

// The player's or the parent's choice to ignore a signal is kept.
void InstallUnlessIgnored(int signal, void (*handler)(int)) {
    if (!IgnoredAtStart(signal)) Install(signal, handler);
}

bool Take(volatile std::sig_atomic_t& flag) {
    if (flag == 0) return false;
    flag = 0;
    return true;
}

}  // namespace

void InstallStopHandlers() {
    if (gWakePipe[0] < 0 && pipe2(gWakePipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        gWakePipe[0] = gWakePipe[1] = -1;
    }
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) InstallUnlessIgnored(signal, NoteStop);
    std::signal(SIGPIPE, SIG_IGN);
}

bool StopRequested() {
    return gStopSignal != 0;
}

void RaiseStopSignalAgain() {
    const int signal = gStopSignal;
    if (signal == 0) return;
    std::signal(signal, SIG_DFL);
    sigset_t unblock;
    sigemptyset(&unblock);
    sigaddset(&unblock, signal);
    sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
    std::raise(signal);
}

void InstallEditingHandlers() {
    for (int signal : {SIGCONT, SIGWINCH}) Install(signal, NoteEditingSignal);
    // Without job control the shell ignores Ctrl-Z for its children; so does the editor then.
    InstallUnlessIgnored(SIGTSTP, NoteEditingSignal);
    // Left to its default action, Ctrl-\ would end the game with the terminal still in the
    // editor's mode; noted as a stop instead, it is raised again once the terminal is given back.
    InstallUnlessIgnored(SIGQUIT, NoteStop);
}

bool TakeSuspendRequest() {
    return Take(gSuspendRequested);
}

bool TakeContinued() {
    return Take(gContinued);
}

bool TakeResized() {
    return Take(gResized);
}

void SuspendSelf() {
    std::signal(SIGTSTP, SIG_DFL);
    std::raise(SIGTSTP);  // the program stops here until it is continued
    Install(SIGTSTP, NoteEditingSignal);
}

short WaitForInput(int fd, int timeoutMillis) {
    pollfd requests[2] = {{fd, POLLIN, 0}, {gWakePipe[0], POLLIN, 0}};
    const nfds_t count = gWakePipe[0] >= 0 ? 2 : 1;
    if (poll(requests, count, timeoutMillis) <= 0) return 0;
    if (count == 2 && requests[1].revents != 0) {
        char drained[64];
        while (read(gWakePipe[0], drained, sizeof drained) > 0) {
        }
    }
    return requests[0].revents;
}
