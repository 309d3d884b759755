// A day of game time in every scene, with nobody typing, in frames of 1 to 250 ms: every timed
// text comes in the frame the story says, as often as it says and never twice, and the heap
// grows only by what the log gains.
//
// TARNWICK_SOAK_HOURS sets the game time per scene (24 hours by default; `make soak` runs a
// week).
// TARNWICK_SOAK_SEED changes the frame lengths.

#include <gtest/gtest.h>
#include <imgui.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "reference/markup_reference.h"
#include "soak/heap_usage.h"
#include "soak/scene_paths.h"
#include "soak/story_timeline.h"
#include "story/story.h"
#include "support/headless_driver.h"

namespace {

constexpr double kDefaultHours = 24.0;
constexpr unsigned kDefaultSeed = 20240611;
constexpr float kShortestFrame = 0.001f;
constexpr float kLongestFrame = 0.25f;
constexpr double kSecondsPerHour = 3600.0;
// The GUI toolkit sizes its buffers in the first frames; the heap is measured from then on.
constexpr double kWarmUpSeconds = 60.0;
// What the heap may move by apart from the log: the toolkit's buffers, rounding of large blocks,
// and the window's index of the log's rows, up to two words a line.
constexpr long kHeapSlack = 16 * 1024;
constexpr long kRowIndexBytesPerLine = 2 * sizeof(std::size_t);

// What a scene prints with nobody typing.
struct TimedTexts {
    int once;            // timed texts that come exactly once
    float repeatsEvery;  // period of the one text that keeps coming, or 0
};

// By scene index. The beast kills at 3 s and the player wakes up again at 10 s: the beast's two
// texts and the five of waking up.
const TimedTexts kTimedTexts[kSceneCount] = {
    {2, 45.0f}, {1, 0.0f}, {0, 15.0f}, {1, 0.0f}, {5, 0.0f},
    {0, 0.0f},  {0, 0.0f}, {0, 0.0f},  {7, 0.0f}, {3, 0.0f},
};

double SoakHours() {
    const char* hours = std::getenv("TARNWICK_SOAK_HOURS");
    return hours != nullptr ? std::atof(hours) : kDefaultHours;
}

unsigned SoakSeed(int scene) {
    const char* seed = std::getenv("TARNWICK_SOAK_SEED");
    return (seed != nullptr ? static_cast<unsigned>(std::atol(seed)) : kDefaultSeed) +
           static_cast<unsigned>(scene);
}

// What a text shows line by line at a width, laid out once by a console of its own.
class TextLayouts {
public:
    explicit TextLayouts(int width) : width_(width) {}

    const std::vector<reference::StyledText>& Of(const char* text) {
        auto known = layouts_.find(text);
        if (known != layouts_.end()) return known->second;
        Console console;
        console.wrapWidth = width_;
        console.AddText(text);
        std::vector<reference::StyledText>& shown = layouts_[text];
        for (const ConsoleLine& line : console.lines()) shown.push_back(reference::Shown(line));
        return shown;
    }

private:
    int width_;
    std::map<std::string, std::vector<reference::StyledText>> layouts_;
};

std::size_t NonEmptyLines(const std::vector<ConsoleLine>& lines) {
    std::size_t count = 0;
    for (const ConsoleLine& line : lines) count += line.empty() ? 0 : 1;
    return count;
}

struct HeapSample {
    std::size_t lines = 0;
    std::size_t nonEmptyLines = 0;
    long logBytes = 0;
    long drawBytes = 0;
    long heapBytes = 0;
};

HeapSample SampleHeap(const Console& console) {
    HeapSample sample;
    sample.lines = console.lines().size();
    sample.nonEmptyLines = NonEmptyLines(console.lines());
    sample.logBytes = static_cast<long>(soak::LogHeapBytes(console.lines()) +
                                        soak::TextsHeapBytes(console.Texts()));
    sample.drawBytes = static_cast<long>(soak::DrawListHeapBytes());
    sample.heapBytes = static_cast<long>(soak::HeapBytesInUse());
    return sample;
}

// Compares the heap's growth with the log's (and the draw lists') from a first sample on.
class HeapWatch {
public:
    void Sample(const Console& console, const char* scene, double soaked) {
        const HeapSample sample = SampleHeap(console);
        if (!started_) {
            start_ = sample;
            started_ = true;
        }
        last_ = sample;
        const long gap = (sample.heapBytes - start_.heapBytes) -
                         (sample.logBytes - start_.logBytes) -
                         (sample.drawBytes - start_.drawBytes);
        const long newRows =
            static_cast<long>(sample.nonEmptyLines) - static_cast<long>(start_.nonEmptyLines);
        const long allowed = kHeapSlack + kRowIndexBytesPerLine * std::max(0L, newRows);
        if (std::getenv("TARNWICK_SOAK_VERBOSE") != nullptr) {
            std::printf("  %s %.2f h: lines %zu, log %ld, draw %ld, heap %ld, gap %ld\n", scene,
                        soaked / kSecondsPerHour, sample.lines, sample.logBytes, sample.drawBytes,
                        sample.heapBytes, gap);
        }
        EXPECT_LE(std::labs(gap), allowed)
            << "the heap moved " << gap << " bytes apart from the log after " << soaked << " s";
        if (std::labs(gap) >= std::labs(largestGap_)) {
            largestGap_ = gap;
            allowedGap_ = allowed;
        }
    }

    std::string Summary() const {
        return "log +" + std::to_string(last_.lines - start_.lines) + " lines +" +
               std::to_string(last_.logBytes - start_.logBytes) + " bytes; heap +" +
               std::to_string(last_.heapBytes - start_.heapBytes) +
               " bytes; largest gap heap vs log " + std::to_string(largestGap_) + " of " +
               std::to_string(allowedGap_) + " bytes allowed";
    }

private:
    bool started_ = false;
    HeapSample start_;
    HeapSample last_;
    long largestGap_ = 0;
    long allowedGap_ = 0;
};

// Smallest step of the float clock at `seconds`: the story's timers cannot be finer.
double ClockStep(double seconds) {
    const float now = static_cast<float>(seconds);
    return static_cast<double>(std::nextafter(now, 2.0f * now + 1.0f) - now);
}

class Soak : public testing::TestWithParam<soak::ScenePath> {};

TEST_P(Soak, TimedTextsComeAsTheStorySaysAndTheHeapGrowsOnlyWithTheLog) {
    const soak::ScenePath& path = GetParam();
    const TimedTexts expected = kTimedTexts[path.scene];
    HeadlessDriver driver;
    for (const std::string& line : path.typed) driver.Type(line);
    const Game& game = driver.game();
    const Console& console = driver.console();
    ASSERT_EQ(game.currentScene, path.scene);
    const float entered = path.typed.empty() ? 0.0f : driver.Now();
    ASSERT_EQ(game.sceneStartTime, entered) << "the scene's clock starts when it is entered";

    soak::StoryTimeline timeline(path.scene, entered, game.eventStage, ImGui::GetTime());
    std::mt19937 random(SoakSeed(path.scene));
    std::uniform_real_distribution<float> frameLength(kShortestFrame, kLongestFrame);
    const double soakSeconds = SoakHours() * kSecondsPerHour;
    double soaked = 0.0;
    long frames = 0;
    if (path.typed.empty()) {
        // The first frame lays the welcome text out again at the width it measures.
        const float seconds = frameLength(random);
        driver.Frame(seconds);
        ASSERT_EQ(timeline.Frame(seconds).text, nullptr);
        soaked += seconds;
        ++frames;
    }
    TextLayouts layouts(console.wrapWidth);
    std::size_t expectedLines = console.lines().size();
    std::map<std::string, long> fired;
    double lastRepeat = entered;
    long repeats = 0;
    long timedTexts = 0;
    HeapWatch heap;
    double nextSample = kWarmUpSeconds;
    const auto wallStart = std::chrono::steady_clock::now();

    while (soaked < soakSeconds) {
        const float seconds = frameLength(random);
        driver.Frame(seconds);
        soaked += seconds;
        ++frames;
        const soak::TimedEvent event = timeline.Frame(seconds);
        if (event.clearsLog) expectedLines = 0;
        if (event.text != nullptr) {
            ++fired[event.text];
            ++timedTexts;
            for (const reference::StyledText& shown : layouts.Of(event.text)) {
                ASSERT_LT(expectedLines, console.lines().size())
                    << "missing text \"" << event.text << "\" at frame " << frames;
                ASSERT_TRUE(reference::Shown(console.lines()[expectedLines]).SameShown(shown))
                    << "expected \"" << event.text << "\" at frame " << frames;
                ++expectedLines;
            }
        }
        if (event.repeatsEvery > 0.0f) {
            // The text comes again after its period, late by at most one frame.
            const double now = ImGui::GetTime();
            const double step = ClockStep(now);
            ASSERT_GT(now - lastRepeat, event.repeatsEvery - step) << "too early, frame " << frames;
            ASSERT_LE(now - lastRepeat, event.repeatsEvery + kLongestFrame + step)
                << "too late, frame " << frames;
            lastRepeat = static_cast<float>(now);
            ++repeats;
        }
        ASSERT_EQ(console.lines().size(), expectedLines)
            << "the log changed unexpectedly at frame " << frames << ", " << soaked << " s";
        ASSERT_EQ(game.currentScene, timeline.scene()) << "frame " << frames;

        if (soaked >= nextSample || soaked >= soakSeconds) {
            heap.Sample(console, path.name, soaked);
            nextSample = soaked < kWarmUpSeconds
                             ? kWarmUpSeconds
                             : (std::floor(soaked / kSecondsPerHour) + 1.0) * kSecondsPerHour;
        }
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();

    // Counted against the story, not the timeline: one-off texts once each, the repeating one
    // right up to the end.
    int once = 0;
    for (const auto& [text, count] : fired) {
        if (expected.repeatsEvery > 0.0f && count > 1) continue;
        EXPECT_EQ(count, 1) << "\"" << text << "\" fired " << count << " times";
        ++once;
    }
    EXPECT_EQ(once, expected.once);
    if (expected.repeatsEvery > 0.0f) {
        EXPECT_GT(repeats,
                  static_cast<long>(soakSeconds / (expected.repeatsEvery + kLongestFrame)) - 2);
        EXPECT_LE(ImGui::GetTime() - lastRepeat, expected.repeatsEvery + kLongestFrame + 0.01);
    }

    std::printf(
        "soak %-9s %6.2f h game time, %8ld frames, %7.1f s wall (%.1f us/frame); timed texts: %ld "
        "(%d once, %ld repeated); %s\n",
        path.name, soaked / kSecondsPerHour, frames, wall, 1e6 * wall / static_cast<double>(frames),
        timedTexts, once, repeats, heap.Summary().c_str());
}

INSTANTIATE_TEST_SUITE_P(EveryScene, Soak, testing::ValuesIn(soak::PathsToEveryScene()),
                         [](const testing::TestParamInfo<soak::ScenePath>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
