// Test-only: shows a fixed log of story text with the console's own Draw in a window like the
// game's, drawn either the game's way (only the rows in view) or by walking every row, so that
// screenshots of the two can be compared pixel for pixel.
//   log_drawing_window visible|every short|long FONT_FILE
// The window is titled "Log drawing" and runs until it is closed.

#include <GLFW/glfw3.h>
#include <backends/imgui_impl_glfw.h>
#include <backends/imgui_impl_opengl2.h>
#include <imgui.h>

#include <cstdio>
#include <cstring>
#include <fstream>

#include "console/console.h"
#include "story_log.h"

namespace {

constexpr int kWindowWidth = 1280;
constexpr int kWindowHeight = 720;
constexpr float kFontSize = 17.0f;
constexpr int kOversample = 4;
constexpr float kClearColour[4] = {palette::kClear.red / 255.0f, palette::kClear.green / 255.0f,
                                   palette::kClear.blue / 255.0f, 1.0f};
// A log that fits in the window, and one of many screens.
constexpr std::size_t kShortLog = 12;
constexpr std::size_t kLongLog = 3000;

void ReportGlfwError(int code, const char* description) {
    std::fprintf(stderr, "Error %d: %s\n", code, description);
}

int Usage() {
    std::fprintf(stderr, "usage: log_drawing_window visible|every short|long FONT_FILE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return Usage();
    Console console;
    if (std::strcmp(argv[1], "every") == 0) {
        console.logDrawing = Console::LogDrawing::EveryRow;
    } else if (std::strcmp(argv[1], "visible") != 0) {
        return Usage();
    }
    std::size_t logLines = kShortLog;
    if (std::strcmp(argv[2], "long") == 0) {
        logLines = kLongLog;
    } else if (std::strcmp(argv[2], "short") != 0) {
        return Usage();
    }
    const char* fontFile = argv[3];
    if (!std::ifstream(fontFile).good()) {
        std::fprintf(stderr, "log_drawing_window: cannot read %s\n", fontFile);
        return 1;
    }

    // Window and OpenGL context, as the game makes them.
    glfwSetErrorCallback(ReportGlfwError);
    if (!glfwInit()) return 1;
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    GLFWwindow* window =
        glfwCreateWindow(kWindowWidth, kWindowHeight, "Log drawing", nullptr, nullptr);
    if (window == nullptr) {
        glfwTerminate();
        return 1;
    }
    glfwMakeContextCurrent(window);

    // GUI toolkit and the game's font. A steady text cursor keeps screenshots comparable.
    ImGui::CreateContext();
    ImGui_ImplGlfw_InitForOpenGL(window, true);
    ImGui_ImplOpenGL2_Init();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.ConfigInputTextCursorBlink = false;
    ImFontConfig config;
    config.OversampleH = kOversample;
    config.OversampleV = kOversample;
    io.Fonts->AddFontFromFileTTF(fontFile, kFontSize, &config, io.Fonts->GetGlyphRangesDefault());

    bool logWritten = false;
    while (!glfwWindowShouldClose(window)) {
        glfwPollEvents();
        ImGui_ImplOpenGL2_NewFrame();
        ImGui_ImplGlfw_NewFrame();
        ImGui::NewFrame();
        console.Draw();
        if (!logWritten) {
            // Laid out at the width the first frame measured, as the game's log is.
            FillLog(console, logLines);
            logWritten = true;
        }
        ImGui::Render();

        const ImVec2 displaySize = io.DisplaySize;
        glViewport(0, 0, static_cast<int>(displaySize.x), static_cast<int>(displaySize.y));
        glClearColor(kClearColour[0], kClearColour[1], kClearColour[2], kClearColour[3]);
        glClear(GL_COLOR_BUFFER_BIT);
        ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
        glfwSwapBuffers(window);
    }

    // Clean-up in reverse order.
    ImGui_ImplOpenGL2_Shutdown();
    ImGui_ImplGlfw_Shutdown();
    ImGui::DestroyContext();
    glfwTerminate();
    return 0;
}
