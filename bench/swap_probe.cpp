// Preloaded into a GLFW program (LD_PRELOAD) to time it from outside without changing it. It
// wraps glfwSwapBuffers: notes when the first frame is shown, then counts frames and the
// process's CPU time (all threads, the software renderer's included) over a stretch of wall
// time, writes the figures and asks the window to close. The stretch is also checked whenever
// the program polls or waits for events, and the probe wakes it as the stretch starts and ends,
// so that a program that draws nothing while idle is measured all the same. Set by the caller:
//   TARNWICK_PROBE_REPORT    file to write; without it the probe only passes calls on
//   TARNWICK_PROBE_START_US  wall clock (CLOCK_REALTIME, microseconds) at the program's launch
//   TARNWICK_PROBE_FROM      seconds after the first swap when counting starts (default 5)
//   TARNWICK_PROBE_FOR       seconds counted (default 5)
// The report is one line: wall and CPU time from launch to the first swap, then the frames, CPU
// and wall time counted, the peak resident memory, the event polls and wake-ups (the probe's last
// one included), the context switches, and the frames after a wait that ran to its time-out
// (timed: a text due, a caret blink) with how late they came, at most and on average. That
// lateness is then split in two, on average: how late the wait itself returned after its
// time-out, and the wake's work from there to the end of the swap, in wall time and in the
// main thread's CPU time. Last, every wait that ran to its time-out, a frame after it or not:
// how many, and how late they returned, at most and on average (the kernel's timer slack and the
// scheduler, nothing the program does):
//   first_swap_ms=F first_swap_cpu_ms=S frames=N cpu_ms=C wall_ms=W peak_rss_kib=M wakeups=U
//   context_switches=X timed_frames=T late_max_ms=L late_mean_ms=A woke_late_mean_ms=K
//   work_mean_ms=B work_cpu_mean_ms=P timeouts=O overshoot_max_ms=Q overshoot_mean_ms=R

#include <dlfcn.h>
#include <sys/resource.h>
#include <time.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

struct GLFWwindow;

namespace {

using SwapBuffersFunction = void (*)(GLFWwindow*);
using PollEventsFunction = void (*)();  // glfwWaitEvents and glfwPostEmptyEvent too
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

// Voluntary and involuntary context switches so far, of all the process's threads.
long ContextSwitches() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw + usage.ru_nivcsw;
}

void* Real(const char* name) {
    void* function = dlsym(RTLD_NEXT, name);
    if (function == nullptr) {
        std::fprintf(stderr, "swap_probe: %s not found\n", name);
        std::abort();
    }
    return function;
}

// A sum of seconds over `count` events, as milliseconds each; 0 for none.
double Mean(double sum, long count) {
    return count > 0 ? sum * 1e3 / static_cast<double>(count) : 0.0;
}

// GLFW rounds a time-out down to whole microseconds.
constexpr double kTimeoutSlack = 1e-5;

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
        if (timedWake_ >= 0.0 && countStart_ >= 0.0) {
            ++timedFrames_;
            lateSum_ += now - timedWake_;
            if (now - timedWake_ > lateMax_) lateMax_ = now - timedWake_;
            wokeLateSum_ += wokeAt_ - timedWake_;
            workSum_ += now - wokeAt_;
            workCpuSum_ += Seconds(CLOCK_THREAD_CPUTIME_ID) - wokeCpu_;
        }
        timedWake_ = -1.0;
        if (frames_ == 1) {
            firstSwap_ = now;
            firstSwapCpu_ = Seconds(CLOCK_PROCESS_CPUTIME_ID);
            WakeAtStretchEnds();
            return;
        }
        Check(now);
    }

    void PollEvents() {
        if (pollEvents_ == nullptr) {
            pollEvents_ = reinterpret_cast<PollEventsFunction>(Real("glfwPollEvents"));
        }
        pollEvents_();
        ++wakeups_;
        Check(Seconds(CLOCK_REALTIME));
    }

    void WaitEvents() {
        if (waitEvents_ == nullptr) {
            waitEvents_ = reinterpret_cast<PollEventsFunction>(Real("glfwWaitEvents"));
        }
        waitEvents_();
        ++wakeups_;
        timedWake_ = -1.0;
        Check(Seconds(CLOCK_REALTIME));
    }

    void WaitEventsTimeout(double timeout) {
        if (waitEventsTimeout_ == nullptr) {
            waitEventsTimeout_ =
                reinterpret_cast<WaitEventsTimeoutFunction>(Real("glfwWaitEventsTimeout"));
        }
        const double due = Seconds(CLOCK_REALTIME) + timeout;
        waitEventsTimeout_(timeout);
        const double now = Seconds(CLOCK_REALTIME);
        ++wakeups_;
        // Woken by its time-out rather than by an event; the next frame is the timed one.
        timedWake_ = now >= due - kTimeoutSlack ? due : -1.0;
        if (timedWake_ >= 0.0) {
            wokeAt_ = now;
            wokeCpu_ = Seconds(CLOCK_THREAD_CPUTIME_ID);
            if (countStart_ >= 0.0) {
                ++timeouts_;
                overshootSum_ += now - due;
                if (now - due > overshootMax_) overshootMax_ = now - due;
            }
        }
        Check(now);
    }

private:
    // Wakes a program asleep until input as the stretch starts and ends, to measure it.
    void WakeAtStretchEnds() const {
        std::thread([from = countFrom_, length = countFor_] {
            const auto wake = reinterpret_cast<PollEventsFunction>(Real("glfwPostEmptyEvent"));
            std::this_thread::sleep_for(std::chrono::duration<double>(from + 0.001));
            wake();
            std::this_thread::sleep_for(std::chrono::duration<double>(length + 0.001));
            wake();
        }).detach();
    }

    // Between frames, and whenever the program polls or waits for events.
    void Check(double now) {
        if (reportPath_ == nullptr || done_ || frames_ == 0) return;
        if (countStart_ < 0.0 && now - firstSwap_ >= countFrom_) {
            countStart_ = now;
            cpuAtStart_ = Seconds(CLOCK_PROCESS_CPUTIME_ID);
            framesAtStart_ = frames_;
            wakeupsAtStart_ = wakeups_;
            switchesAtStart_ = ContextSwitches();
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
            "peak_rss_kib=%ld wakeups=%ld context_switches=%ld timed_frames=%ld "
            "late_max_ms=%.3f late_mean_ms=%.3f woke_late_mean_ms=%.3f work_mean_ms=%.3f "
            "work_cpu_mean_ms=%.3f timeouts=%ld overshoot_max_ms=%.3f overshoot_mean_ms=%.3f\n",
            (firstSwap_ - launched_) * 1e3, firstSwapCpu_ * 1e3, frames_ - framesAtStart_,
            (Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpuAtStart_) * 1e3, (now - countStart_) * 1e3,
            PeakResidentKib(), wakeups_ - wakeupsAtStart_, ContextSwitches() - switchesAtStart_,
            timedFrames_, lateMax_ * 1e3, Mean(lateSum_, timedFrames_),
            Mean(wokeLateSum_, timedFrames_), Mean(workSum_, timedFrames_),
            Mean(workCpuSum_, timedFrames_), timeouts_, overshootMax_ * 1e3,
            Mean(overshootSum_, timeouts_));
        std::fclose(out);
    }

    const char* reportPath_;
    double countFrom_;
    double countFor_;
    double launched_ = 0.0;
    SwapBuffersFunction swapBuffers_ = nullptr;
    PollEventsFunction pollEvents_ = nullptr;
    WaitEventsTimeoutFunction waitEventsTimeout_ = nullptr;
    PollEventsFunction waitEvents_ = nullptr;
    GLFWwindow* window_ = nullptr;
    bool done_ = false;
    long frames_ = 0;
    double firstSwap_ = 0.0;
    double firstSwapCpu_ = 0.0;
    double countStart_ = -1.0;
    double cpuAtStart_ = 0.0;
    long framesAtStart_ = 0;
    long wakeups_ = 0, wakeupsAtStart_ = 0, switchesAtStart_ = 0, timedFrames_ = 0;
    // The time a wait that ran to its time-out was for, until the next frame; -1 when none.
    double timedWake_ = -1.0;
    // When that wait returned, on the wall clock and the main thread's CPU clock.
    double wokeAt_ = 0.0, wokeCpu_ = 0.0;
    double lateSum_ = 0.0, lateMax_ = 0.0, wokeLateSum_ = 0.0, workSum_ = 0.0, workCpuSum_ = 0.0;
    long timeouts_ = 0;
    double overshootSum_ = 0.0, overshootMax_ = 0.0;
};

Probe probe;

}  // namespace

extern "C" void glfwSwapBuffers(GLFWwindow* window) {
    probe.Swap(window);
}

extern "C" void glfwPollEvents() {
    probe.PollEvents();
}

extern "C" void glfwWaitEvents() {
    probe.WaitEvents();
}

extern "C" void glfwWaitEventsTimeout(double timeout) {
    probe.WaitEventsTimeout(timeout);
}
