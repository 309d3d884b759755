#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CommandLineTest, ActionsAndRefusals) {
    struct Case {
        std::vector<std::string> args;
        CommandLineAction action;
        std::string error;
    };
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
    };
    for (const Case& c : cases) {
        const CommandLine command = ParseCommandLine(c.args);
        EXPECT_EQ(command.action, c.action) << ::testing::PrintToString(c.args);
        EXPECT_EQ(command.error, c.error) << ::testing::PrintToString(c.args);
    }
}

}  // namespace
