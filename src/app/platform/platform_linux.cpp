#include "app/platform/platform.h"

#include <csignal>

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::string ProgramPath() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? "" : path.string();
}

void SetUpProcess(TimerPeriodRequest) {
    // A service that closes its socket (Speech Dispatcher, the session bus) must not end the game
    // with the write after it: the write fails instead, and the caller hears of it.
    std::signal(SIGPIPE, SIG_IGN);
}
