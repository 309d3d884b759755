#include <GLFW/glfw3.h>
#include <backends/imgui_impl_glfw.h>
#include <backends/imgui_impl_opengl2.h>
#include <imgui.h>

#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/data_files.h"
#include "app/font.h"
#include "app/key_taps.h"
#include "app/splash.h"
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

void ReportGlfwError(int code, const char* description) {
    std::fprintf(stderr, "Error %d: %s\n", code, description);
}

}  // namespace

int main(int argc, char** argv) {
    // Options that answer without a window, then the data files, wherever the game was
    // started from.
    if (const std::optional<int> status = AnswerCommandLine(argc, argv)) return *status;
    const std::optional<std::string> fontPath =
        FindDataFile(kFontFile, {kSystemFontFolder}, "using the built-in font");
    const std::optional<std::string> splashPath = FindDataFile(kSplashFile, {}, "no splash screen");

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

    // GUI toolkit, its one font and the splash picture.
    ImGui::CreateContext();
    ImGui_ImplGlfw_InitForOpenGL(window, true);
    ImGui_ImplOpenGL2_Init();
    KeyTaps keyTaps;
    keyTaps.Install(window);
    if (fontPath) LoadConsoleFont(ImGui::GetIO(), fontPath->c_str());
    const std::optional<SplashTexture> splash =
        splashPath ? LoadSplash(splashPath->c_str()) : std::nullopt;

    // The game: its story starts now, so the welcome text waits in the log during the splash.
    Console console;
    Game game(console);
    bool splashOver = !splash.has_value();
    bool rewrapDone = false;

    while (!glfwWindowShouldClose(window)) {
        glfwPollEvents();
        keyTaps.BeforeNewFrame(ImGui::GetIO());
        ImGui_ImplOpenGL2_NewFrame();
        ImGui_ImplGlfw_NewFrame();
        ImGui::NewFrame();
        if (!splashOver && SplashDismissed(ImGui::GetIO(), ImGui::GetTime())) splashOver = true;

        if (splashOver) {
            const std::string line = console.Draw();
            if (!rewrapDone) {
                // The welcome text was laid out before the window was measured.
                console.Rewrap();
                rewrapDone = true;
            }
            // The window's game clock is the GUI toolkit's.
            game.clock.Set(ImGui::GetTime());
            if (!line.empty()) game.HandleInput(console, line);
            game.Update();
        }

        const ImVec2 displaySize = ImGui::GetIO().DisplaySize;
        glViewport(0, 0, static_cast<int>(displaySize.x), static_cast<int>(displaySize.y));
        glClearColor(kClearColour[0], kClearColour[1], kClearColour[2], kClearColour[3]);
        glClear(GL_COLOR_BUFFER_BIT);
        if (splashOver) {
            ImGui::Render();
            ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
        } else {
            ImGui::EndFrame();
            DrawSplash(*splash);
        }
        glfwSwapBuffers(window);
        keyTaps.AfterFrame(ImGui::GetIO());
    }

    // Clean-up in reverse order; the game and then the console go last, on return.
    ImGui_ImplOpenGL2_Shutdown();
    ImGui_ImplGlfw_Shutdown();
    ImGui::DestroyContext();
    glfwTerminate();
    return 0;
}
