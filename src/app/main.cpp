#include <GLFW/glfw3.h>
#include <backends/imgui_impl_glfw.h>
#include <backends/imgui_impl_opengl2.h>
#include <imgui.h>

#include <cstdint>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>

#include "app/command_line.h"
#include "app/data_files.h"
#include "app/drawn_frame.h"
#include "app/font.h"
#include "app/frame_schedule.h"
#include "app/splash.h"
#include "app/window_input.h"
#include "console/console.h"
#include "engine/game.h"

namespace {

constexpr int kWindowWidth = 1280;
constexpr int kWindowHeight = 720;
constexpr const char* kWindowTitle = "Vosk - Tarnwick III";
constexpr const char* kFontFile = "Hack-Bold.ttf";
constexpr const char* kSplashFile = "splash.png";
// Where the fonts-hack-ttf package puts the font; the game's package depends on it.
constexpr const char* kSystemFontFolder = "/usr/share/fonts/truetype/hack";
constexpr float kClearColour[4] = {114 / 255.0f, 144 / 255.0f, 154 / 255.0f, 1.0f};
// The console covers the window, so the clear that starts its frames is its background fill.
constexpr float kConsoleColour[4] = {Console::kBackground.red / 255.0f,
                                     Console::kBackground.green / 255.0f,
                                     Console::kBackground.blue / 255.0f, 1.0f};
// GUI frames built after input or new text; each frame that changes what is drawn asks for one
// more, as the toolkit settles some things (the focus, a scroll, a new widget) a frame late.
constexpr int kFramesAfterChange = 1;

void ReportGlfwError(int code, const char* description) {
    std::fprintf(stderr, "Error %d: %s\n", code, description);
}

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

int main(int argc, char** argv) {
    // Options that answer without a window, then the data files, wherever the game was
    // started from.
    if (const std::optional<int> status = AnswerCommandLine(argc, argv)) return *status;
    const std::optional<std::string> fontPath =
        FindDataFile(kFontFile, {kSystemFontFolder}, "using the built-in font");
    const std::optional<std::string> splashPath = FindDataFile(kSplashFile, {}, "no splash screen");
    // The splash picture is read and decoded while the window and the font are set up.
    std::optional<SplashDecoder> splashDecoder;
    if (splashPath) splashDecoder.emplace(*splashPath);

    // Window and OpenGL context.
    glfwSetErrorCallback(ReportGlfwError);
    if (!glfwInit()) return 1;
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    GLFWwindow* window =
        glfwCreateWindow(kWindowWidth, kWindowHeight, kWindowTitle, nullptr, nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "tarnwick: the window could not be created\n");
        glfwTerminate();
        return 1;
    }
    glfwMakeContextCurrent(window);
    GLint largestTexture = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largestTexture);
    if (splashDecoder) splashDecoder->SetLargestTexture(largestTexture);

    // GUI toolkit, its one font and the splash picture.
    ImGui::CreateContext();
    ImGui_ImplGlfw_InitForOpenGL(window, true);
    ImGui_ImplOpenGL2_Init();
    WindowInput input;
    input.Install(window);
    ImGuiIO& io = ImGui::GetIO();
    if (fontPath) LoadConsoleFont(io, fontPath->c_str());
    const std::optional<SplashTexture> splash =
        splashDecoder ? splashDecoder->Upload() : std::nullopt;

    // The game: its story starts now, so the welcome text waits in the log during the splash.
    Console console;
    console.fillBackground = false;
    Game game(console);
    bool splashOver = !splash.has_value();
    bool rewrapDone = false;

    // The game ticks 60 times a second; a GUI frame is built only when something may have
    // changed, and drawn only when it differs from what the window shows.
    const double start = glfwGetTime();
    FrameSchedule schedule(start);
    DrawnFrame drawnFrame;
    std::uint64_t changesDrawn = console.Changes();
    bool redraw = true;  // the window's pixels are not (or no longer) what was drawn

    while (!glfwWindowShouldClose(window)) {
        const double wait = schedule.WaitBefore(glfwGetTime());
        if (wait > 0.0) {
            glfwWaitEventsTimeout(wait);
        } else {
            glfwPollEvents();
        }
        const double now = glfwGetTime();
        if (!schedule.TakeTick(now)) continue;
        // What the GUI toolkit's clock reads: the first frame counts as one nominal frame.
        const double seconds = now - start + FrameSchedule::kTickSeconds;

        if (input.TakeExposed()) {
            redraw = true;
            drawnFrame.Forget();
        }
        if (input.TakeActivity() || redraw || (splashOver && console.Changes() != changesDrawn)) {
            schedule.RequestFrames(kFramesAfterChange);
        }
        if (input.Pending() || AnyHeld(io)) schedule.RequestFrames(1);
        if (!splashOver && SplashDismissed(io, seconds)) {
            splashOver = true;
            schedule.RequestFrames(kFramesAfterChange);
        }
        const bool guiFrame = schedule.TakeFrame(now);

        std::string line;
        if (guiFrame) {
            input.FeedFrame(splashOver && !console.InputActive());
            ImGui_ImplOpenGL2_NewFrame();
            ImGui_ImplGlfw_NewFrame();
            ImGui::NewFrame();
            if (!splashOver && SplashDismissed(io, seconds)) splashOver = true;
            if (splashOver) {
                line = console.Draw();
                changesDrawn = console.Changes();
                if (!rewrapDone) {
                    // The welcome text was laid out before the window was measured.
                    console.Rewrap();
                    rewrapDone = true;
                }
            }
        }
        if (splashOver) {
            game.clock.Set(seconds);
            if (!line.empty()) game.HandleInput(console, line);
            game.Update();
        }
        if (!guiFrame) continue;

        if (splashOver) {
            ImGui::Render();
            const bool changed = drawnFrame.Changed(*ImGui::GetDrawData());
            if (changed || redraw) {
                ClearWindow(io, kConsoleColour);
                ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
                glfwSwapBuffers(window);
                redraw = false;
            }
            // A change can bring another in the next frame (a scroll, the focus).
            if (changed) schedule.RequestFrames(1);
            const double caret = console.CaretChangeIn();
            schedule.RequestFrameAt(caret >= 0.0 ? now + caret : -1.0);
        } else {
            ImGui::EndFrame();
            if (redraw) {
                ClearWindow(io, kClearColour);
                DrawSplash(*splash);
                glfwSwapBuffers(window);
                redraw = false;
            }
        }
    }

    // Clean-up in reverse order; the game and then the console go last, on return.
    ImGui_ImplOpenGL2_Shutdown();
    ImGui_ImplGlfw_Shutdown();
    ImGui::DestroyContext();
    glfwTerminate();
    return 0;
}
