#include "app/window/window_loop.h"

#include <GLFW/glfw3.h>
#include <backends/imgui_impl_glfw.h>
#include <backends/imgui_impl_opengl2.h>
#include <imgui.h>

#include <utility>
#include <vector>

#include "app/window/font.h"
#include "app/window/shortcuts.h"
#include "app/window/window_input.h"
#include "app/window/window_scale.h"
#include "console/console.h"
#include "session/play_session.h"
#include "session/speaking_display.h"
#include "session/wake.h"

namespace {

constexpr float kClearColour[4] = {palette::kClear.red / 255.0f, palette::kClear.green / 255.0f,
                                   palette::kClear.blue / 255.0f, 1.0f};
// The console covers the window, so the clear that starts its frames is its background fill.
constexpr float kConsoleColour[4] = {Console::kBackground.red / 255.0f,
                                     Console::kBackground.green / 255.0f,
                                     Console::kBackground.blue / 255.0f, 1.0f};
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

// Starts the game's clock on the window's: it reads 0 one nominal frame before the loop
// begins, as the GUI toolkit's clock counts its first frame. Returns that reading, from which
// the splash is timed too.
double StartGameClock(PlaySession& session) {
    const double origin = glfwGetTime() - FrameSchedule::kFrameSeconds;
    session.StartClock(origin);
    return origin;
}

}  // namespace

WindowLoop::WindowLoop(GLFWwindow* window, WindowInput& input, std::optional<SplashTexture> splash,
                       PlaySession& session, SpeakingDisplay& speech, ConsoleFont& font,
                       float scale, const View& view, ViewChanged viewChanged)
    : window_(window),
      input_(input),
      splash_(std::move(splash)),
      session_(session),
      speech_(speech),
      origin_(StartGameClock(session)),
      pacer_(splash_ ? origin_ + kSplashTimeout : FrameSchedule::kNever),
      changesDrawn_(session.console().Changes()),
      font_(font),
      scale_(scale),
      view_{NextZoomStep(view.zoomStep, Shortcut::None), false},
      viewChanged_(std::move(viewChanged)) {
    if (view.fullScreen) ToggleFullScreen();
}

void WindowLoop::Run() {
    double wait = 0.0;
    while (!glfwWindowShouldClose(window_)) {
        Sleep(wait);
        now_ = glfwGetTime();
        TakeShortcuts();
        if (pacer_.BeginWake(TakeEvents(now_))) PlayGame("");
        if (pacer_.TakeFrame()) {
            BuildFrame();
            if (frameBuilt_) frameBuilt_();
        }
        wait = pacer_.EndWake(glfwGetTime(), input_.Pending(), session_.NextChangeAt());
    }
}

void WindowLoop::Sleep(double seconds) {
    if (seconds == wake::kNever) {
        glfwWaitEvents();
    } else if (seconds > 0.0) {
        glfwWaitEventsTimeout(seconds);
    } else {
        glfwPollEvents();
    }
}

WindowPacer::Wake WindowLoop::TakeEvents(double now) {
    WindowPacer::Wake wake;
    wake.now = now;
    wake.exposed = input_.TakeExposed();
    if (wake.exposed) drawnFrame_.Forget();
    wake.activity = input_.TakeActivity();
    for (const SpeechKey key : input_.TakeSpeechKeys()) {
        if (key == SpeechKey::kToggle) {
            speech_.SetOn(!speech_.on());
            view_.speech = speech_.on();
            if (viewChanged_) viewChanged_(view_);
        }
        if (key == SpeechKey::kRepeat) speech_.RepeatLastReply();
        if (key == SpeechKey::kSilence) speech_.Silence();
    }
    wake.keysWaiting = input_.Pending();
    wake.held = AnyHeld(ImGui::GetIO());
    wake.focused = input_.Focused();
    wake.iconified = input_.Iconified();
    return wake;
}

void WindowLoop::PlayGame(const std::string& line) {
    session_.PlayTo(now_, line);
    pacer_.GamePlayed(session_.console().Changes() != changesDrawn_);
}

void WindowLoop::TakeShortcuts() {
    Console& console = session_.console();
    for (const Shortcut shortcut : input_.TakeShortcuts()) {
        switch (shortcut) {
            case Shortcut::ZoomIn:
            case Shortcut::ZoomOut:
            case Shortcut::ZoomReset:
                Zoom(shortcut);
                break;
            case Shortcut::FullScreen:
                ToggleFullScreen();
                if (viewChanged_) viewChanged_(view_);
                break;
            case Shortcut::PageUp:
                console.Scroll(Console::ScrollStep::PageUp);
                break;
            case Shortcut::PageDown:
                console.Scroll(Console::ScrollStep::PageDown);
                break;
            case Shortcut::ToStart:
                console.Scroll(Console::ScrollStep::ToStart);
                break;
            case Shortcut::ToEnd:
                console.Scroll(Console::ScrollStep::ToEnd);
                break;
            case Shortcut::CopyStory:
                glfwSetClipboardString(window_, session_.StoryText().c_str());
                break;
            case Shortcut::None:
                break;
        }
    }
}

void WindowLoop::Zoom(Shortcut shortcut) {
    const int step = NextZoomStep(view_.zoomStep, shortcut);
    if (step == view_.zoomStep) return;
    view_.zoomStep = step;
    fontStale_ = true;
    if (viewChanged_) viewChanged_(view_);
}

void WindowLoop::ToggleFullScreen() {
    int* place = windowedPlace_;
    if (glfwGetWindowMonitor(window_) != nullptr) {
        glfwSetWindowMonitor(window_, nullptr, place[0], place[1], place[2], place[3], 0);
        view_.fullScreen = false;
        return;
    }
    glfwGetWindowPos(window_, &place[0], &place[1]);
    glfwGetWindowSize(window_, &place[2], &place[3]);
    // The monitor that shows most of the window.
    int count = 0;
    GLFWmonitor** monitors = glfwGetMonitors(&count);
    std::vector<ScreenRect> screens;
    for (int i = 0; i < count; ++i) {
        ScreenRect screen;
        glfwGetMonitorPos(monitors[i], &screen.x, &screen.y);
        if (const GLFWvidmode* mode = glfwGetVideoMode(monitors[i])) {
            screen.width = mode->width;
            screen.height = mode->height;
        }
        screens.push_back(screen);
    }
    const int chosen = MostOverlapped({place[0], place[1], place[2], place[3]}, screens);
    if (chosen < 0) return;
    GLFWmonitor* monitor = monitors[chosen];
    const GLFWvidmode* mode = glfwGetVideoMode(monitor);
    if (mode == nullptr) return;
    glfwSetWindowMonitor(window_, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
    view_.fullScreen = true;
}

void WindowLoop::LoadFont() {
    ImGuiIO& io = ImGui::GetIO();
    font_.Load(io, scale_ * static_cast<float>(kZoomPercents[view_.zoomStep]) / 100.0f);
    // The renderer makes its texture again from the new atlas in its next frame.
    ImGui_ImplOpenGL2_DestroyFontsTexture();
    fontStale_ = false;
}

void WindowLoop::BuildFrame() {
    if (fontStale_) LoadFont();
    input_.FeedFrame(pacer_.SplashOver() && !session_.console().InputActive());
    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplGlfw_NewFrame();
    ImGui::NewFrame();
    if (!pacer_.SplashOver() && SplashSkipped(ImGui::GetIO())) pacer_.SkipSplash();
    if (pacer_.SplashOver()) {
        PresentConsole();
    } else {
        PresentSplash();
    }
}

void WindowLoop::PresentSplash() {
    ImGui::EndFrame();
    if (!pacer_.Present(false)) return;
    ClearWindow(ImGui::GetIO(), kClearColour);
    DrawSplash(*splash_);
    glfwSwapBuffers(window_);
}

void WindowLoop::PresentConsole() {
    Console& console = session_.console();
    const std::string line = console.Draw();
    changesDrawn_ = console.Changes();
    WindowPacer::ConsoleFrame frame;
    frame.lineTyped = !line.empty();
    frame.caretChangeIn = console.CaretChangeIn();
    frame.layoutWidth = console.wrapWidth;
    frame.fontSize = ImGui::GetFontSize();
    frame.scrolledByKey = console.ScrolledByKey();
    const WindowPacer::ConsoleSteps steps = pacer_.ConsoleDrawn(frame);
    if (steps.relayout) session_.Rewrap();
    if (steps.playGame) PlayGame(line);

    ImGui::Render();
    if (pacer_.Present(drawnFrame_.Changed(*ImGui::GetDrawData()))) {
        ClearWindow(ImGui::GetIO(), kConsoleColour);
        ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
        glfwSwapBuffers(window_);
    }
}
