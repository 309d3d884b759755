// Fuzzes the phrase matcher: arbitrary lines against the phrase lists of every scene of the
// game's story, and EditDistance of arbitrary pairs, both against plain computations.
//
// Input: two byte strings separated by the first NUL byte (the second may be empty). Each is
// typed in every scene; the pair (up to 64 bytes of each) is measured with EditDistance.

#include <imgui.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "console/console.h"
#include "engine/edit_distance.h"
#include "engine/game.h"
#include "fuzz_check.h"
#include "reference/matcher_reference.h"

namespace {

// Longer than any phrase with its argument, and than any line the input field takes.
constexpr std::size_t kLongestLine = 512;
// The distance tables grow with the product of the lengths: pairs are cut to this.
constexpr std::size_t kLongestMeasured = 64;

struct Accepted {
    bool called = false;
    std::size_t action = 0;
    std::string argument;
};

// A scene with the same phrase lists as one of the story's, whose handlers only record.
struct Probe {
    std::vector<std::vector<std::string>> phrases;
    Scene scene{[] {},
                [] {
                }};
};

Accepted accepted;
std::vector<std::unique_ptr<Probe>> probes;

void BuildProbes() {
    ImGui::CreateContext();  // the story reads the GUI clock while it is built
    Console console;
    const Game game(console);
    for (const Scene& story : game.scenes) {
        auto probe = std::make_unique<Probe>();
        for (std::size_t index = 0; index < story.actions.size(); ++index) {
            probe->phrases.push_back(story.actions[index].phrases);
            probe->scene.actions.push_back(
                {story.actions[index].phrases, [index](const std::string& argument) {
                     accepted = {true, index, argument};
                 }});
        }
        probes.push_back(std::move(probe));
    }
    ImGui::DestroyContext();
}

void CheckDistance(const std::string& a, const std::string& b) {
    const int distance = EditDistance(a, b);
    auto pair = [&a, &b, distance] {
        return "\"" + fuzz::Escaped(a) + "\", \"" + fuzz::Escaped(b) + "\" gave " +
               std::to_string(distance);
    };
    fuzz::Require(distance == reference::PlainEditDistance(a, b),
                  "EditDistance equals the plain table", pair);
    fuzz::Require(distance == EditDistance(b, a), "EditDistance is symmetric", pair);
    const int lengthGap =
        static_cast<int>(std::max(a.size(), b.size()) - std::min(a.size(), b.size()));
    fuzz::Require(
        distance >= lengthGap && distance <= static_cast<int>(std::max(a.size(), b.size())),
        "EditDistance lies between the length gap and the longer length", pair);
}

void CheckMatch(Probe& probe, std::size_t sceneIndex, const std::string& line) {
    accepted = {};
    const bool returned = probe.scene.TryAction(line);
    const reference::PlainMatch expected = reference::PlainTryAction(probe.phrases, line);
    auto where = [sceneIndex, &line] {
        return "scene " + std::to_string(sceneIndex) + ", line \"" + fuzz::Escaped(line) + "\"";
    };
    fuzz::Require(returned == accepted.called, "TryAction returns whether a handler ran", where);
    fuzz::Require(returned == expected.accepted, "the same lines are accepted", where);
    if (!returned) return;
    fuzz::Require(accepted.action == expected.action, "the same action is chosen", where);
    fuzz::Require(accepted.argument == expected.argument, "the same argument is passed", [&where] {
        return where() + ", argument \"" + fuzz::Escaped(accepted.argument) + "\"";
    });
    // Memory kept from one input to the next would make libFuzzer look for leaks every time.
    std::string().swap(accepted.argument);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    BuildProbes();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string first = input.substr(0, std::min(nul, kLongestLine));
    const std::string second =
        nul == std::string::npos ? std::string() : input.substr(nul + 1, kLongestLine);

    CheckDistance(first.substr(0, kLongestMeasured), second.substr(0, kLongestMeasured));
    for (std::size_t scene = 0; scene < probes.size(); ++scene) {
        CheckMatch(*probes[scene], scene, first);
        CheckMatch(*probes[scene], scene, second);
    }
    return 0;
}
