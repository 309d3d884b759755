#include "app/command_line.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "version/version.h"

namespace {

constexpr int kBadUsage = 2;
constexpr int kWriteFailed = 1;

// A full disk or a closed pipe must not pass for a printed answer.
int Flushed() {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
    std::fprintf(stderr, "tarnwick: cannot write to the standard output: %s\n",
                 std::strerror(errno));
    return kWriteFailed;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine command;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            if (command.action == CommandLineAction::kPlay) {
                command.action = CommandLineAction::kPrintHelp;
            }
        } else if (arg == "--version") {
            if (command.action == CommandLineAction::kPlay) {
                command.action = CommandLineAction::kPrintVersion;
            }
        } else {
            command.action = CommandLineAction::kBadArgument;
            command.error = arg.rfind('-', 0) == 0 ? "unknown option '" + arg + "'"
                                                   : "unexpected argument '" + arg + "'";
            return command;
        }
    }
    return command;
}

std::optional<int> AnswerCommandLine(int argc, char** argv) {
    const CommandLine command = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (command.action) {
        case CommandLineAction::kPlay:
            return std::nullopt;
        case CommandLineAction::kPrintHelp:
            std::fputs(kWindowUsage, stdout);
            return Flushed();
        case CommandLineAction::kPrintVersion:
            std::printf("tarnwick %s\n", kTarnwickVersion);
            return Flushed();
        case CommandLineAction::kBadArgument:
            std::fprintf(stderr, "tarnwick: %s\n", command.error.c_str());
            std::fputs(kWindowUsage, stderr);
            return kBadUsage;
    }
    return kBadUsage;
}
