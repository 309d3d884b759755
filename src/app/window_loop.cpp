#include "app/window_loop.h"

#include <GLFW/glfw3.h>
#include <backends/imgui_impl_glfw.h>
#include <backends/imgui_impl_opengl2.h>
#include <imgui.h>

#include <algorithm>
#include <utility>

#include "app/window_input.h"
#include "console/console.h"
#include "session/play_session.h"
#include "session/wake.h"

namespace {

constexpr float kClearColour[4] = {palette::kClear.red / 255.0f, palette::kClear.green / 255.0f,
                                   palette::kClear.blue / 255.0f, 1.0f};
// The console covers the window, so the clear that starts its frames is its background fill.
constexpr float kConsoleColour[4] = {Console::kBackground.red / 255.0f,
                                     Console::kBackground.green / 255.0f,
                                     Console::kBackground.blue / 255.0f, 1.0f};
// The splash ends once its time has strictly passed; woken a hair later, the first frame then
// already shows the console.
constexpr double kPastSplashEnd = 1e-6;

// A key or button held down: the toolkit repeats keys and drags the scrollbar frame by frame.
bool AnyHeld(const ImGuiIO& io) {
    for (bool down : io.KeysDown) {
        if (down) return true;
    }
    for (bool down : io.MouseDown) {
        if (down) return true;
    }
    return false;
}

void ClearWindow(const ImGuiIO& io, const float (&colour)[4]) {
    glViewport(0, 0, static_cast<int>(io.DisplaySize.x), static_cast<int>(io.DisplaySize.y));
    glClearColor(colour[0], colour[1], colour[2], colour[3]);
    glClear(GL_COLOR_BUFFER_BIT);
}

}  // namespace

WindowLoop::WindowLoop(GLFWwindow* window, WindowInput& input, std::optional<SplashTexture> splash,
                       PlaySession& session)
    : window_(window),
      input_(input),
      splash_(std::move(splash)),
      session_(session),
      start_(glfwGetTime()),
      now_(start_),
      changesDrawn_(session.console().Changes()),
      splashOver_(!splash_.has_value()) {
    schedule_.RequestFrame();
}

void WindowLoop::Run() {
    while (!glfwWindowShouldClose(window_)) {
        Sleep();
        now_ = glfwGetTime();
        TakeEvents();
        // Keys waiting for this wake's frame may submit a line there, which the game must see
        // before its update at this time, so that a line typed as a step falls due wins the
        // race: that frame plays the game after them. Otherwise (or minimised, with no frames)
        // the game plays first, so that a timed text is in the frame built now.
        const bool keysFirst = KeysFirst();
        if (!keysFirst) PlayGame("");
        // Minimised, requests wait until the window is shown again.
        if (!input_.Iconified() && schedule_.TakeFrame(now_)) BuildFrame(keysFirst);
        ScheduleFrames();
    }
}

bool WindowLoop::KeysFirst() const {
    return input_.Pending() && !input_.Iconified();
}

void WindowLoop::Sleep() {
    const double now = glfwGetTime();
    wake::Sources sources;
    sources.gameChangeIn = GameChangeIn(now);
    if (!input_.Iconified()) {
        sources.inputWaiting = input_.Pending();
        sources.timedFrameIn = schedule_.FrameWantedIn(now);
        sources.frameAllowedIn = schedule_.FrameAllowedIn(now);
    }
    const double wait = wake::PlatformWaitFor(sources);
    if (wait == wake::kNever) {
        glfwWaitEvents();
    } else if (wait > 0.0) {
        glfwWaitEventsTimeout(wait);
    } else {
        glfwPollEvents();
    }
}

void WindowLoop::TakeEvents() {
    if (input_.TakeExposed()) {
        redraw_ = true;
        drawnFrame_.Forget();
    }
    const ImGuiIO& io = ImGui::GetIO();
    if (input_.TakeActivity() || redraw_ || input_.Pending() || AnyHeld(io)) {
        schedule_.RequestFrame();
    }
    if (!splashOver_ && SplashDismissed(io, now_ - GameOrigin())) {
        splashOver_ = true;
        schedule_.RequestFrame();
    }
}

double WindowLoop::GameChangeIn(double now) const {
    if (!splashOver_) return wake::kNever;
    const std::optional<double> next = session_.SecondsToNextChange();
    return next ? GameOrigin() + session_.Now() + *next - now : wake::kNever;
}

void WindowLoop::PlayGame(const std::string& line) {
    if (!splashOver_) return;
    // The game's clock is moved on by frame times, as in every front end, from the reading it
    // has to this wake's: it never drifts from the window's clock.
    session_.Frame(static_cast<float>(std::max(0.0, now_ - (GameOrigin() + session_.Now()))), line);
    if (session_.console().Changes() != changesDrawn_) schedule_.RequestFrame();
}

void WindowLoop::BuildFrame(bool keysFirst) {
    input_.FeedFrame(splashOver_ && !session_.console().InputActive());
    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplGlfw_NewFrame();
    ImGui::NewFrame();
    if (!splashOver_ && SplashDismissed(ImGui::GetIO(), now_ - GameOrigin())) splashOver_ = true;
    if (splashOver_) {
        PresentConsole(keysFirst);
    } else {
        PresentSplash();
    }
}

void WindowLoop::PresentSplash() {
    ImGui::EndFrame();
    if (!redraw_) return;
    ClearWindow(ImGui::GetIO(), kClearColour);
    DrawSplash(*splash_);
    glfwSwapBuffers(window_);
    redraw_ = false;
}

void WindowLoop::PresentConsole(bool keysFirst) {
    Console& console = session_.console();
    const std::string line = console.Draw();
    changesDrawn_ = console.Changes();
    if (!rewrapDone_) {
        // The welcome text was laid out before the window was measured.
        session_.Rewrap();
        rewrapDone_ = true;
    }
    const double caret = console.CaretChangeIn();
    caretAt_ = caret >= 0.0 ? now_ + caret : FrameSchedule::kNever;
    if (keysFirst || !line.empty()) PlayGame(line);

    ImGui::Render();
    const bool changed = drawnFrame_.Changed(*ImGui::GetDrawData());
    if (changed || redraw_) {
        ClearWindow(ImGui::GetIO(), kConsoleColour);
        ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
        glfwSwapBuffers(window_);
        redraw_ = false;
    }
    // A change can bring another in the next frame (a scroll, the focus).
    if (changed) schedule_.RequestFrame();
}

void WindowLoop::ScheduleFrames() {
    if (input_.Pending()) schedule_.RequestFrame();
    if (!splashOver_) {
        schedule_.RequestFrameAt(GameOrigin() + kSplashTimeout + kPastSplashEnd);
    } else {
        const bool seen = input_.Focused() && !input_.Iconified();
        schedule_.RequestFrameAt(seen ? caretAt_ : FrameSchedule::kNever);
    }
}
