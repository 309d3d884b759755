// Drawing only the rows in view must give exactly the draw lists of drawing every row: the
// same vertices, indices, clip rectangles and commands, frame after frame, while the log grows,
// scrolls, is cleared and is laid out again.

#include <gtest/gtest.h>
#include <imgui.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "console/console.h"
#include "session/wake.h"
#include "support/headless_driver.h"

namespace {

constexpr float kFrameSeconds = wake::kFrameSeconds;
const ImVec2 kOverTheLog(640.0f, 300.0f);
constexpr int kSettleFrames = 3;

struct DrawnCommand {
    ImVec4 clipRect;
    ImTextureID texture;
    unsigned int vertexOffset;
    unsigned int indexOffset;
    unsigned int elementCount;
};

struct DrawnList {
    std::vector<ImDrawVert> vertices;
    std::vector<ImDrawIdx> indices;
    std::vector<DrawnCommand> commands;
};

using DrawnFrame = std::vector<DrawnList>;

DrawnFrame Capture(const ImDrawData& data) {
    DrawnFrame frame;
    for (int n = 0; n < data.CmdListsCount; ++n) {
        const ImDrawList& list = *data.CmdLists[n];
        DrawnList drawn;
        drawn.vertices.assign(list.VtxBuffer.begin(), list.VtxBuffer.end());
        drawn.indices.assign(list.IdxBuffer.begin(), list.IdxBuffer.end());
        for (const ImDrawCmd& command : list.CmdBuffer) {
            drawn.commands.push_back({command.ClipRect, command.TextureId, command.VtxOffset,
                                      command.IdxOffset, command.ElemCount});
        }
        frame.push_back(std::move(drawn));
    }
    return frame;
}

bool SameVec2(const ImVec2& a, const ImVec2& b) {
    return a.x == b.x && a.y == b.y;
}

bool SameVec4(const ImVec4& a, const ImVec4& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
}

// Describes the first difference between two frames, or returns an empty string.
std::string FirstDifference(const DrawnFrame& a, const DrawnFrame& b) {
    if (a.size() != b.size()) return "draw list count differs";
    for (std::size_t n = 0; n < a.size(); ++n) {
        const std::string where = "draw list " + std::to_string(n) + ": ";
        if (a[n].vertices.size() != b[n].vertices.size()) {
            return where + "vertex count " + std::to_string(a[n].vertices.size()) + " vs " +
                   std::to_string(b[n].vertices.size());
        }
        for (std::size_t v = 0; v < a[n].vertices.size(); ++v) {
            const ImDrawVert& x = a[n].vertices[v];
            const ImDrawVert& y = b[n].vertices[v];
            if (!SameVec2(x.pos, y.pos) || !SameVec2(x.uv, y.uv) || x.col != y.col) {
                return where + "vertex " + std::to_string(v) + " differs";
            }
        }
        if (a[n].indices != b[n].indices) return where + "indices differ";
        if (a[n].commands.size() != b[n].commands.size()) return where + "command count differs";
        for (std::size_t c = 0; c < a[n].commands.size(); ++c) {
            const DrawnCommand& x = a[n].commands[c];
            const DrawnCommand& y = b[n].commands[c];
            if (!SameVec4(x.clipRect, y.clipRect) || x.texture != y.texture ||
                x.vertexOffset != y.vertexOffset || x.indexOffset != y.indexOffset ||
                x.elementCount != y.elementCount) {
                return where + "command " + std::to_string(c) + " differs";
            }
        }
    }
    return {};
}

std::size_t VertexCount(const DrawnFrame& frame) {
    std::size_t count = 0;
    for (const DrawnList& list : frame) count += list.vertices.size();
    return count;
}

// A GUI context of the game's window size and font with a console of its own, run frame by
// frame as the game's loop runs it: NewFrame, Console::Draw, Render.
class LogView {
public:
    explicit LogView(Console::LogDrawing drawing) : context_(CreateHeadlessGuiContext()) {
        console.logDrawing = drawing;
    }
    ~LogView() { ImGui::DestroyContext(context_); }
    LogView(const LogView&) = delete;
    LogView& operator=(const LogView&) = delete;

    // One frame with the mouse over the log, turning the wheel by `wheel` notches (up > 0).
    DrawnFrame Frame(float wheel) {
        ImGui::SetCurrentContext(context_);
        ImGuiIO& io = ImGui::GetIO();
        io.DeltaTime = kFrameSeconds;
        io.MousePos = kOverTheLog;
        io.MouseWheel = wheel;
        ImGui::NewFrame();
        console.Draw();
        ImGui::Render();
        return Capture(*ImGui::GetDrawData());
    }

    Console console;

private:
    ImGuiContext* context_;
};

// Story text in every style, with the empty lines and bare tags that take no row or an
// empty one.
const std::vector<std::string> kTexts = {
    "Welcome to the Vosk! The shortest text based game ever. Where <a>actions</>, <h>hints</> "
    "and <i>interactables</> are all color coded :).",
    "<s>look around</>",
    "It's dark outside, you can't really see that well, the small <i>windows</> aren't making "
    "it easier. You see a <i>dresser</>, a bed and a chair. There's a <i>door</>, I wonder if "
    "it <a>opens</>.",
    "first\n\nafter an empty line",
    "<s>open drawer</>",
    "<a>",
    "",
    "<h>This might be useful.</> 100% <p>purple</> and <b>unnamed</>",
};

void AddLog(Console& console, int texts) {
    for (int n = 0; n < texts; ++n) {
        console.AddText(kTexts[static_cast<std::size_t>(n) % kTexts.size()]);
    }
}

// One frame of a case: something done to the log before it, and the wheel during it.
struct Step {
    std::function<void(Console&)> change;
    float wheel = 0.0f;
};

struct ClippingCase {
    const char* name;
    std::function<void(Console&)> setUp;
    std::vector<Step> steps;
};

Step Settle() {
    return {nullptr, 0.0f};
}

Step Wheel(float notches) {
    return {nullptr, notches};
}

Step Change(std::function<void(Console&)> change) {
    return {std::move(change), 0.0f};
}

std::vector<ClippingCase> Cases() {
    const auto noLog = [](Console&) {
    };
    const auto shortLog = [](Console& console) {
        AddLog(console, 8);
    };
    const auto longLog = [](Console& console) {
        AddLog(console, 1600);
    };
    const auto narrower = [](Console& console) {
        console.wrapWidth /= 2;
        console.Rewrap();
    };
    return {
        {"EmptyLog", noLog, {Settle(), Settle()}},
        {"ShortLog", shortLog, {Settle(), Settle(), Wheel(1.0f), Settle(), Wheel(-1.0f)}},
        {"LongLogAtItsEnd", longLog, {Settle(), Settle(), Settle()}},
        {"LongLogScrolledByTheWheel",
         longLog,
         {Settle(), Settle(), Wheel(3.0f), Settle(), Wheel(0.5f), Settle(), Wheel(-1.25f), Settle(),
          Wheel(40.0f), Settle()}},
        {"LongLogScrolledToTheTop", longLog, {Settle(), Settle(), Wheel(10000.0f), Settle()}},
        {"TextAddedWhileScrolledUp",
         longLog,
         {Settle(), Settle(), Wheel(5.0f), Settle(), Change([](Console& c) { AddLog(c, 3); }),
          Settle(), Settle()}},
        {"GrowingFromEmpty",
         noLog,
         {Settle(), Change([](Console& c) { AddLog(c, 10); }), Settle(),
          Change([](Console& c) { AddLog(c, 200); }), Settle(),
          Change([](Console& c) { c.AddText(""); }), Settle()}},
        {"ClearedAndWrittenAgain",
         longLog,
         {Settle(), Settle(), Change([](Console& c) { c.Clear(); }), Settle(),
          Change([](Console& c) { AddLog(c, 5); }), Settle(), Settle()}},
        {"LaidOutAgain",
         longLog,
         {Settle(), Settle(), Change([](Console& c) { c.Rewrap(); }), Settle(), Settle()}},
        {"LaidOutAgainNarrower", longLog, {Settle(), Change(narrower), Settle()}},
    };
}

void PrintTo(const ClippingCase& testCase, std::ostream* out) {
    *out << testCase.name;
}

class ConsoleClipping : public testing::TestWithParam<ClippingCase> {};

TEST_P(ConsoleClipping, VisibleRowsDrawExactlyWhatEveryRowDraws) {
    const ClippingCase& testCase = GetParam();
    LogView everyRow(Console::LogDrawing::EveryRow);
    LogView visibleRows(Console::LogDrawing::VisibleRows);
    // The window's first frame measures the wrap width the log is laid out at.
    everyRow.Frame(0.0f);
    visibleRows.Frame(0.0f);
    testCase.setUp(everyRow.console);
    testCase.setUp(visibleRows.console);

    for (std::size_t n = 0; n < testCase.steps.size(); ++n) {
        const Step& step = testCase.steps[n];
        if (step.change) {
            step.change(everyRow.console);
            step.change(visibleRows.console);
        }
        for (int frame = 0; frame < kSettleFrames; ++frame) {
            const float wheel = frame == 0 ? step.wheel : 0.0f;
            const DrawnFrame expected = everyRow.Frame(wheel);
            const DrawnFrame actual = visibleRows.Frame(wheel);
            ASSERT_EQ(FirstDifference(expected, actual), "") << "step " << n << ", frame " << frame;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Logs, ConsoleClipping, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<ClippingCase>& info) {
                             return std::string(info.param.name);
                         });

// The comparisons above mean something only if the log shows and the wheel moves it.
TEST(ConsoleClippingCases, TheLongLogShowsTextAndTheWheelMovesIt) {
    LogView view(Console::LogDrawing::VisibleRows);
    const std::size_t emptyWindow = VertexCount(view.Frame(0.0f));
    AddLog(view.console, 1600);
    view.Frame(0.0f);
    const DrawnFrame atTheEnd = view.Frame(0.0f);
    EXPECT_GT(VertexCount(atTheEnd), emptyWindow + 4 * 100);

    view.Frame(3.0f);
    const DrawnFrame scrolledUp = view.Frame(0.0f);
    EXPECT_NE(FirstDifference(atTheEnd, scrolledUp), "");
}

}  // namespace
