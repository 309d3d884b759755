// Preloaded into a GLFW program (LD_PRELOAD) to time it from outside without changing it. It
// wraps glfwSwapBuffers: notes when the first frame is shown, then counts frames and the
// process's CPU time (all threads, the software renderer's included) over a stretch of wall
// time, writes the figures and asks the window to close. The stretch is also checked whenever
// the program polls or waits for events, so that a program that draws nothing while idle is
// measured all the same. Set by the caller:
//   TARNWICK_PROBE_REPORT    file to write; without it the probe only passes calls on
//   TARNWICK_PROBE_START_US  wall clock (CLOCK_REALTIME, microseconds) at the program's launch
//   TARNWICK_PROBE_FROM      seconds after the first swap when counting starts (default 5)
//   TARNWICK_PROBE_FOR       seconds counted (default 5)
// The report is one line: wall and CPU time from launch to the first swap, then the frames, CPU
// and wall time counted, and the peak resident memory:
//   first_swap_ms=F first_swap_cpu_ms=S frames=N cpu_ms=C wall_ms=W peak_rss_kib=M

#include <dlfcn.h>
#include <time.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

struct GLFWwindow;

namespace {

using SwapBuffersFunction = void (*)(GLFWwindow*);
using PollEventsFunction = void (*)();
using WaitEventsTimeoutFunction = void (*)(double);
using SetShouldCloseFunction = void (*)(GLFWwindow*, int);

double Seconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double SecondsFromEnvironment(const char* name, double fallback) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return fallback;
    char* end = nullptr;
    const double parsed = std::strtod(value, &end);
    return *end == '\0' ? parsed : fallback;
}

// Peak resident memory so far (VmHWM), in KiB, or -1 when it cannot be read.
long PeakResidentKib() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

void* Real(const char* name) {
    void* function = dlsym(RTLD_NEXT, name);
    if (function == nullptr) {
        std::fprintf(stderr, "swap_probe: %s not found\n", name);
        std::abort();
    }
    return function;
}

class Probe {
public:
    Probe()
        : reportPath_(std::getenv("TARNWICK_PROBE_REPORT")),
          countFrom_(SecondsFromEnvironment("TARNWICK_PROBE_FROM", 5.0)),
          countFor_(SecondsFromEnvironment("TARNWICK_PROBE_FOR", 5.0)) {
        // Launched without a start time, the first swap is timed from the probe's loading.
        const double started = SecondsFromEnvironment("TARNWICK_PROBE_START_US", -1.0);
        launched_ = started >= 0.0 ? started * 1e-6 : Seconds(CLOCK_REALTIME);
    }

    void Swap(GLFWwindow* window) {
        if (swapBuffers_ == nullptr) {
            swapBuffers_ = reinterpret_cast<SwapBuffersFunction>(Real("glfwSwapBuffers"));
        }
        swapBuffers_(window);
        if (reportPath_ == nullptr || done_) return;

        const double now = Seconds(CLOCK_REALTIME);
        ++frames_;
        window_ = window;
        if (frames_ == 1) {
            firstSwap_ = now;
            firstSwapCpu_ = Seconds(CLOCK_PROCESS_CPUTIME_ID);
            return;
        }
        Check(now);
    }

    void PollEvents() {
        if (pollEvents_ == nullptr) {
            pollEvents_ = reinterpret_cast<PollEventsFunction>(Real("glfwPollEvents"));
        }
        pollEvents_();
        Check(Seconds(CLOCK_REALTIME));
    }

    void WaitEventsTimeout(double timeout) {
        if (waitEventsTimeout_ == nullptr) {
            waitEventsTimeout_ =
                reinterpret_cast<WaitEventsTimeoutFunction>(Real("glfwWaitEventsTimeout"));
        }
        waitEventsTimeout_(timeout);
        Check(Seconds(CLOCK_REALTIME));
    }

private:
    // Between frames, and whenever the program polls or waits for events.
    void Check(double now) {
        if (reportPath_ == nullptr || done_ || frames_ == 0) return;
        if (countStart_ < 0.0 && now - firstSwap_ >= countFrom_) {
            countStart_ = now;
            cpuAtStart_ = Seconds(CLOCK_PROCESS_CPUTIME_ID);
            framesAtStart_ = frames_;
        } else if (countStart_ >= 0.0 && now - countStart_ >= countFor_) {
            Report(now);
            done_ = true;
            reinterpret_cast<SetShouldCloseFunction>(Real("glfwSetWindowShouldClose"))(window_, 1);
        }
    }

    void Report(double now) {
        std::FILE* out = std::fopen(reportPath_, "w");
        if (out == nullptr) {
            std::fprintf(stderr, "swap_probe: cannot write %s: %s\n", reportPath_,
                         std::strerror(errno));
            return;
        }
        std::fprintf(
            out,
            "first_swap_ms=%.3f first_swap_cpu_ms=%.3f frames=%ld cpu_ms=%.3f wall_ms=%.3f "
            "peak_rss_kib=%ld\n",
            (firstSwap_ - launched_) * 1e3, firstSwapCpu_ * 1e3, frames_ - framesAtStart_,
            (Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpuAtStart_) * 1e3, (now - countStart_) * 1e3,
            PeakResidentKib());
        std::fclose(out);
    }

    const char* reportPath_;
    double countFrom_;
    double countFor_;
    double launched_ = 0.0;
    SwapBuffersFunction swapBuffers_ = nullptr;
    PollEventsFunction pollEvents_ = nullptr;
    WaitEventsTimeoutFunction waitEventsTimeout_ = nullptr;
    GLFWwindow* window_ = nullptr;
    bool done_ = false;
    long frames_ = 0;
    double firstSwap_ = 0.0;
    double firstSwapCpu_ = 0.0;
    double countStart_ = -1.0;
    double cpuAtStart_ = 0.0;
    long framesAtStart_ = 0;
};

Probe probe;

}  // namespace

extern "C" void glfwSwapBuffers(GLFWwindow* window) {
    probe.Swap(window);
}

extern "C" void glfwPollEvents() {
    probe.PollEvents();
}

extern "C" void glfwWaitEventsTimeout(double timeout) {
    probe.WaitEventsTimeout(timeout);
}
