#include "app/startup/command_line.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "version/version.h"

namespace {

constexpr int kBadUsage = 2;
constexpr int kWriteFailed = 1;

// A --scale value: a plain decimal number in range, nothing else.
std::optional<float> ParseScale(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) {
        return std::nullopt;
    }
    char* end = nullptr;
    const float scale = std::strtof(text.c_str(), &end);
    if (*end != '\0' || !(scale >= kSmallestScale && scale <= kLargestScale)) return std::nullopt;
    return scale;
}

// A full disk or a closed pipe must not pass for a printed answer.
int Flushed() {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
    std::fprintf(stderr, "tarnwick: cannot write to the standard output: %s\n",
                 std::strerror(errno));
    return kWriteFailed;
}

// The usage and the options the same on every system, around the system's own lines.
constexpr const char* kWindowUsage =
    "Usage: tarnwick [--scale F] [--speak] [--time-to-act STEP] [--help | --version]\n"
    "Plays Vosk - Tarnwick III, a very short text adventure, in a 1280 x 720 window, scaled\n";
constexpr const char* kWindowScaleOption =
    "  --scale F  draw the window at F times its size instead (0.5 to 4, e.g. 1.5)\n";
constexpr const char* kWindowOtherOptions =
    "  --time-to-act STEP\n"
    "             the time to act once the story warns you, all else as written: normal\n"
    "             (as written: the beast strikes 2 s after its warning), longer (three\n"
    "             times as long: 6 s) or longest (ten times: 20 s); F7 changes it in play\n"
    "  --help     show this text\n"
    "  --version  show the version\n";

// The window's own keys, the same on every system.
constexpr const char* kWindowKeys =
    "Keys: Ctrl with + or = / - / 0 (or the keypad's + and -, or Ctrl with the wheel) zoom\n"
    "the text from 50% to 300% and back; F11 or Alt+Enter full screen; Page Up / Page Down\n"
    "scroll the story, Ctrl+Home / Ctrl+End to its start and end; Ctrl+Shift+C copies it;\n"
    "F5 turns speech on or off, F6 says the last reply again, Ctrl stops what is said;\n"
    "F7 gives more time to act (normal, longer, longest, then normal again), and says so.\n";

void PrintUsage(std::FILE* out) {
    for (const char* part : {kWindowUsage, kWindowScaleSource, kWindowScaleOption,
                             kWindowSpeakOption, kWindowOtherOptions, kWindowKeys}) {
        std::fputs(part, out);
    }
    std::fputs(kWindowFiles, out);
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine command;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--scale") {
            const std::optional<float> scale =
                i + 1 < args.size() ? ParseScale(args[i + 1]) : std::nullopt;
            if (!scale) {
                command.action = CommandLineAction::kBadArgument;
                command.error =
                    i + 1 < args.size()
                        ? "--scale takes a number from 0.5 to 4, not '" + args[i + 1] + "'"
                        : "--scale needs a number from 0.5 to 4";
                return command;
            }
            command.scale = scale;
            ++i;
        } else if (arg == "--time-to-act") {
            if (i + 1 == args.size()) {
                command.action = CommandLineAction::kBadArgument;
                command.error = "--time-to-act needs " + std::string(kTimeToActNames);
                return command;
            }
            // A wrong step costs the player no game: it is said and left out.
            command.timeToAct = ParseTimeToAct(args[++i]);
            if (!command.timeToAct) {
                command.notice = "--time-to-act takes " + std::string(kTimeToActNames) + ", not '" +
                                 args[i] + "'; left out";
            }
        } else if (arg == "--speak") {
            command.speak = true;
        } else if (arg == "--help" || arg == "-h") {
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

std::optional<int> AnswerCommandLine(const CommandLine& command) {
    switch (command.action) {
        case CommandLineAction::kPlay:
            if (!command.notice.empty())
                std::fprintf(stderr, "tarnwick: %s\n", command.notice.c_str());
            return std::nullopt;
        case CommandLineAction::kPrintHelp:
            PrintUsage(stdout);
            return Flushed();
        case CommandLineAction::kPrintVersion:
            std::printf("tarnwick %s\n", kTarnwickVersion);
            return Flushed();
        case CommandLineAction::kBadArgument:
            std::fprintf(stderr, "tarnwick: %s\n", command.error.c_str());
            PrintUsage(stderr);
            return kBadUsage;
    }
    return kBadUsage;
}
