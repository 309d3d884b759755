#include "app/window_loop.h"

#include <GLFW/glfw3.h>
#include <backends/imgui_impl_glfw.h>
#include <backends/imgui_impl_opengl2.h>
#include <imgui.h>

#include <utility>

#include "app/window_input.h"
#include "console/console.h"
#include "engine/game.h"
#include "engine/wake_early.h"

namespace {

constexpr float kClearColour[4] = {114 / 255.0f, 144 / 255.0f, 154 / 255.0f, 1.0f};
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
                       Console& console, Game& game)
    : window_(window),
      input_(input),
      splash_(std::move(splash)),
      console_(console),
      game_(game),
      start_(glfwGetTime()),
      now_(start_),
      changesDrawn_(console.Changes()),
      splashOver_(!splash_.has_value()) {
    schedule_.RequestFrame();
}

void WindowLoop::Run() {
    while (!glfwWindowShouldClose(window_)) {
        Sleep();
        now_ = glfwGetTime();
        TakeEvents();
        // Keys waiting for the next frame may submit a line there, which the game must see
        // before its update at this time, as it always has: that frame updates it after them.
        // Else (or minimised, with no frames) the update comes first, so that a timed text is
        // in the frame built now.
        updateAfterDraw_ = input_.Pending() && !input_.Iconified();
        if (!updateAfterDraw_) UpdateGame("");
        // Minimised, requests wait until the window is shown again.
        if (!input_.Iconified() && schedule_.TakeFrame(now_)) BuildFrame();
        ScheduleTimedFrame();
    }
}

void WindowLoop::Sleep() {
    const double wait = schedule_.WaitBefore(glfwGetTime(), !input_.Iconified());
    if (wait == FrameSchedule::kNever) {
        glfwWaitEvents();
    } else if (wait > 0.0) {
        glfwWaitEventsTimeout(WakeEarlyFor(wait));
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
    if (!splashOver_ && SplashDismissed(io, GuiSeconds(now_))) {
        splashOver_ = true;
        schedule_.RequestFrame();
    }
}

void WindowLoop::UpdateGame(const std::string& line) {
    if (!splashOver_) return;
    game_.clock.Set(GuiSeconds(now_));
    if (!line.empty()) game_.HandleInput(console_, line);
    game_.Update();
    const std::optional<double> next = game_.SecondsToNextChange();
    schedule_.SetGameDueAt(next ? now_ + *next : FrameSchedule::kNever);
    if (console_.Changes() != changesDrawn_) schedule_.RequestFrame();
}

void WindowLoop::BuildFrame() {
    input_.FeedFrame(splashOver_ && !console_.InputActive());
    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplGlfw_NewFrame();
    ImGui::NewFrame();
    if (!splashOver_ && SplashDismissed(ImGui::GetIO(), GuiSeconds(now_))) splashOver_ = true;
    if (splashOver_) {
        PresentConsole();
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

void WindowLoop::PresentConsole() {
    const std::string line = console_.Draw();
    changesDrawn_ = console_.Changes();
    if (!rewrapDone_) {
        // The welcome text was laid out before the window was measured.
        console_.Rewrap();
        rewrapDone_ = true;
    }
    const double caret = console_.CaretChangeIn();
    caretAt_ = caret >= 0.0 ? now_ + caret : FrameSchedule::kNever;
    if (updateAfterDraw_ || !line.empty()) UpdateGame(line);

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

void WindowLoop::ScheduleTimedFrame() {
    if (!splashOver_) {
        schedule_.RequestFrameAt(start_ - FrameSchedule::kFrameSeconds + kSplashTimeout +
                                 kPastSplashEnd);
    } else {
        const bool seen = input_.Focused() && !input_.Iconified();
        schedule_.RequestFrameAt(seen ? caretAt_ : FrameSchedule::kNever);
    }
}
