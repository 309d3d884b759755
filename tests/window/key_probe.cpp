// Preloaded into a window program (LD_PRELOAD) to follow its keys without changing it. It counts
// the key and character events GLFW delivers to the program and those the program passes on to
// the GUI toolkit's callbacks (a program that sets no callback over the toolkit's feeds each
// event as it comes), and notes each wait for events that begins while some are still held back,
// unless it is a wait of at most a frame (the frame rate's). After every wait it rewrites the
// report, TARNWICK_WAIT_REPORT:
//   received=R fed=F held_waits=H
// With TARNWICK_KEY_LOG set, it also writes one line per character once it is on screen: the
// frames swapped from its arrival up to the first that shows it, and the milliseconds between.
#include <dlfcn.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <deque>

struct GLFWwindow;

namespace {

using KeyFunction = void (*)(GLFWwindow*, int, int, int, int);
using CharFunction = void (*)(GLFWwindow*, unsigned int);

// The longest wait allowed while events are held back: a frame at 60 a second, and a little.
constexpr double kFrameWaitSeconds = 1.0 / 60.0 + 0.001;

long received = 0;
long fed = 0;
long heldWaits = 0;
KeyFunction programKey = nullptr;  // what GLFW calls, through CountReceivedKey
KeyFunction toolkitKey = nullptr;  // what the program passes keys on to, through CountFedKey
CharFunction programChar = nullptr;
CharFunction toolkitChar = nullptr;

// A character on its way to the screen.
struct Arrival {
    long swapsBefore;
    double seconds;
    bool fed;
};
std::deque<Arrival> arriving;
long swaps = 0;

double Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Appends one character's way to the screen to the key log, if there is one.
void LogShown(long frames, double seconds) {
    static std::FILE* const log = [] {
        const char* path = std::getenv("TARNWICK_KEY_LOG");
        return path != nullptr ? std::fopen(path, "w") : nullptr;
    }();
    if (log == nullptr) return;
    std::fprintf(log, "%ld %.3f\n", frames, seconds * 1e3);
    std::fflush(log);
}

template <typename Function>
Function Real(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

void CountReceivedKey(GLFWwindow* window, int key, int scancode, int action, int mods) {
    ++received;
    if (toolkitKey == nullptr) ++fed;
    programKey(window, key, scancode, action, mods);
}

void CountFedKey(GLFWwindow* window, int key, int scancode, int action, int mods) {
    ++fed;
    toolkitKey(window, key, scancode, action, mods);
}

void CountReceivedChar(GLFWwindow* window, unsigned int codePoint) {
    ++received;
    arriving.push_back({swaps, Now(), toolkitChar == nullptr});
    if (toolkitChar == nullptr) ++fed;
    programChar(window, codePoint);
}

void CountFedChar(GLFWwindow* window, unsigned int codePoint) {
    ++fed;
    for (Arrival& key : arriving) {
        if (!key.fed) {
            key.fed = true;
            break;
        }
    }
    toolkitChar(window, codePoint);
}

void BeforeWait(bool timed, double timeout) {
    if (received > fed && (!timed || timeout > kFrameWaitSeconds)) ++heldWaits;
    const char* path = std::getenv("TARNWICK_WAIT_REPORT");
    if (path == nullptr) return;
    if (std::FILE* report = std::fopen(path, "w")) {
        std::fprintf(report, "received=%ld fed=%ld held_waits=%ld\n", received, fed, heldWaits);
        std::fclose(report);
    }
}

}  // namespace

extern "C" {

// The first callback set is the toolkit's; the program sets its own over it and calls the one
// it got back, which is handed out counting.
KeyFunction glfwSetKeyCallback(GLFWwindow* window, KeyFunction callback) {
    static const auto real = Real<KeyFunction (*)(GLFWwindow*, KeyFunction)>("glfwSetKeyCallback");
    const KeyFunction previous = programKey;
    programKey = callback;
    real(window, callback != nullptr ? CountReceivedKey : nullptr);
    if (previous == nullptr) return nullptr;
    toolkitKey = previous;
    return CountFedKey;
}

CharFunction glfwSetCharCallback(GLFWwindow* window, CharFunction callback) {
    static const auto real =
        Real<CharFunction (*)(GLFWwindow*, CharFunction)>("glfwSetCharCallback");
    const CharFunction previous = programChar;
    programChar = callback;
    real(window, callback != nullptr ? CountReceivedChar : nullptr);
    if (previous == nullptr) return nullptr;
    toolkitChar = previous;
    return CountFedChar;
}

void glfwWaitEvents() {
    static const auto real = Real<void (*)()>("glfwWaitEvents");
    BeforeWait(false, 0.0);
    real();
}

void glfwWaitEventsTimeout(double timeout) {
    static const auto real = Real<void (*)(double)>("glfwWaitEventsTimeout");
    BeforeWait(true, timeout);
    real(timeout);
}

void glfwSwapBuffers(GLFWwindow* window) {
    static const auto real = Real<void (*)(GLFWwindow*)>("glfwSwapBuffers");
    real(window);
    ++swaps;
    const double now = Now();
    while (!arriving.empty() && arriving.front().fed) {
        const Arrival key = arriving.front();
        arriving.pop_front();
        LogShown(swaps - key.swapsBefore, now - key.seconds);
    }
}

}  // extern "C"
