// The cheapest window the game's toolkit makes, to compare the game with: the same window size,
// GUI bindings and font, and one empty GUI window covering it. It reads Hack-Bold.ttf from the
// working directory, as the game does, and runs until the window is closed.

#include <GLFW/glfw3.h>
#include <backends/imgui_impl_glfw.h>
#include <backends/imgui_impl_opengl2.h>
#include <imgui.h>

#include <cstdio>
#include <fstream>

namespace {

constexpr int kWindowWidth = 1280;
constexpr int kWindowHeight = 720;
constexpr const char* kFontFile = "Hack-Bold.ttf";
constexpr float kFontSize = 17.0f;
constexpr int kOversample = 4;
constexpr ImGuiWindowFlags kWindowFlags =
    ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove;

void ReportGlfwError(int code, const char* description) {
    std::fprintf(stderr, "Error %d: %s\n", code, description);
}

}  // namespace

int main() {
    // Window and OpenGL context.
    if (!std::ifstream(kFontFile).good()) {
        std::fprintf(stderr, "minimal_window: cannot read %s in the working directory\n",
                     kFontFile);
        return 1;
    }
    glfwSetErrorCallback(ReportGlfwError);
    if (!glfwInit()) return 1;
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    GLFWwindow* window =
        glfwCreateWindow(kWindowWidth, kWindowHeight, "Minimal window", nullptr, nullptr);
    if (window == nullptr) {
        glfwTerminate();
        return 1;
    }
    glfwMakeContextCurrent(window);

    // GUI toolkit and its one font.
    ImGui::CreateContext();
    ImGui_ImplGlfw_InitForOpenGL(window, true);
    ImGui_ImplOpenGL2_Init();
    ImFontConfig config;
    config.OversampleH = kOversample;
    config.OversampleV = kOversample;
    ImGuiIO& io = ImGui::GetIO();
    io.Fonts->AddFontFromFileTTF(kFontFile, kFontSize, &config, io.Fonts->GetGlyphRangesDefault());

    while (!glfwWindowShouldClose(window)) {
        glfwPollEvents();
        ImGui_ImplOpenGL2_NewFrame();
        ImGui_ImplGlfw_NewFrame();
        ImGui::NewFrame();
        ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f));
        ImGui::SetNextWindowSize(ImVec2(kWindowWidth, kWindowHeight));
        ImGui::Begin("Empty", nullptr, kWindowFlags);
        ImGui::End();
        ImGui::Render();

        const ImVec2 displaySize = io.DisplaySize;
        glViewport(0, 0, static_cast<int>(displaySize.x), static_cast<int>(displaySize.y));
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
