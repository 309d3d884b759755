// The log's and the matcher's own work: laying out text, laying out the log again, matching a
// typed line against the room's phrases, and one edit distance.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "console/console.h"
#include "engine/edit_distance.h"
#include "engine/game.h"
#include "headless_gui.h"
#include "story/story.h"
#include "story_log.h"

namespace {

// The log is emptied this often, outside the timing, so that it does not grow without bound.
constexpr int kAddsBetweenClears = 1024;

// A console whose width was measured by a frame of the game's window and font.
int MeasuredWrapWidth() {
    HeadlessGui gui;
    Console console;
    gui.Frame(console);
    return console.wrapWidth;
}

void AddLongestText(benchmark::State& state) {
    Console console;
    console.wrapWidth = MeasuredWrapWidth();
    const std::string& text = LongestStoryText();
    int adds = 0;
    for (auto _ : state) {
        console.AddText(text);
        if (++adds == kAddsBetweenClears) {
            state.PauseTiming();
            console.Clear();
            adds = 0;
            state.ResumeTiming();
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}
BENCHMARK(AddLongestText);

// The whole log laid out again from its texts, at the width it has, as after a zoom step.
void RewrapLog(benchmark::State& state) {
    Console console;
    console.wrapWidth = MeasuredWrapWidth();
    FillLog(console, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) console.Rewrap();
    state.counters["lines"] = static_cast<double>(console.lines().size());
}
BENCHMARK(RewrapLog)->Arg(1000)->Unit(benchmark::kMicrosecond);

void TryActionInTheRoom(benchmark::State& state, const std::string& line) {
    HeadlessGui gui;  // the game reads the GUI clock when it enters its first scene
    Console console;
    Game game(console);
    Scene& room = game.scenes[WakeUp];
    bool accepted = false;
    for (auto _ : state) {
        accepted = room.TryAction(line);
        benchmark::DoNotOptimize(accepted);
    }
    state.SetLabel(accepted ? "accepted" : "no action");
}
// A typo the matcher forgives (its handler does nothing before the key has been seen), and a
// line that matches nothing, for which every phrase of the room is scored.
BENCHMARK_CAPTURE(TryActionInTheRoom, Typo, std::string("take kye"));
BENCHMARK_CAPTURE(TryActionInTheRoom, NoMatch, std::string("dance with the chair"));

void EditDistanceOfPhrases(benchmark::State& state) {
    const std::string typed = "walk to dresser";
    const std::string phrase = "look at dresser";
    for (auto _ : state) {
        int distance = EditDistance(typed, phrase);
        benchmark::DoNotOptimize(distance);
    }
}
BENCHMARK(EditDistanceOfPhrases);

}  // namespace
