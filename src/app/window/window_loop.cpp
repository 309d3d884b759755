#include "app/window/window_loop.h"

#include <GLFW/glfw3.h>
#include <backends/imgui_impl_glfw.h>
#include <backends/imgui_impl_opengl2.h>
#include <imgui.h>

#include <utility>
#include <variant>
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
                       float scale, const Settings& saved, bool sizeFromCommandLine,
                       KeepSettings keep)
    : window_(window),
      input_(input),
      splash_(std::move(splash)),
      session_(session),
      speech_(speech),
      origin_(StartGameClock(session)),
      pacer_(splash_ ? origin_ + kSplashTimeout : FrameSchedule::kNever),
      font_(font),
      scale_(scale),
      zoomStep_(StartingZoomStep(saved, sizeFromCommandLine)),
      kept_(saved),
      sizeFromCommandLine_(sizeFromCommandLine),
      keep_(std::move(keep)) {
    if (saved.fullScreen.value_or(false)) ToggleFullScreen();
}

void WindowLoop::Run() {
    double wait = 0.0;
    while (!glfwWindowShouldClose(window_)) {
        Sleep(wait);
        now_ = glfwGetTime();
        // What the desktop said of its screen reader since the last wake, then the player's keys.
        speech_.CheckReader();
        if (woken_) woken_();
        CarryOutWindowKeys();
        if (pacer_.BeginWake(GatherFacts(now_))) PlayGame("");
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

WindowPacer::Wake WindowLoop::GatherFacts(double now) {
    WindowPacer::Wake wake;
    wake.now = now;
    wake.exposed = input_.TakeExposed();
    wake.activity = input_.TakeActivity();
    wake.keysWaiting = input_.Pending();
    wake.held = AnyHeld(ImGui::GetIO());
    wake.focused = input_.Focused();
    wake.iconified = input_.Iconified();
    return wake;
}

void WindowLoop::PlayGame(const std::string& line) {
    session_.PlayTo(now_, line);
    pacer_.GamePlayed(session_.console().Changes());
}

void WindowLoop::CarryOutWindowKeys() {
    for (const WindowKey& key : input_.TakeWindowKeys()) {
        if (const SpeechKey* speechKey = std::get_if<SpeechKey>(&key)) {
            CarryOutSpeechKey(*speechKey);
        } else {
            CarryOutShortcut(std::get<Shortcut>(key));
        }
    }
}

void WindowLoop::CarryOutSpeechKey(SpeechKey key) {
    switch (key) {
        case SpeechKey::kToggle:
            speech_.SetOn(!speech_.on());
            Keep(ViewChange::Speech);
            break;
        case SpeechKey::kRepeat:
            speech_.RepeatLastReply();
            break;
        case SpeechKey::kSilence:
            speech_.Silence();
            break;
    }
}

void WindowLoop::CarryOutShortcut(Shortcut shortcut) {
    Console& console = session_.console();
    switch (shortcut) {
        case Shortcut::ZoomIn:
        case Shortcut::ZoomOut:
        case Shortcut::ZoomReset:
            Zoom(shortcut);
            break;
        case Shortcut::FullScreen:
            ToggleFullScreen();
            Keep(ViewChange::FullScreen);
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
        case Shortcut::TimeToAct:
            StepTimeToAct();
            break;
        case Shortcut::None:
            break;
    }
}

void WindowLoop::StepTimeToAct() {
    const TimeToAct step = NextTimeToAct(session_.timeToAct());
    session_.SetTimeToAct(step);
    // Shown and said as the game's texts are, so that a player who cannot see hears the step.
    session_.Note(TimeToActSentence(step));
    pacer_.GamePlayed(session_.console().Changes());
    Keep(ViewChange::TimeToAct);
}

void WindowLoop::Zoom(Shortcut shortcut) {
    const int step = NextZoomStep(zoomStep_, shortcut);
    if (step == zoomStep_) return;
    zoomStep_ = step;
    Keep(ViewChange::Zoom);
}

void WindowLoop::Keep(ViewChange change) {
    ShownView shown;
    shown.zoomStep = zoomStep_;
    shown.fullScreen = glfwGetWindowMonitor(window_) != nullptr;
    shown.speech = speech_.on();
    shown.timeToAct = session_.timeToAct();
    kept_ = KeptSettings(kept_, change, shown, sizeFromCommandLine_);
    if (keep_) keep_(kept_);
}

void WindowLoop::ToggleFullScreen() {
    int* place = windowedPlace_;
    if (glfwGetWindowMonitor(window_) != nullptr) {
        glfwSetWindowMonitor(window_, nullptr, place[0], place[1], place[2], place[3], 0);
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
}

void WindowLoop::LoadFont() {
    const float zoomed = ZoomedScale(scale_, zoomStep_);
    if (font_.loadedScale() == zoomed) return;
    font_.Load(ImGui::GetIO(), zoomed);
    // The renderer makes its texture again from the new atlas in its next frame.
    ImGui_ImplOpenGL2_DestroyFontsTexture();
}

void WindowLoop::BuildFrame() {
    LoadFont();
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
    WindowPacer::ConsoleFrame frame;
    frame.lineTyped = !line.empty();
    frame.caretChangeIn = console.CaretChangeIn();
    frame.layoutWidth = console.wrapWidth;
    frame.fontSize = ImGui::GetFontSize();
    frame.scrolledByKey = console.ScrolledByKey();
    frame.logChanges = console.Changes();
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
