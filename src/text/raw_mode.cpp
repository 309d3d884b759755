#include "text/raw_mode.h"

#include <signal.h>
#include <unistd.h>

#include <cstddef>

namespace {

constexpr char kPasteOn[] = "\x1b[?2004h";
constexpr char kPasteOff[] = "\x1b[?2004l";

// What a crash must put back, kept where a signal handler can reach it.
int gCrashFd = -1;
int gCrashOutputFd = -1;
termios gCrashSettings{};
constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
struct sigaction gPreviousActions[sizeof kCrashSignals / sizeof kCrashSignals[0]];

// Gives the terminal back, then lets the crash go on as it would have: the handler that was
// there before (the sanitizers' report, or the default core dump) runs once this returns.
void RestoreOnCrash(int signal) {
    if (gCrashFd >= 0) tcsetattr(gCrashFd, TCSANOW, &gCrashSettings);
    if (gCrashOutputFd >= 0) (void)!write(gCrashOutputFd, kPasteOff, sizeof kPasteOff - 1);
    for (std::size_t i = 0; i < sizeof kCrashSignals / sizeof kCrashSignals[0]; ++i) {
        if (kCrashSignals[i] == signal) sigaction(signal, &gPreviousActions[i], nullptr);
    }
    // Blocked until this returns; a fault would come again anyway, a signal sent would not.
    raise(signal);
}

void InstallCrashHandlers(int fd, int outputFd, const termios& settings) {
    gCrashFd = fd;
    gCrashOutputFd = outputFd;
    gCrashSettings = settings;
    struct sigaction action {};
    action.sa_handler = RestoreOnCrash;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < sizeof kCrashSignals / sizeof kCrashSignals[0]; ++i) {
        sigaction(kCrashSignals[i], &action, &gPreviousActions[i]);
    }
}

}  // namespace

bool RawMode::Enter(int fd) {
    if (!saved_) {
        if (tcgetattr(fd, &original_) != 0) return false;
        fd_ = fd;
        saved_ = true;
        InstallCrashHandlers(fd_, outputFd_, original_);
    }
    termios raw = original_;
    // Keys arrive one by one, unechoed; Enter comes as CR and Ctrl-S and Ctrl-V are plain
    // keys. Output processing stays, so "\n" still starts a new row.
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
    raw.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR | IGNCR | ISTRIP | IXON);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    // Typed-ahead keys are kept, not flushed.
    if (tcsetattr(fd_, TCSANOW, &raw) != 0) return false;
    (void)!write(outputFd_, kPasteOn, sizeof kPasteOn - 1);
    entered_ = true;
    return true;
}

void RawMode::Leave() {
    if (!entered_) return;
    entered_ = false;
    // A program put in the background is stopped by SIGTTOU when it changes the terminal;
    // on the way out it must not wait for that.
    sigset_t block;
    sigset_t previous;
    sigemptyset(&block);
    sigaddset(&block, SIGTTOU);
    sigprocmask(SIG_BLOCK, &block, &previous);
    (void)!write(outputFd_, kPasteOff, sizeof kPasteOff - 1);
    tcsetattr(fd_, TCSANOW, &original_);
    sigprocmask(SIG_SETMASK, &previous, nullptr);
}
