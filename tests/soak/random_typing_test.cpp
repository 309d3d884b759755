// A player who types 10,000 lines of random bytes, a thousand in each scene: straight into
// Game::HandleInput, and through the input field with the headless driver's Type. Nothing may
// crash, and every line must reach the log whole as its echo.

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "reference/markup_reference.h"
#include "reference/typed_input.h"
#include "soak/scene_paths.h"
#include "story/story.h"
#include "support/headless_driver.h"

namespace {

constexpr int kLinesPerScene = 1000;
constexpr unsigned kSeed = 77031;
constexpr std::size_t kLongestLine = reference::kLongestTypedLine;
// Typed text may run past what the field takes, to see it cut off cleanly.
constexpr std::size_t kLongestTyping = 40;
// After its echo a line's handler, a scene entry and one update may print, a few lines each.
constexpr std::size_t kLinesAfterEcho = 12;
// An echo is at most 31 bytes and its two tags: narrower consoles would wrap it.
constexpr int kNarrowestUnwrappedEcho = 40;

std::string RandomBytes(std::mt19937& random, std::size_t shortest, std::size_t longest) {
    std::uniform_int_distribution<std::size_t> length(shortest, longest);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(length(random), '\0');
    for (char& b : bytes) b = static_cast<char>(byte(random));
    return bytes;
}

// The echo of a line, display line by display line, as the plain reference reads it.
std::vector<reference::StyledText> EchoShown(const std::string& line) {
    std::vector<reference::StyledText> shown;
    char style = reference::kPlainStyle;
    for (const std::string& piece : reference::SplitAtNewlines("<s>" + line + "</>")) {
        shown.push_back(reference::ScanMarkup(piece, style));
    }
    return shown;
}

bool LogEndsWithEcho(const Console& console, std::size_t from, const std::string& line) {
    const std::vector<reference::StyledText> echo = EchoShown(line);
    if (console.lines().size() < from + echo.size()) return false;
    for (std::size_t k = 0; k < echo.size(); ++k) {
        if (!reference::Shown(console.lines()[from + k]).SameShown(echo[k])) return false;
    }
    return true;
}

// Whether the echo is among the last lines of the log.
bool EchoNearTheEnd(const Console& console, const std::string& line) {
    const std::size_t size = console.lines().size();
    for (std::size_t back = 1; back <= kLinesAfterEcho + 1 && back <= size; ++back) {
        if (LogEndsWithEcho(console, size - back, line)) return true;
    }
    return false;
}

// Only the wake-up scene's entry empties the log, and it may run in the frame of the line.
bool LogWasEmptied(HeadlessDriver& driver) {
    return driver.console().lines().empty() && driver.game().currentScene == WakeUp;
}

struct Tally {
    int lines = 0;
    int echoed = 0;
    int emptied = 0;
    int sceneChanges = 0;
};

TEST(RandomTyping, TenThousandLinesOfRandomBytesIntoHandleInput) {
    std::mt19937 random(kSeed);
    std::uniform_real_distribution<float> frame(0.001f, 0.25f);
    Tally tally;
    for (const soak::ScenePath& path : soak::PathsToEveryScene()) {
        HeadlessDriver driver;
        for (const std::string& line : path.typed) driver.Type(line);
        ASSERT_EQ(driver.game().currentScene, path.scene);
        ASSERT_GE(driver.console().wrapWidth, kNarrowestUnwrappedEcho);
        for (int n = 0; n < kLinesPerScene; ++n) {
            const std::string line = RandomBytes(random, 1, kLongestLine);
            const std::size_t before = driver.console().lines().size();
            const int scene = driver.game().currentScene;
            driver.game().HandleInput(driver.console(), line);
            ++tally.lines;
            tally.sceneChanges += driver.game().currentScene != scene ? 1 : 0;
            if (LogWasEmptied(driver)) {
                ++tally.emptied;
            } else {
                ASSERT_TRUE(LogEndsWithEcho(driver.console(), before, line))
                    << "scene " << scene << ", line " << testing::PrintToString(line);
                ++tally.echoed;
            }
            ASSERT_GE(driver.game().currentScene, 0);
            ASSERT_LT(driver.game().currentScene, kSceneCount);
            ASSERT_EQ(driver.game().previousScene, driver.game().currentScene);
            driver.Frame(frame(random));
        }
    }
    EXPECT_EQ(tally.lines, kSceneCount * kLinesPerScene);
    std::printf(
        "HandleInput: %d random lines, %d echoed whole, %d echoes emptied by waking up, "
        "%d changed the scene\n",
        tally.lines, tally.echoed, tally.emptied, tally.sceneChanges);
}

TEST(RandomTyping, TenThousandLinesOfRandomBytesThroughTheInputField) {
    std::mt19937 random(kSeed + 1);
    Tally tally;
    int reshaped = 0;  // lines the field took differently from the bytes typed
    for (const soak::ScenePath& path : soak::PathsToEveryScene()) {
        HeadlessDriver driver;
        for (const std::string& line : path.typed) driver.Type(line);
        ASSERT_EQ(driver.game().currentScene, path.scene);
        for (int n = 0; n < kLinesPerScene; ++n) {
            const std::string typed = RandomBytes(random, 0, kLongestTyping);
            const std::string expected = reference::FieldLineAfterTyping(typed);
            const int scene = driver.game().currentScene;
            const std::string line = driver.Type(reference::PaddedForTyping(typed));
            ++tally.lines;
            ASSERT_EQ(line, expected)
                << "scene " << scene << ", typed " << testing::PrintToString(typed);
            ASSERT_LE(line.size(), kLongestLine);
            reshaped += line != typed ? 1 : 0;
            tally.sceneChanges += driver.game().currentScene != scene ? 1 : 0;
            if (line.empty()) continue;
            if (LogWasEmptied(driver)) {
                ++tally.emptied;
            } else {
                ASSERT_TRUE(EchoNearTheEnd(driver.console(), line))
                    << "scene " << scene << ", line " << testing::PrintToString(line);
                ++tally.echoed;
            }
        }
    }
    EXPECT_EQ(tally.lines, kSceneCount * kLinesPerScene);
    std::printf(
        "Type: %d random lines, %d echoed whole, %d echoes emptied by waking up, %d "
        "changed the scene, %d taken by the field otherwise than typed\n",
        tally.lines, tally.echoed, tally.emptied, tally.sceneChanges, reshaped);
}

}  // namespace
