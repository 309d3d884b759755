#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "console/console.h"

namespace {

constexpr const char* kWindowTitle = "Console";
constexpr ImGuiWindowFlags kWindowFlags =
    ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove;
const ImVec4 kConsoleBackground(Console::kBackground.red / 255.0f,
                                Console::kBackground.green / 255.0f,
                                Console::kBackground.blue / 255.0f, 1.0f);
constexpr const char* kMeasuringText = "abcdefghij";
constexpr float kMeasuringTextLength = 10.0f;
constexpr int kCharactersHeldBack = 2;
// The toolkit's caret: shown for the first 0.8 s of every 1.2 s, and always just after an edit.
constexpr double kCaretShownFor = 0.8;
constexpr double kCaretPeriod = 1.2;
// As the desktop's carets do (GTK's cursor-blink-timeout), the caret blinks for this long after
// the last edit, then rests shown: an idle window has nothing to wake for.
constexpr double kCaretBlinksFor = 10.0;
constexpr ImGuiID kLogRegionId = 1;  // any fixed number but 0, which the toolkit reserves

ImVec4 TextColour(SpanStyle style) {
    const StyleRgb colour = StyleColour(style);
    return ImVec4(colour.red / 255.0f, colour.green / 255.0f, colour.blue / 255.0f, 1.0f);
}

// Characters of the measuring text that fit in `contentWidth`, less the margin held back.
int MeasureWrapWidth(float contentWidth, int previous) {
    const float measuredWidth = ImGui::CalcTextSize(kMeasuringText).x;
    if (!(measuredWidth > 0.0f)) return previous;  // a font without advances measures nothing
    const float fitting = (contentWidth * kMeasuringTextLength) / measuredWidth;
    if (!(fitting < static_cast<float>(INT_MAX))) return INT_MAX - kCharactersHeldBack;
    if (!(fitting > static_cast<float>(INT_MIN + kCharactersHeldBack))) return INT_MIN;
    return static_cast<int>(fitting) - kCharactersHeldBack;
}

void DrawLine(const ConsoleLine& line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        const TextSpan& span = line[i];
        ImGui::PushStyleColor(ImGuiCol_Text, TextColour(span.style));
        ImGui::TextUnformatted(span.text.data(), span.text.data() + span.text.size());
        ImGui::PopStyleColor(1);
        // Spans are cut at tags, so the next goes on where this one ended, with no item spacing
        // between them: the spacing is the style's, not the font's, and stays as text is zoomed.
        if (i + 1 < line.size()) ImGui::SameLine(0.0f, 0.0f);
    }
}

void DrawEveryRow(const std::vector<ConsoleLine>& lines) {
    for (const ConsoleLine& line : lines) DrawLine(line);
}

// Every non-empty line is one row of the same height, so the clipper can place the rows in
// view where the full walk would have put them, and move the cursor past the rest.
void DrawVisibleRows(const std::vector<ConsoleLine>& lines,
                     const std::vector<std::size_t>& rowLines, float rowHeight) {
    ImGuiListClipper clipper;
    clipper.Begin(static_cast<int>(rowLines.size()), rowHeight);
    while (clipper.Step()) {
        for (int row = clipper.DisplayStart; row < clipper.DisplayEnd; ++row) {
            DrawLine(lines[rowLines[static_cast<std::size_t>(row)]]);
        }
    }
}

// Where a key moves the log region's view: a page is the region's height less one row, so
// that the row at the edge stays in sight.
float ScrolledTo(Console::ScrollStep step) {
    const float page =
        std::max(0.0f, ImGui::GetWindowHeight() - ImGui::GetTextLineHeightWithSpacing());
    switch (step) {
        case Console::ScrollStep::PageUp:
            return std::max(0.0f, ImGui::GetScrollY() - page);
        case Console::ScrollStep::PageDown:
            return std::min(ImGui::GetScrollMaxY(), ImGui::GetScrollY() + page);
        case Console::ScrollStep::ToStart:
            return 0.0f;
        case Console::ScrollStep::ToEnd:
            break;
    }
    return ImGui::GetScrollMaxY();
}

// Seconds until the caret of a field whose blink timer reads `anim` next changes.
// Negative once it rests.
double CaretChangeAfter(double anim) {
    double change = 0.0;
    if (anim <= 0.0) {
        change = kCaretShownFor - anim;
    } else {
        const double phase = std::fmod(anim, kCaretPeriod);
        change = phase <= kCaretShownFor ? kCaretShownFor - phase : kCaretPeriod - phase;
    }
    return anim + change < kCaretBlinksFor ? change : -1.0;
}

// Up and down in the field recall older and newer lines; what the field holds when browsing
// starts comes back past the newest.
int RecallFromHistory(ImGuiInputTextCallbackData* data) {
    auto* history = static_cast<CommandHistory*>(data->UserData);
    std::optional<std::string> recalled;
    if (data->EventKey == ImGuiKey_UpArrow) {
        recalled =
            history->Older(std::string(data->Buf, static_cast<std::size_t>(data->BufTextLen)));
    } else if (data->EventKey == ImGuiKey_DownArrow) {
        recalled = history->Newer();
    }
    if (recalled.has_value()) {
        data->DeleteChars(0, data->BufTextLen);
        data->InsertChars(0, recalled->data(), recalled->data() + recalled->size());
    }
    return 0;
}

}  // namespace

std::string Console::Draw() {
    std::string submitted;

    ImGui::PushStyleColor(ImGuiCol_WindowBg, kConsoleBackground);
    ImGui::PushStyleColor(ImGuiCol_FrameBg, kConsoleBackground);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowRounding, 0.0f);
    ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f), ImGuiCond_Always);
    // The whole display, at whatever scale the front end opened it.
    ImGui::SetNextWindowSize(ImGui::GetIO().DisplaySize, ImGuiCond_Always);
    // Fully transparent, the toolkit leaves the fill out but still draws the window's border.
    ImGui::SetNextWindowBgAlpha(fillBackground ? 1.0f : 0.0f);
    ImGui::Begin(kWindowTitle, nullptr, kWindowFlags);

    const ImVec2 contentMax = ImGui::GetContentRegionMax();
    wrapWidth = MeasureWrapWidth(contentMax.x, wrapWidth);
    layout_.width = ImGui::GetIO().DisplaySize.x;
    layout_.height = ImGui::GetIO().DisplaySize.y;
    layout_.characterWidth = ImGui::CalcTextSize(kMeasuringText).x / kMeasuringTextLength;
    layout_.textLeft = ImGui::GetCursorScreenPos().x;
    layout_.logTop = ImGui::GetCursorScreenPos().y;

    // Exactly the input row is kept below the log, so the window itself never scrolls, and
    // the log has no background of its own: the window's, of the same colour, shows through.
    const float logHeight = ImGui::GetContentRegionAvail().y - ImGui::GetFrameHeightWithSpacing();
    ImGui::BeginChild(kLogRegionId, ImVec2(contentMax.x, logHeight), false,
                      ImGuiWindowFlags_NoBackground);
    IndexNewRows();
    // The toolkit moves the cursor down to whole pixels after each row. The clipper counts rows
    // in an int and needs a height it can step by; a log beyond that is walked whole.
    const float rowHeight = std::floor(ImGui::GetTextLineHeightWithSpacing());
    layout_.logHeight = logHeight;
    layout_.rowHeight = rowHeight;
    layout_.rowsDrawn = changes_;
    layout_.scrollY = ImGui::GetScrollY();  // a scroll asked for below shows next frame
    if (logDrawing == LogDrawing::EveryRow || !(rowHeight >= 1.0f) ||
        rowLines_.size() > static_cast<std::size_t>(INT_MAX)) {
        DrawEveryRow(lines_);
    } else {
        DrawVisibleRows(lines_, rowLines_, rowHeight);
    }
    scrolledByKey_ = scrollStep_.has_value();
    if (scrollStep_ == ScrollStep::ToEnd) scrollToBottom = true;
    if (scrollToBottom) {
        scrollToBottom = false;
        ImGui::SetScrollHereY(1.0f);
    } else if (scrollStep_) {
        ImGui::SetScrollY(ScrolledTo(*scrollStep_));
    }
    scrollStep_.reset();
    ImGui::EndChild();

    layout_.footerTop = ImGui::GetCursorScreenPos().y;
    layout_.footerHeight = ImGui::GetFrameHeight();
    layout_.lineLeft = ImGui::GetCursorScreenPos().x + ImGui::GetStyle().FramePadding.x;
    layout_.lineTop = layout_.footerTop + ImGui::GetStyle().FramePadding.y;
    ImGui::SetKeyboardFocusHere(0);
    ImGui::PushItemWidth(contentMax.x);
    ImGui::PushStyleColor(ImGuiCol_Text, TextColour(SpanStyle::Plain));
    // The field advances its blink timer by this frame's time before it draws the caret.
    ImGuiIO& io = ImGui::GetIO();
    const bool blinks = io.ConfigInputTextCursorBlink;
    const ImGuiInputTextState* resting = ImGui::GetInputTextState(ImGui::GetID("##Input"));
    if (resting != nullptr && resting->CursorAnim + io.DeltaTime >= kCaretBlinksFor) {
        io.ConfigInputTextCursorBlink = false;
    }
    if (ImGui::InputText("##Input", inputBuffer, kInputBufferSize,
                         ImGuiInputTextFlags_EnterReturnsTrue | ImGuiInputTextFlags_CallbackHistory,
                         RecallFromHistory, &history_)) {
        scrollToBottom = true;
        submitted.assign(inputBuffer, strnlen(inputBuffer, kInputBufferSize));
        std::memset(inputBuffer, 0, kInputBufferSize);
        history_.Add(submitted);
    }
    io.ConfigInputTextCursorBlink = blinks;
    inputActive_ = ImGui::IsItemActive();
    const ImGuiInputTextState* field = ImGui::GetInputTextState(ImGui::GetItemID());
    caretChangeIn_ =
        inputActive_ && field != nullptr && blinks ? CaretChangeAfter(field->CursorAnim) : -1.0;
    // A field without the focus keeps no caret; the next edit starts at the line's end.
    layout_.caret = inputActive_ && field != nullptr
                        ? field->GetCursorPos()
                        : static_cast<int>(ImTextCountCharsFromUtf8(inputBuffer, nullptr));
    layout_.line.assign(inputBuffer, strnlen(inputBuffer, kInputBufferSize));
    ImGui::PopStyleColor(1);
    ImGui::PopItemWidth();
    ImGui::End();
    ImGui::PopStyleVar(1);
    ImGui::PopStyleColor(2);

    return submitted;
}
