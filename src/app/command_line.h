#pragma once

#include <optional>
#include <string>
#include <vector>

// What the window program was asked to do by its arguments.
enum class CommandLineAction { kPlay, kPrintHelp, kPrintVersion, kBadArgument };

struct CommandLine {
    CommandLineAction action = CommandLineAction::kPlay;
    std::string error;  // why, for kBadArgument
};

inline constexpr const char* kWindowUsage =
    "Usage: tarnwick [--help | --version]\n"
    "Plays Vosk - Tarnwick III, a very short text adventure, in a 1280 x 720 window.\n"
    "  --help     show this text\n"
    "  --version  show the version\n"
    "Hack-Bold.ttf and splash.png are looked for in the working directory, beside the\n"
    "program, in ../share/games/tarnwick from the program's folder, and the font also in\n"
    "/usr/share/fonts/truetype/hack. tarnwick-text plays the same story in a terminal.\n";

// Reads the arguments after the program name; the first one that is not understood wins.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// Prints what the arguments ask for and returns the exit status; nothing when the game should
// start.
std::optional<int> AnswerCommandLine(int argc, char** argv);
