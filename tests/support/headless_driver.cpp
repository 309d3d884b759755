#include "support/headless_driver.h"

#include <imgui_internal.h>

#include <algorithm>
#include <fstream>

namespace {

// GLFW's key code for Enter, which the window's GUI binding maps the same way.
constexpr int kEnterKey = 257;
constexpr float kGameFontSize = 17.0f;
constexpr int kFramesToRegainFocus = 3;
constexpr std::size_t kUtf8ReadAhead = 4;

}  // namespace

ImGuiContext* CreateHeadlessGuiContext() {
    ImGuiContext* context = ImGui::CreateContext();
    // Creating a context leaves another one current if there was one.
    ImGui::SetCurrentContext(context);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2(1280.0f, 720.0f);
    io.KeyMap[ImGuiKey_Enter] = kEnterKey;
    if (std::ifstream(GameFontPath()).good()) {
        ImFontConfig config;
        config.OversampleH = 4;
        config.OversampleV = 4;
        io.Fonts->AddFontFromFileTTF(GameFontPath(), kGameFontSize, &config,
                                     io.Fonts->GetGlyphRangesDefault());
    } else {
        io.Fonts->AddFontDefault();
    }
    unsigned char* pixels = nullptr;
    int width = 0;
    int height = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
    return context;
}

const char* GameFontPath() {
    return TARNWICK_TEST_FONT;
}

HeadlessDriver::HeadlessDriver() : context_(CreateHeadlessGuiContext()) {
    console_ = std::make_unique<Console>();
    game_ = std::make_unique<Game>(*console_);
}

HeadlessDriver::HeadlessDriver(const StoryBuilder& buildStory)
    : context_(CreateHeadlessGuiContext()) {
    console_ = std::make_unique<Console>();
    game_ = std::make_unique<Game>(*console_, buildStory);
}

HeadlessDriver::~HeadlessDriver() {
    game_.reset();
    console_.reset();
    ImGui::DestroyContext(context_);
}

std::string HeadlessDriver::Frame(float seconds) {
    ImGui::SetCurrentContext(context_);
    ImGui::GetIO().DeltaTime = seconds;
    ImGui::NewFrame();
    const std::string line = console_->Draw();
    if (!rewrapDone_) {
        console_->Rewrap();
        rewrapDone_ = true;
    }
    game_->clock.Set(ImGui::GetTime());
    if (!line.empty()) game_->HandleInput(*console_, line);
    game_->Update();
    ImGui::Render();
    return line;
}

void HeadlessDriver::Advance(float seconds, float step) {
    while (seconds > 0.0f) {
        const float frame = std::min(seconds, step);
        Frame(frame);
        seconds -= frame;
    }
}

std::string HeadlessDriver::Type(const std::string& text) {
    ImGui::SetCurrentContext(context_);
    // The field takes the focus back a frame after Enter released it; characters that arrive
    // before that are dropped, as they would be from a player typing that fast.
    for (int frame = 0; frame < kFramesToRegainFocus && ImGui::GetActiveID() == 0; ++frame) {
        Frame();
    }
    // The toolkit decodes UTF-8 without an end pointer: a text that stops inside a sequence
    // makes it read up to three bytes past the terminating NUL, so give it zeros to read.
    std::string padded = text;
    padded.append(kUtf8ReadAhead, '\0');
    ImGui::GetIO().AddInputCharactersUTF8(padded.c_str());
    Frame();
    PressEnter(true);
    const std::string line = Frame();
    PressEnter(false);
    return line;
}

void HeadlessDriver::PressEnter(bool down) {
    ImGui::GetIO().KeysDown[kEnterKey] = down;
}

float HeadlessDriver::Now() const {
    return static_cast<float>(ImGui::GetTime());
}

std::vector<std::string> HeadlessDriver::VisibleLines() const {
    std::vector<std::string> visible;
    for (const ConsoleLine& line : console_->lines()) {
        std::string text;
        for (const TextSpan& span : line) text += span.text;
        visible.push_back(text);
    }
    return visible;
}

std::string HeadlessDriver::Log() const {
    std::string log;
    for (const std::string& line : VisibleLines()) {
        if (!log.empty()) log += '\n';
        log += line;
    }
    return log;
}
