#include "app/startup/command_line.h"
#include "app/window/window_scale.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

TEST(CommandLineTest, ActionsAndRefusals) {
    struct Case {
        std::vector<std::string> args;
        CommandLineAction action;
        std::string error;
        float scale = 0.0f;  // 0: none given
        bool speak = false;
        std::string timeToAct = "";  // the step's name; "" for none
        std::string notice = "";
    };
    const std::string kOutOfRange = "--scale takes a number from 0.5 to 4, not ";
    const Case cases[] = {
        {{}, CommandLineAction::kPlay, ""},
        {{"--help"}, CommandLineAction::kPrintHelp, ""},
        {{"-h"}, CommandLineAction::kPrintHelp, ""},
        {{"--version"}, CommandLineAction::kPrintVersion, ""},
        {{"--version", "--help"}, CommandLineAction::kPrintVersion, ""},
        {{"--fullscreen"}, CommandLineAction::kBadArgument, "unknown option '--fullscreen'"},
        {{"--help", "-x"}, CommandLineAction::kBadArgument, "unknown option '-x'"},
        {{"save.txt"}, CommandLineAction::kBadArgument, "unexpected argument 'save.txt'"},
        {{""}, CommandLineAction::kBadArgument, "unexpected argument ''"},
        {{"--scale", "1.5"}, CommandLineAction::kPlay, "", 1.5f},
        {{"--scale", "0.5", "--help"}, CommandLineAction::kPrintHelp, "", 0.5f},
        {{"--scale", "4"}, CommandLineAction::kPlay, "", 4.0f},
        {{"--speak", "--scale", "2"}, CommandLineAction::kPlay, "", 2.0f, true},
        {{"--scale", "4.01"}, CommandLineAction::kBadArgument, kOutOfRange + "'4.01'"},
        {{"--scale", "0.49"}, CommandLineAction::kBadArgument, kOutOfRange + "'0.49'"},
        {{"--scale", "2x"}, CommandLineAction::kBadArgument, kOutOfRange + "'2x'"},
        {{"--scale", "1e0"}, CommandLineAction::kBadArgument, kOutOfRange + "'1e0'"},
        {{"--scale"}, CommandLineAction::kBadArgument, "--scale needs a number from 0.5 to 4"},
        {{"--time-to-act", "longest"}, CommandLineAction::kPlay, "", 0, false, "longest"},
        {{"--time-to-act", "slow", "--speak"},
         CommandLineAction::kPlay,
         "",
         0,
         true,
         "",
         "--time-to-act takes normal, longer or longest, not 'slow'; left out"},
        {{"--time-to-act"},
         CommandLineAction::kBadArgument,
         "--time-to-act needs normal, longer or longest"},
    };
    for (const Case& c : cases) {
        const CommandLine command = ParseCommandLine(c.args);
        EXPECT_EQ(command.action, c.action) << ::testing::PrintToString(c.args);
        EXPECT_EQ(command.error, c.error) << ::testing::PrintToString(c.args);
        EXPECT_EQ(command.scale.value_or(0.0f), c.scale) << ::testing::PrintToString(c.args);
        EXPECT_EQ(command.speak, c.speak) << ::testing::PrintToString(c.args);
        EXPECT_EQ(command.timeToAct ? TimeToActName(*command.timeToAct) : "", c.timeToAct);
        EXPECT_EQ(command.notice, c.notice);
    }
}

TEST(WindowScaleTest, DesktopScaleFittedToTheScreenUnlessAsked) {
    struct Case {
        std::optional<float> requested;
        float contentScale;
        int workWidth, workHeight;
        WindowScale expected;
    };
    const Case cases[] = {
        {std::nullopt, 1.0f, 1920, 1080, {1.0f, 1280, 720}},
        {std::nullopt, 2.0f, 2560, 1600, {2.0f, 2560, 1440}},
        {std::nullopt, 1.0f, 1024, 600, {0.8f, 1024, 576}},      // a netbook
        {std::nullopt, 2.0f, 1920, 1040, {1.444f, 1849, 1040}},  // a panel takes 40 rows
        {std::nullopt, 0.0f, 0, 0, {1.0f, 1280, 720}},           // nothing known
        {std::nullopt, 1.0f, 300, 200, {0.5f, 640, 360}},        // never below the smallest
        {1.5f, 2.0f, 1024, 600, {1.5f, 1920, 1080}},             // --scale overrides both
    };
    for (const Case& c : cases) {
        const WindowScale chosen =
            ChooseWindowScale(c.requested, c.contentScale, c.workWidth, c.workHeight);
        SCOPED_TRACE(&c - cases);
        EXPECT_NEAR(chosen.scale, c.expected.scale, 0.001f);
        EXPECT_EQ(chosen.width, c.expected.width);
        EXPECT_EQ(chosen.height, c.expected.height);
    }
}

TEST(WindowScaleTest, PlacedInTheWorkAreaWithItsFrame) {
    struct Case {
        std::optional<float> requested;
        WorkArea area;
        FrameExtents frame;
        WindowPlacement expected;
    };
    const Case cases[] = {
        // A 48-pixel panel under a 1366 x 768 screen, a title bar of 24 rows.
        {std::nullopt, {1.0f, 0, 0, 1366, 720}, {1, 24, 1, 5}, {{0.96f, 1228, 691}, true, 69, 24}},
        {std::nullopt,
         {1.0f, 64, 32, 1856, 1048},
         {0, 30, 0, 0},
         {{1.0f, 1280, 720}, true, 352, 211}},
        {std::nullopt, {1.0f, 0, 0, 0, 0}, {1, 24, 1, 5}, {{1.0f, 1280, 720}, false, 0, 0}},
        {2.0f, {1.0f, 0, 0, 1366, 720}, {1, 24, 1, 5}, {{2.0f, 2560, 1440}, true, 1, 24}},
    };
    for (const Case& c : cases) {
        const WindowPlacement placed = PlaceWindow(c.requested, c.area, c.frame);
        SCOPED_TRACE(&c - cases);
        EXPECT_NEAR(placed.size.scale, c.expected.size.scale, 0.001f);
        EXPECT_EQ(placed.size.width, c.expected.size.width);
        EXPECT_EQ(placed.size.height, c.expected.size.height);
        EXPECT_EQ(placed.positioned, c.expected.positioned);
        EXPECT_EQ(placed.x, c.expected.x);
        EXPECT_EQ(placed.y, c.expected.y);
    }
}

}  // namespace
