// What one console frame costs as the log grows: NewFrame, Console::Draw and Render with no
// renderer, the log scrolled to its end as after the latest text.

#include <benchmark/benchmark.h>

#include "console/console.h"
#include "headless_gui.h"
#include "story_log.h"

namespace {

// Frames for the toolkit to size the new window and scroll to the end of the log.
constexpr int kSettleFrames = 3;

void ConsoleFrame(benchmark::State& state, Console::LogDrawing drawing) {
    HeadlessGui gui;
    Console console;
    console.logDrawing = drawing;
    gui.Frame(console);  // measures the width the log is laid out at
    FillLog(console, static_cast<std::size_t>(state.range(0)));
    for (int n = 0; n < kSettleFrames; ++n) gui.Frame(console);

    for (auto _ : state) gui.Frame(console);
    state.counters["lines"] = static_cast<double>(console.lines().size());
}

void LogLengths(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
}

BENCHMARK_CAPTURE(ConsoleFrame, VisibleRows, Console::LogDrawing::VisibleRows)->Apply(LogLengths);
BENCHMARK_CAPTURE(ConsoleFrame, EveryRow, Console::LogDrawing::EveryRow)->Apply(LogLengths);

}  // namespace
