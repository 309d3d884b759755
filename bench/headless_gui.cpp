#include "headless_gui.h"

#include <imgui.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "console/console.h"
#include "session/wake.h"

namespace {

constexpr float kFontSize = 17.0f;
constexpr int kOversample = 4;
constexpr float kFrameSeconds = wake::kFrameSeconds;

}  // namespace

HeadlessGui::HeadlessGui() : context_(ImGui::CreateContext()) {
    ImGui::SetCurrentContext(context_);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2(1280.0f, 720.0f);
    // Figures measured with another font would not be the game's.
    if (!std::ifstream(TARNWICK_BENCH_FONT).good()) {
        std::fprintf(stderr, "bench: cannot read the game's font %s\n", TARNWICK_BENCH_FONT);
        std::exit(1);
    }
    ImFontConfig config;
    config.OversampleH = kOversample;
    config.OversampleV = kOversample;
    io.Fonts->AddFontFromFileTTF(TARNWICK_BENCH_FONT, kFontSize, &config,
                                 io.Fonts->GetGlyphRangesDefault());
    unsigned char* pixels = nullptr;
    int width = 0;
    int height = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
}

HeadlessGui::~HeadlessGui() {
    ImGui::DestroyContext(context_);
}

void HeadlessGui::Frame(Console& console) {
    ImGui::SetCurrentContext(context_);
    ImGui::GetIO().DeltaTime = kFrameSeconds;
    ImGui::NewFrame();
    console.Draw();
    ImGui::Render();
}
