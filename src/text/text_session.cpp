#include "text/text_session.h"

#include <imgui.h>

#include "story/story.h"

namespace {

// Any size will do: nothing is drawn, but a frame needs one.
const ImVec2 kDisplaySize(1280.0f, 720.0f);

ImGuiContext* CreateHeadlessContext() {
    ImGuiContext* context = ImGui::CreateContext();
    ImGui::SetCurrentContext(context);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    io.DisplaySize = kDisplaySize;
    // A frame cannot start without a built font atlas, though no glyph is ever drawn.
    io.Fonts->AddFontDefault();
    unsigned char* pixels = nullptr;
    int width = 0;
    int height = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
    return context;
}

}  // namespace

TextSession::TextSession(Display& display, int wrapWidth)
    : TextSession(display, wrapWidth, BuildStory) {}

TextSession::TextSession(Display& display, int wrapWidth, const StoryBuilder& buildStory)
    : context_(CreateHeadlessContext()), display_(display) {
    // Laid out at the final width from the start, so no Rewrap is needed later.
    console_.wrapWidth = wrapWidth;
    game_ = std::make_unique<Game>(console_, buildStory);
    Show(watcher_.Take(console_.lines), 0);
}

TextSession::~TextSession() {
    ImGui::SetCurrentContext(context_);
    game_.reset();
    ImGui::DestroyContext(context_);
}

void TextSession::Frame(float seconds, const std::string& typed) {
    ImGui::SetCurrentContext(context_);
    ImGui::GetIO().DeltaTime = seconds;
    ImGui::NewFrame();
    if (!typed.empty()) {
        // The echo is the first text the line adds; it is laid out as AddText will lay it out.
        const std::size_t echoLines = WrapText("<s>" + typed + "</>", console_.wrapWidth).size();
        game_->HandleInput(console_, typed);
        display_.Typed(typed);
        Show(watcher_.Take(console_.lines), echoLines);
    }
    game_->Update();
    Show(watcher_.Take(console_.lines), 0);
    ImGui::EndFrame();
}

double TextSession::Now() const {
    ImGui::SetCurrentContext(context_);
    return ImGui::GetTime();
}

void TextSession::Show(const LogChange& change, std::size_t echoLines) {
    std::size_t first = change.first + echoLines;
    if (change.cleared) {
        display_.Cleared();
        first = 0;  // the echo went with everything else
    }
    for (std::size_t i = first; i < console_.lines.size(); ++i) {
        // A line without spans takes no room in the window either.
        if (!console_.lines[i].empty()) display_.Line(console_.lines[i]);
    }
}
