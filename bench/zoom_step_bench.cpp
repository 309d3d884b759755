// What one zoom step costs until the new size is on screen, as the window's loop takes it: the
// font rasterised again between frames, a frame that measures the width the new size leaves, the
// log laid out again from its texts, and the frame that draws it. A plain console frame of the
// same log (ConsoleFrame) is the baseline in the same run.

#include <benchmark/benchmark.h>
#include <imgui.h>

#include "app/window/font.h"
#include "app/window/window_pacer.h"
#include "console/console.h"
#include "headless_gui.h"
#include "story_log.h"

namespace {

// Far above any GL's largest texture the atlas could need at these sizes.
constexpr int kLargestTexture = 16384;

void ZoomStep(benchmark::State& state) {
    HeadlessGui gui;
    Console console;
    gui.Frame(console);
    FillLog(console, static_cast<std::size_t>(state.range(0)));
    ConsoleFont font(std::string(TARNWICK_BENCH_FONT), kLargestTexture);
    // Between 100% and 125%, and back: every step changes the width of the log.
    const float scales[] = {1.0f, 1.25f};
    int step = 0;
    // The window loop's decision of when to lay the log out again; frames follow while it does.
    WindowPacer pacer(FrameSchedule::kNever);
    int frames = 0;
    for (auto _ : state) {
        step ^= 1;
        font.Load(ImGui::GetIO(), scales[step]);
        bool relaid = true;
        while (relaid) {
            gui.Frame(console);
            ++frames;
            relaid =
                pacer.ConsoleDrawn({false, -1.0, console.wrapWidth, ImGui::GetFontSize()}).relayout;
            if (relaid) console.Rewrap();
        }
    }
    state.counters["lines"] = static_cast<double>(console.lines().size());
    state.counters["frames"] =
        static_cast<double>(frames) / static_cast<double>(state.iterations());
}

BENCHMARK(ZoomStep)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
