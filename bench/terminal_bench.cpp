// tarnwick-text at rest and on time, in a pseudo-terminal as a player has it: how often the
// program wakes while nothing is due, and how late each timed text of a short playthrough comes
// after its due time.
//   terminal_bench   (prints the figures; see docs/performance.md)

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "text/program_runner.h"

namespace {

using Clock = std::chrono::steady_clock;
const std::vector<std::string> kTerminal = {"TERM=xterm-256color", "NO_COLOR=1"};

// Voluntary and involuntary context switches: every wake-up of the program is one.
long ContextSwitches(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    long total = 0;
    for (std::string line; std::getline(status, line);) {
        if (line.find("ctxt_switches:") != std::string::npos) {
            total += std::stol(line.substr(line.find(':') + 1));
        }
    }
    return total;
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
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

    // Lateness, at ten times real time: each timed text against the moment it is due, from the
    // welcome or from the typed line that started its scene (as the echo shows it).
    constexpr double kPace = 10.0;
    const struct {
        const char* typed;  // typed first, when not null; its echo starts the clock again
        const char* text;
        double gameSeconds;  // due this long after the welcome or the echo
    } timed[] = {
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
    for (const auto& step : timed) {
        if (step.typed != nullptr) {
            terminal.Type(std::string(step.typed) + "\r");
            if (!terminal.WaitFor(std::string("> ") + step.typed + "\r\n")) return 1;
            start = Clock::now();
        }
        if (!terminal.WaitFor(step.text)) return 1;
        const double late = (SecondsSince(start) - step.gameSeconds / kPace) * 1000.0;
        worst = std::max(worst, late);
        std::printf("terminal timed text %-40s %6.1f ms late\n", step.text, late);
    }
    std::printf("terminal timed texts: at most %.1f ms late (goal <= 20)\n", worst);
    return 0;
}
