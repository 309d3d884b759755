#include <imgui.h>

#include <climits>
#include <cstring>

#include "console/console.h"

namespace {

constexpr const char* kWindowTitle = "Console";
const ImVec2 kFirstUseWindowSize(1280.0f, 720.0f);
constexpr ImGuiWindowFlags kWindowFlags =
    ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove;
const ImVec4 kConsoleBackground(41 / 255.0f, 44 / 255.0f, 51 / 255.0f, 1.0f);
constexpr const char* kMeasuringText = "abcdefghij";
constexpr float kMeasuringTextLength = 10.0f;
constexpr int kCharactersHeldBack = 2;
constexpr float kHeightBelowLog = 31.0f;
constexpr ImGuiID kLogRegionId = 1;  // any fixed number but 0, which the toolkit reserves

// Characters of the measuring text that fit in `contentWidth`, less the margin held back.
int MeasureWrapWidth(float contentWidth, int previous) {
    const float measuredWidth = ImGui::CalcTextSize(kMeasuringText).x;
    if (!(measuredWidth > 0.0f)) return previous;  // a font without advances measures nothing
    const float fitting = (contentWidth * kMeasuringTextLength) / measuredWidth;
    if (!(fitting < static_cast<float>(INT_MAX))) return INT_MAX - kCharactersHeldBack;
    if (!(fitting > static_cast<float>(INT_MIN + kCharactersHeldBack))) return INT_MIN;
    return static_cast<int>(fitting) - kCharactersHeldBack;
}

void DrawLine(const ConsoleLine& line, float spaceWidth) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        const TextSpan& span = line[i];
        ImGui::PushStyleColor(ImGuiCol_Text, StyleColour(span.style));
        ImGui::TextUnformatted(span.text.data(), span.text.data() + span.text.size());
        ImGui::PopStyleColor(1);
        if (i + 1 < line.size()) {
            // Spans are cut at tags, so pull the next one back over the item spacing.
            ImGui::SameLine();
            ImGui::SetCursorPosX(ImGui::GetCursorPosX() - spaceWidth);
        }
    }
}

}  // namespace

std::string Console::Draw() {
    std::string submitted;

    ImGui::PushStyleColor(ImGuiCol_WindowBg, kConsoleBackground);
    ImGui::PushStyleColor(ImGuiCol_FrameBg, kConsoleBackground);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowRounding, 0.0f);
    ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f), ImGuiCond_Always);
    ImGui::SetNextWindowSize(kFirstUseWindowSize, ImGuiCond_FirstUseEver);
    ImGui::SetNextWindowBgAlpha(1.0f);
    ImGui::Begin(kWindowTitle, nullptr, kWindowFlags);

    const ImVec2 contentMax = ImGui::GetContentRegionMax();
    wrapWidth = MeasureWrapWidth(contentMax.x, wrapWidth);

    ImGui::PushStyleColor(ImGuiCol_ChildBg, ImGui::GetStyle().Colors[ImGuiCol_FrameBg]);
    ImGui::PushStyleVar(ImGuiStyleVar_ChildRounding, ImGui::GetStyle().FrameRounding);
    ImGui::BeginChild(kLogRegionId, ImVec2(contentMax.x, contentMax.y - kHeightBelowLog), false,
                      ImGuiWindowFlags_None);
    const float spaceWidth = ImGui::CalcTextSize(" ").x;
    for (const ConsoleLine& line : lines) DrawLine(line, spaceWidth);
    if (scrollToBottom) {
        scrollToBottom = false;
        ImGui::SetScrollHereY(1.0f);
    }
    ImGui::EndChild();
    ImGui::PopStyleVar(1);
    ImGui::PopStyleColor(1);

    ImGui::SetKeyboardFocusHere(0);
    ImGui::PushItemWidth(contentMax.x);
    ImGui::PushStyleColor(ImGuiCol_Text, StyleColour(SpanStyle::Plain));
    if (ImGui::InputText("##Input", inputBuffer, kInputBufferSize,
                         ImGuiInputTextFlags_EnterReturnsTrue)) {
        scrollToBottom = true;
        submitted.assign(inputBuffer, strnlen(inputBuffer, kInputBufferSize));
        std::memset(inputBuffer, 0, kInputBufferSize);
    }
    ImGui::PopStyleColor(1);
    ImGui::PopItemWidth();
    ImGui::End();
    ImGui::PopStyleVar(1);
    ImGui::PopStyleColor(2);

    return submitted;
}
