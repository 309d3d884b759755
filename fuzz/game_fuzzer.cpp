// Fuzzes the whole game through the headless driver: from scene 0, a sequence of typed lines
// and clock steps, with real console frames in between.
//
// Input: commands, one per line (separated by "\n"):
//   ~N   let N milliseconds pass (at most 60000) in frames of at most 250 ms;
//   !N   one frame of N milliseconds (1 to 60000): a stall;
//   #N   type entry N (modulo its size) of the vocabulary: every phrase of the story and a few
//        lines that carry an argument;
//   any other line is typed as it is, at most 31 bytes of it.
// After every command the scene indices must be valid; a typed line must reach the game as the
// input field holds it, and its echo must be in the log.

#include <imgui.h>

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "reference/markup_reference.h"
#include "reference/typed_input.h"
#include "story/story.h"
#include "support/headless_driver.h"

namespace {

constexpr std::size_t kMostCommands = 48;
constexpr long kLongestWaitMs = 60000;
constexpr float kLongestFrame = 0.25f;
constexpr float kShortestFrame = 0.001f;
// After its echo a line's handler, a scene entry and one update may print a few lines each.
constexpr std::size_t kLinesAfterEcho = 12;

// Lines no single phrase spells out: the red button wants what is pushed, and a few typing
// errors and capitals the matcher forgives.
const char* const kExtraLines[] = {
    "push the red button", "press button", "I UNDERSTAND", "uhu",
    "Lok around",          "pick up key",  "close it",     "open lft door now"};

std::vector<std::string> vocabulary;
std::bitset<kSceneCount> scenesReached;
long typedLines = 0;

void BuildVocabulary() {
    ImGui::CreateContext();  // the story reads the GUI clock while it is built
    {
        Console console;
        const Game game(console);
        for (const Scene& scene : game.scenes) {
            for (const Action& action : scene.actions) {
                vocabulary.insert(vocabulary.end(), action.phrases.begin(), action.phrases.end());
            }
        }
    }
    ImGui::DestroyContext();
    vocabulary.insert(vocabulary.end(), std::begin(kExtraLines), std::end(kExtraLines));
}

void PrintReport() {
    std::string reached;
    for (int scene = 0; scene < kSceneCount; ++scene) {
        if (scenesReached[static_cast<std::size_t>(scene)]) reached += std::to_string(scene) + " ";
    }
    std::fprintf(stderr, "game: %ld lines typed, scenes reached: %s\n", typedLines,
                 reached.c_str());
}

long NumberAfter(const std::string& command) {
    long number = 0;
    for (std::size_t i = 1; i < command.size() && i <= 6; ++i) {
        if (command[i] < '0' || command[i] > '9') break;
        number = number * 10 + (command[i] - '0');
    }
    return number;
}

void CheckScenes(const Game& game) {
    const int count = static_cast<int>(game.scenes.size());
    fuzz::Require(game.currentScene >= 0 && game.currentScene < count && game.previousScene >= 0 &&
                      game.previousScene < count,
                  "scene indices stay valid");
    scenesReached.set(static_cast<std::size_t>(game.currentScene));
}

void Wait(HeadlessDriver& driver, long milliseconds) {
    float left = static_cast<float>(milliseconds) / 1000.0f;
    do {
        const float frame = left < kShortestFrame  ? kShortestFrame
                            : left > kLongestFrame ? kLongestFrame
                                                   : left;
        driver.Frame(frame);
        CheckScenes(driver.game());
        left -= frame;
    } while (left > 0.0f);
}

void TypeLine(HeadlessDriver& driver, const std::string& typed) {
    ++typedLines;
    const std::string expected = reference::FieldLineAfterTyping(typed);
    const std::string line = driver.Type(reference::PaddedForTyping(typed));
    fuzz::Require(line == expected, "a typed line reaches the game as the field holds it", [&] {
        return "typed \"" + fuzz::Escaped(typed) + "\", field gave \"" + fuzz::Escaped(line) +
               "\", expected \"" + fuzz::Escaped(expected) + "\"";
    });
    CheckScenes(driver.game());
    if (line.empty()) return;

    // Only the wake-up scene empties the log. Otherwise the echo is there, followed at most by
    // what its handler, a scene entry and one update printed in the same frame.
    const std::vector<ConsoleLine>& lines = driver.console().lines();
    if (lines.empty() && driver.game().currentScene == WakeUp) return;
    char style = reference::kPlainStyle;
    const reference::StyledText echo = reference::ScanMarkup("<s>" + line + "</>", style);
    bool found = false;
    for (std::size_t back = 1; back <= kLinesAfterEcho + 1 && back <= lines.size(); ++back) {
        if (reference::Shown(lines[lines.size() - back]).SameShown(echo)) found = true;
    }
    fuzz::Require(found, "the echo of a typed line is in the log",
                  [&line] { return "line \"" + fuzz::Escaped(line) + "\""; });
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    BuildVocabulary();
    if (std::getenv("TARNWICK_FUZZ_REPORT") != nullptr) std::atexit(PrintReport);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    HeadlessDriver driver;
    CheckScenes(driver.game());

    std::size_t start = 0;
    for (std::size_t count = 0; count < kMostCommands && start <= input.size(); ++count) {
        std::size_t end = input.find('\n', start);
        if (end == std::string::npos) end = input.size();
        const std::string command = input.substr(start, end - start);
        start = end + 1;

        if (!command.empty() && command[0] == '~') {
            Wait(driver, std::min(NumberAfter(command), kLongestWaitMs));
        } else if (!command.empty() && command[0] == '!') {
            const long stall = std::max(1L, std::min(NumberAfter(command), kLongestWaitMs));
            driver.Frame(static_cast<float>(stall) / 1000.0f);
            CheckScenes(driver.game());
        } else if (!command.empty() && command[0] == '#') {
            TypeLine(
                driver,
                vocabulary[static_cast<std::size_t>(NumberAfter(command)) % vocabulary.size()]);
        } else {
            TypeLine(driver, command.substr(0, reference::kLongestTypedLine));
        }
    }
    return 0;
}
