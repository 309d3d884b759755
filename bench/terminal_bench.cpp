// tarnwick-text in a pseudo-terminal as a player has it: how often it wakes while nothing is due,
// and how late each timed text of a short playthrough comes (see docs/performance.md).

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <tuple>

#include "text/program_runner.h"

namespace {

using Clock = std::chrono::steady_clock;
const std::vector<std::string> kTerminal = {"TERM=xterm-256color", "NO_COLOR=1"};

// Every wake-up of the program is a context switch, voluntary or not.
long ContextSwitches(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    long total = 0;
    for (std::string line; std::getline(status, line);) {
        if (line.find("ctxt_switches:") != std::string::npos)
            total += std::stol(line.substr(line.find(':') + 1));
    }
    return total;
}

}  // namespace

int main() {
    // Idle: the welcome shown, nothing typed, no timed text due for the 10 s measured.
    constexpr double kIdleSeconds = 10.0;
    {
        TerminalRun terminal({}, 80, kTerminal);
        if (!terminal.WaitFor("know.")) return 1;
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const long before = ContextSwitches(terminal.pid());
        std::this_thread::sleep_for(std::chrono::duration<double>(kIdleSeconds));
        const long wakeUps = ContextSwitches(terminal.pid()) - before;
        std::printf("terminal idle: %ld wake-ups in %.0f s = %.2f per second (goal <= 2)\n",
                    wakeUps, kIdleSeconds, wakeUps / kIdleSeconds);
    }

    // At ten times real time: what is typed first (its echo restarts the clock), text, game s due.
    const std::tuple<const char*, const char*, double> timed[] = {
        {nullptr, "You can do this! Write I understand.", 20.0},
        {nullptr, "Testing my patience bro?", 35.0},
        {nullptr, "Just type in I underst", 45.0},
        {"i understand", "Is that a yes or no pal?", 15.0},
        {"yes", "Push the red button...", 15.0},
    };
    TerminalRun terminal({"--pace", "10"}, 100, kTerminal);
    if (!terminal.WaitFor("know.")) return 1;
    Clock::time_point start = Clock::now();
    double worst = 0.0;
    for (const auto& [typed, text, gameSeconds] : timed) {
        if (typed != nullptr) {
            terminal.Type(std::string(typed) + "\r");
            if (!terminal.WaitFor(std::string("> ") + typed + "\r\n")) return 1;
            start = Clock::now();
        }
        if (!terminal.WaitFor(text)) return 1;
        const double late =
            std::chrono::duration<double, std::milli>(Clock::now() - start).count() -
            gameSeconds * 100;
        worst = std::max(worst, late);
        std::printf("terminal timed text %-40s %6.1f ms late\n", text, late);
    }
    std::printf("terminal timed texts: at most %.1f ms late (goal <= 20)\n", worst);
    return 0;
}
