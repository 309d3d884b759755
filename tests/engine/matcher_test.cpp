// Scene::TryAction: which action a typed line asks for, and with what argument.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/scene.h"

namespace {

using PhraseLists = std::vector<std::vector<std::string>>;

struct Accepted {
    int action;
    std::string argument;
};

// Runs the line against a scene with these phrase lists; reports which handler ran.
std::optional<Accepted> Match(const PhraseLists& lists, const std::string& line) {
    std::optional<Accepted> accepted;
    int calls = 0;
    Scene scene([] {}, [] {});
    for (std::size_t i = 0; i < lists.size(); ++i) {
        scene.actions.push_back({lists[i], [&accepted, &calls, i](const std::string& argument) {
                                     accepted = Accepted{static_cast<int>(i), argument};
                                     ++calls;
                                 }});
    }
    const bool result = scene.TryAction(line);
    EXPECT_EQ(result, accepted.has_value()) << line;
    EXPECT_LE(calls, 1) << line;
    return accepted;
}

const PhraseLists kRoom = {
    {"look", "look around", "peek around"},
    {"look outside", "look at window", "look through window", "look out of window"},
    {"look at dresser", "view dresser", "inspect dresser", "walk to dresser", "approach dresser"},
    {"open drawer", "view drawer", "inspect drawer", "open another drawer",
     "inspect another drawer"},
    {"take key", "grab key", "pickup key", "get key"},
    {"look at door", "inspect door", "view door"},
    {"enter door", "open door", "walk through door"},
};
const PhraseLists kConfirm = {{"y", "yes", " uhu", "sure", "confirm"}, {"no"}};
const PhraseLists kRedButton = {{"press", "push", "hit", "slam", "push the"}};
const PhraseLists kTwoDoors = {
    {"open left door", "open left", "enter left"},
    {"open right door", "open right", "enter right"},
    {"use key", "unlock door", "unlock right door", "use key on door", "use key on right door",
     "unlock right"},
    {"go back", "walk back"},
};
const PhraseLists kHallway = {
    {"walk", "walk to end of hallway", "walk to end", "go to end", "go to end of hallway",
     "walk down hallway", "walk there"},
    {"go back", "enter room"},
};
const PhraseLists kWelcome = {{"i understand"}};
const PhraseLists kBeast = {
    {"close", "close door", "close left door", "shut", "shut door", "shut left door"}};

}  // namespace

TEST(TryAction, PicksTheBestPhraseWithinTwoEdits) {
    const struct {
        const PhraseLists* lists;
        std::string line;
        std::optional<int> action;  // none: rejected
        std::string argument;
    } cases[] = {
        {&kRoom, "Lok around", 0, ""},
        {&kRoom, "lookxyz", 0, ""},
        {&kRoom, "look", 0, ""},
        {&kRoom, "take the key", std::nullopt, ""},
        {&kRoom, "pick up key", 4, ""},
        {&kRoom, "LOOK AT DOOR please", 5, " please"},
        {&kConfirm, "yellow", 0, ""},
        {&kConfirm, "yse", 0, ""},
        {&kConfirm, "eys", std::nullopt, ""},
        {&kConfirm, "n", 1, ""},
        {&kConfirm, "nope", 1, ""},
        {&kConfirm, "uhu", 0, ""},
        {&kConfirm, " uhu", 0, ""},
        {&kConfirm, "ok", std::nullopt, ""},
        {&kConfirm, "maybe", std::nullopt, ""},
        {&kRedButton, "PUSH the red button", 0, " red button"},
        {&kRedButton, "push", 0, ""},
        {&kRedButton, "push button", 0, " button"},
        {&kRedButton, "press the red button", 0, " the red button"},
        {&kTwoDoors, "open lft door now", 0, " now"},
        {&kTwoDoors, "open door", std::nullopt, ""},
        {&kTwoDoors, "unlock", std::nullopt, ""},
        {&kTwoDoors, "use key", 2, ""},
        {&kHallway, "walk to the end of hallway", std::nullopt, ""},
        {&kHallway, "go back", 1, ""},
        {&kWelcome, "i dont understand", std::nullopt, ""},
        {&kWelcome, "I UNDERSTAND", 0, ""},
        {&kWelcome, "understand", 0, ""},
        {&kBeast, "CLOSE IT", 0, " it"},
        {&kBeast, "close door", 0, ""},
        {&kBeast, "shut", 0, ""},
        {&kBeast, "close the door", std::nullopt, ""},
        {&kBeast, "shut the door", std::nullopt, ""},
        {&kBeast, "", std::nullopt, ""},
        {&kBeast, "   close", std::nullopt, ""},  // leading spaces are not trimmed
    };
    for (const auto& c : cases) {
        const std::optional<Accepted> accepted = Match(*c.lists, c.line);
        ASSERT_EQ(accepted.has_value(), c.action.has_value()) << "'" << c.line << "'";
        if (!accepted) continue;
        EXPECT_EQ(accepted->action, *c.action) << "'" << c.line << "'";
        EXPECT_EQ(accepted->argument, c.argument) << "'" << c.line << "'";
    }
}

TEST(TryAction, KeepsTheFirstOfEquallyGoodPhrases) {
    const PhraseLists tie = {{"yes"}, {"yea"}};
    const auto accepted = Match(tie, "ye");
    ASSERT_TRUE(accepted.has_value());
    EXPECT_EQ(accepted->action, 0);

    const PhraseLists reversed = {{"yea"}, {"yes"}};
    ASSERT_TRUE(Match(reversed, "ye").has_value());
    EXPECT_EQ(Match(reversed, "ye")->action, 0);
}

TEST(TryAction, AcceptsOnlyTheRememberedPhrase) {
    // "walk to end of hallway" outscores the exact "walk" but is eight edits away, so the
    // whole line is rejected rather than falling back to "walk".
    EXPECT_FALSE(Match(kHallway, "walk to the end of hallway").has_value());
    // The largest distance accepted grows with the phrase: exact for one byte, one edit for
    // two or three bytes, two edits from four bytes on.
    EXPECT_FALSE(Match({{"x"}}, "y").has_value());
    EXPECT_TRUE(Match({{"xy"}}, "xz").has_value());
    EXPECT_FALSE(Match({{"xyz"}}, "xab").has_value());
    EXPECT_TRUE(Match({{"wxyz"}}, "wxab").has_value());
    EXPECT_FALSE(Match({{"wxyz"}}, "wabc").has_value());
}

TEST(TryAction, RejectsEverythingWithoutActionsOrWithEmptyPhrases) {
    EXPECT_FALSE(Match({}, "look").has_value());
    EXPECT_FALSE(Match({{""}}, "").has_value());
    EXPECT_FALSE(Match({{""}}, "anything").has_value());
}

TEST(TryAction, LowerCasesOnlyAsciiLettersAndReadsAnyBytes) {
    const auto accepted = Match({{"push"}}, "PUSH \xC3\x89LAN \xFF Z");
    ASSERT_TRUE(accepted.has_value());
    EXPECT_EQ(accepted->argument, " \xC3\x89lan \xFF z");

    const std::string binary("\x00\x01\xFF<a></>\n\t", 10);
    EXPECT_FALSE(Match(kRoom, binary).has_value());
    EXPECT_FALSE(Match(kConfirm, std::string(31, '\x80')).has_value());
}
