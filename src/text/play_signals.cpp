#include "text/play_signals.h"

#include <csignal>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t gStopRequested = 0;
volatile std::sig_atomic_t gSuspendRequested = 0;
volatile std::sig_atomic_t gContinued = 0;
volatile std::sig_atomic_t gResized = 0;

void NoteStop(int) {
    gStopRequested = 1;
}

void NoteEditingSignal(int signal) {
    if (signal == SIGTSTP) gSuspendRequested = 1;
    if (signal == SIGCONT) gContinued = 1;
    if (signal == SIGWINCH) gResized = 1;
}

void Install(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Reads and writes carry on after the signal; poll returns early, so the loop sees it.
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

bool Take(volatile std::sig_atomic_t& flag) {
    if (flag == 0) return false;
    flag = 0;
    return true;
}

}  // namespace

void InstallStopHandlers() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) Install(signal, NoteStop);
    std::signal(SIGPIPE, SIG_IGN);
}

bool StopRequested() {
    return gStopRequested != 0;
}

void InstallEditingHandlers() {
    for (int signal : {SIGTSTP, SIGCONT, SIGWINCH}) Install(signal, NoteEditingSignal);
    // Ctrl-\ would leave the terminal in the editor's mode; it ends the game like Ctrl-C.
    Install(SIGQUIT, NoteStop);
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
