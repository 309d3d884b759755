// Console::Draw in real GUI frames without a window.

#include <gtest/gtest.h>
#include <imgui_internal.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "support/headless_driver.h"

namespace {

// A story of one scene that accepts nothing, so that the log holds only what a test adds.
void QuietStory(Game& game, Console&) {
    game.SetScenes({Scene([] {}, [] {})});
}

ImGuiWindow* LogRegion() {
    ImGuiWindow* console = ImGui::FindWindowByName("Console");
    for (ImGuiWindow* child : console->DC.ChildWindows) return child;
    return nullptr;
}

bool BufferIsEmpty(const Console& console) {
    return std::all_of(std::begin(console.inputBuffer), std::end(console.inputBuffer),
                       [](char byte) { return byte == 0; });
}

// GLFW's codes for the arrows, mapped as the window's GUI binding maps them.
constexpr int kUpKey = 265;
constexpr int kDownKey = 264;

// Holds a key down for one frame and lets it go in the next.
void TapKey(HeadlessDriver& driver, ImGuiKey key, int code) {
    ImGuiIO& io = ImGui::GetIO();
    io.KeyMap[key] = code;
    io.KeysDown[code] = true;
    driver.Frame();
    io.KeysDown[code] = false;
    driver.Frame();
}

std::string Field(const Console& console) {
    return std::string(console.inputBuffer,
                       strnlen(console.inputBuffer, sizeof console.inputBuffer));
}

}  // namespace

TEST(ConsoleWindow, ReturnsTheTypedLineAsTypedAndEmptiesTheField) {
    HeadlessDriver driver(QuietStory);
    const char* lines[] = {"look around", "  Look AROUND  ", "50% of %s and %d", "<a>go</>"};
    for (const char* line : lines) {
        EXPECT_EQ(driver.Type(line), line);
        EXPECT_TRUE(BufferIsEmpty(driver.console())) << line;
    }
}

TEST(ConsoleWindow, TakesAtMostThirtyOneBytes) {
    HeadlessDriver driver(QuietStory);
    const std::string typed(40, 'x');
    EXPECT_EQ(driver.Type(typed), std::string(31, 'x'));
    const std::string multiByte =
        "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"
        "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"
        "\xC3\xA9\xC3\xA9\xC3\xA9";
    EXPECT_LE(driver.Type(multiByte).size(), 31u);
}

TEST(ConsoleWindow, EnterOnAnEmptyFieldReturnsNothingButScrollsNextFrame) {
    HeadlessDriver driver(QuietStory);
    driver.Frame();
    driver.Frame();  // the opening scroll request is consumed
    EXPECT_FALSE(driver.console().scrollToBottom);
    EXPECT_EQ(driver.Type(""), "");
    EXPECT_TRUE(driver.console().scrollToBottom);
    EXPECT_TRUE(driver.console().lines().empty());  // the story added nothing
    driver.Frame();
    EXPECT_FALSE(driver.console().scrollToBottom);
}

TEST(ConsoleWindow, AddedTextScrollsTheLogToItsEnd) {
    HeadlessDriver driver(QuietStory);
    driver.Frame();
    for (int i = 0; i < 200; ++i) driver.console().AddText("line " + std::to_string(i));
    driver.Frame();
    driver.Frame();  // the region measures its new content, then scrolls to its end
    ImGuiWindow* log = LogRegion();
    ASSERT_NE(log, nullptr);
    EXPECT_GT(log->ScrollMax.y, 0.0f);
    EXPECT_FLOAT_EQ(log->Scroll.y, log->ScrollMax.y);

    log->Scroll.y = 0.0f;  // the player scrolls up with the wheel
    driver.console().AddText("news");
    driver.Frame();
    driver.Frame();
    EXPECT_FLOAT_EQ(LogRegion()->Scroll.y, LogRegion()->ScrollMax.y);
}

TEST(ConsoleWindow, PageKeysKeepTheRowAtThePagesEdgeInView) {
    HeadlessDriver driver(QuietStory);
    driver.Frame();
    for (int i = 0; i < 200; ++i) driver.console().AddText("line " + std::to_string(i));
    driver.Frame();
    driver.Frame();
    // A page less one row, either way: the row at the edge the view leaves is seen at the other.
    for (const auto step : {Console::ScrollStep::PageUp, Console::ScrollStep::PageDown}) {
        const float before = LogRegion()->Scroll.y;
        driver.console().Scroll(step);
        driver.Frame();
        driver.Frame();  // the region takes the new scroll when it next begins
        const float moved = std::fabs(LogRegion()->Scroll.y - before);
        const float row = ImGui::GetTextLineHeightWithSpacing();
        EXPECT_LE(moved, LogRegion()->Size.y - row);
        EXPECT_GT(moved, LogRegion()->Size.y - 2.0f * row);
    }
}

TEST(ConsoleWindow, MeasuresTheLineWidthForTheGameFont) {
    HeadlessDriver driver(QuietStory);
    driver.Frame();
    // 1272 pixels of content at 8.79 pixels a character, less the two held back.
    EXPECT_EQ(driver.console().wrapWidth, 142);
    for (int i = 0; i < 5; ++i) driver.Frame();
    // The log leaves exactly the input row below it, so the window never grows a scrollbar
    // that would narrow the content.
    EXPECT_EQ(driver.console().wrapWidth, 142);
}

TEST(ConsoleWindow, DrawsTheSpansOfALineOnOneRow) {
    HeadlessDriver driver(QuietStory);
    Console& console = driver.console();
    driver.Frame();
    console.Clear();
    console.AddText("Clever girl... <a>push</> the big ");
    driver.Advance(2 * HeadlessDriver::kDefaultFrame);  // content size is known a frame later
    const float threeSpans = LogRegion()->ContentSize.y;

    console.Clear();
    console.AddText("Clever girl... push the big ");
    driver.Advance(2 * HeadlessDriver::kDefaultFrame);
    const float oneSpan = LogRegion()->ContentSize.y;
    EXPECT_GT(oneSpan, 0.0f);
    EXPECT_FLOAT_EQ(threeSpans, oneSpan);

    console.Clear();
    console.AddText("a\n\nb");  // an empty line takes no height
    driver.Frame();
    const float twoRows = LogRegion()->ContentSize.y;
    console.Clear();
    console.AddText("a\nb\nc");
    driver.Advance(2 * HeadlessDriver::kDefaultFrame);
    EXPECT_LT(twoRows, LogRegion()->ContentSize.y);
}

TEST(ConsoleWindow, ShowsPercentSignsLiterally) {
    HeadlessDriver driver(QuietStory);
    driver.Frame();
    auto verticesFor = [&driver](const char* text) {
        driver.console().Clear();
        driver.console().AddText(text);
        driver.Frame();
        return LogRegion()->DrawList->VtxBuffer.Size;
    };
    const int plain = verticesFor("abcdef");
    EXPECT_GT(plain, 0);
    EXPECT_EQ(verticesFor("%s%d%%"), plain);
}

TEST(ConsoleWindow, ArrowsRecallEarlierLinesAndTheDraftPastTheNewest) {
    HeadlessDriver driver(QuietStory);
    for (const char* line : {"look around", "open drawer", "open drawer", "take key"}) {
        driver.Type(line);
    }
    driver.Frame();                               // the field takes the focus back
    ImGui::GetIO().AddInputCharactersUTF8("op");  // typed, not yet submitted
    driver.Frame();
    struct Step {
        bool up;
        const char* shown;
    };
    // A line repeated at once is kept once; the oldest stays put, and past the newest the
    // draft comes back.
    const Step steps[] = {{true, "take key"},    {true, "open drawer"},  {true, "look around"},
                          {true, "look around"}, {false, "open drawer"}, {false, "take key"},
                          {false, "op"},         {false, "op"},          {true, "take key"}};
    for (const Step& step : steps) {
        if (step.up) {
            TapKey(driver, ImGuiKey_UpArrow, kUpKey);
        } else {
            TapKey(driver, ImGuiKey_DownArrow, kDownKey);
        }
        EXPECT_EQ(Field(driver.console()), step.shown);
    }
    // A recalled line goes in as if typed.
    EXPECT_EQ(driver.Type(""), "take key");
    EXPECT_TRUE(BufferIsEmpty(driver.console()));
}

// The caret blinks (its vertices come and go) until 10 s after the last edit, then rests shown
// with no blink left to wake for; an edit starts it blinking again.
TEST(ConsoleWindow, TheCaretRestsShownTenSecondsAfterTheLastEdit) {
    HeadlessDriver driver(QuietStory);
    const auto vertices = [] {
        return ImGui::GetDrawData()->TotalVtxCount;
    };
    int shown = 0;
    int hidden = INT_MAX;
    driver.Frame(0.05f);  // the field takes the focus
    for (float t = 0.05f; t < 9.5f; t += 0.05f) {
        driver.Frame(0.05f);
        EXPECT_GE(driver.console().CaretChangeIn(), 0.0) << t;
        shown = std::max(shown, vertices());
        hidden = std::min(hidden, vertices());
    }
    ASSERT_GT(shown, hidden) << "the caret never blinked";
    driver.Advance(1.0f, 0.05f);
    for (int frame = 0; frame < 100; ++frame) {
        driver.Frame(0.05f);
        EXPECT_LT(driver.console().CaretChangeIn(), 0.0) << frame;
        EXPECT_EQ(vertices(), shown) << frame;
    }
    ImGui::GetIO().AddInputCharacter('a');
    driver.Frame(0.05f);
    EXPECT_GE(driver.console().CaretChangeIn(), 0.0);
}
