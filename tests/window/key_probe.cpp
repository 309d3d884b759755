// Preloaded into a window program (LD_PRELOAD) to follow its keys without changing it. It counts
// the key and character events GLFW delivers to the program and those the program passes on to
// the GUI toolkit's callbacks (a program that sets no callback over the toolkit's feeds each
// event as it comes), and notes each wait for events that begins while some are still held back,
// unless it is a wait of at most a frame (the frame rate's). After every wait it rewrites the
// report, TARNWICK_WAIT_REPORT, with the frames swapped so far:
//   received=R fed=F held_waits=H swaps=S
// With TARNWICK_KEY_LOG set, it also writes one line per character once it is on screen: the
// frames swapped from its arrival up to the first that shows it, and the milliseconds between.
// With TARNWICK_CLOCK_JUMP set to a file's path, the next Enter pressed while that file exists
// moves the program's clock (glfwGetTime) on by the seconds it holds, and removes it: that
// Enter then comes in the same wake as everything due in those seconds. With
// TARNWICK_CLOCK_HOLD set to a file's path, the next Enter pressed while that file exists stops
// the clock the seconds it holds after that Enter, until the file is removed; the clock then goes
// on from where it stood. Once the program has played and drawn a wake at the stop, "held" is
// written into the file.
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <deque>

#include "session/wake.h"

struct GLFWwindow;
extern "C" double glfwGetTime();

namespace {

using KeyFunction = void (*)(GLFWwindow*, int, int, int, int);
using CharFunction = void (*)(GLFWwindow*, unsigned int);

// The longest wait allowed while events are held back: a frame at 60 a second, and a little.
constexpr double kFrameWaitSeconds = wake::kFrameSeconds + 0.001;

long received = 0;
long fed = 0;
long heldWaits = 0;
long swaps = 0;
double clockJump = 0.0;
double holdAt = -1.0;  // where the clock stops; negative when it runs
int waitsAtHold = 0;

// The program's callback that GLFW calls, and the toolkit's that the program passes events on
// to; none for a program that sets no callback over the toolkit's.
template <typename Function>
struct Chain {
    Function program = nullptr;
    Function toolkit = nullptr;
};
Chain<KeyFunction> keys;
Chain<CharFunction> characters;

// Characters in order of arrival, not yet on screen: the swaps before each came and when.
struct Arrival {
    long swapsBefore;
    double seconds;
};
std::deque<Arrival> arriving;
std::size_t charactersFed = 0;  // of `arriving`, the first ones, fed but not yet swapped

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

void CountFedKey(GLFWwindow* window, int key, int scancode, int action, int mods) {
    ++fed;
    keys.toolkit(window, key, scancode, action, mods);
}

// GLFW's Enter and press.
constexpr int kEnter = 257;
constexpr int kPress = 1;

void JumpClockIfAsked() {
    const char* path = std::getenv("TARNWICK_CLOCK_JUMP");
    std::FILE* file = path != nullptr ? std::fopen(path, "r") : nullptr;
    if (file == nullptr) return;
    double seconds = 0.0;
    if (std::fscanf(file, "%lf", &seconds) == 1) clockJump += seconds;
    std::fclose(file);
    std::remove(path);
}

void HoldClockIfAsked() {
    const char* path = std::getenv("TARNWICK_CLOCK_HOLD");
    std::FILE* file = path != nullptr && holdAt < 0.0 ? std::fopen(path, "r") : nullptr;
    if (file == nullptr) return;
    double seconds = 0.0;
    if (std::fscanf(file, "%lf", &seconds) == 1) holdAt = glfwGetTime() + seconds;
    std::fclose(file);
}

void CountReceivedKey(GLFWwindow* window, int key, int scancode, int action, int mods) {
    ++received;
    if (key == kEnter && action == kPress) {
        JumpClockIfAsked();
        HoldClockIfAsked();
    }
    if (keys.toolkit == nullptr) ++fed;
    keys.program(window, key, scancode, action, mods);
}

void CountFedChar(GLFWwindow* window, unsigned int codePoint) {
    ++fed;
    ++charactersFed;
    characters.toolkit(window, codePoint);
}

void CountReceivedChar(GLFWwindow* window, unsigned int codePoint) {
    ++received;
    arriving.push_back({swaps, Now()});
    if (characters.toolkit == nullptr) {
        ++fed;
        ++charactersFed;
    }
    characters.program(window, codePoint);
}

// The first callback set is the toolkit's; the program sets its own over it and calls the one
// it got back, which is handed out counting.
template <typename Function>
Function SetCallback(const char* name, GLFWwindow* window, Function callback,
                     Chain<Function>& chain, Function receiving, Function feeding) {
    const Function previous = chain.program;
    chain.program = callback;
    Real<Function (*)(GLFWwindow*, Function)>(name)(window,
                                                    callback != nullptr ? receiving : nullptr);
    if (previous == nullptr) return nullptr;
    chain.toolkit = previous;
    return feeding;
}

void BeforeWait(bool timed, double timeout) {
    if (received > fed && (!timed || timeout > kFrameWaitSeconds)) ++heldWaits;
    // The first wait at the stop can begin before the wake that plays the game there.
    if (holdAt >= 0.0 && glfwGetTime() == holdAt && ++waitsAtHold == 2) {
        if (std::FILE* file = std::fopen(std::getenv("TARNWICK_CLOCK_HOLD"), "w")) {
            std::fputs("held\n", file);
            std::fclose(file);
        }
    }
    const char* path = std::getenv("TARNWICK_WAIT_REPORT");
    if (path == nullptr) return;
    if (std::FILE* report = std::fopen(path, "w")) {
        std::fprintf(report, "received=%ld fed=%ld held_waits=%ld swaps=%ld\n", received, fed,
                     heldWaits, swaps);
        std::fclose(report);
    }
}

}  // namespace

extern "C" {

KeyFunction glfwSetKeyCallback(GLFWwindow* window, KeyFunction callback) {
    return SetCallback("glfwSetKeyCallback", window, callback, keys, CountReceivedKey, CountFedKey);
}

CharFunction glfwSetCharCallback(GLFWwindow* window, CharFunction callback) {
    return SetCallback("glfwSetCharCallback", window, callback, characters, CountReceivedChar,
                       CountFedChar);
}

double glfwGetTime() {
    static const auto real = Real<double (*)()>("glfwGetTime");
    const double now = real() + clockJump;
    const double stop = holdAt;
    if (stop < 0.0 || now <= stop) return now;
    if (access(std::getenv("TARNWICK_CLOCK_HOLD"), F_OK) != 0) {  // let go: on from the stop
        clockJump -= now - stop;
        holdAt = -1.0;
        waitsAtHold = 0;
    }
    return stop;
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
    for (; charactersFed > 0 && !arriving.empty(); --charactersFed) {
        LogShown(swaps - arriving.front().swapsBefore, now - arriving.front().seconds);
        arriving.pop_front();
    }
}

}  // extern "C"
