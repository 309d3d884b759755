#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/time_to_act.h"

// What the window program was asked to do by its arguments.
enum class CommandLineAction { kPlay, kPrintHelp, kPrintVersion, kBadArgument };

struct CommandLine {
    CommandLineAction action = CommandLineAction::kPlay;
    std::string error;           // why, for kBadArgument
    std::optional<float> scale;  // --scale: overrides the desktop's scale and the screen's size
    bool speak = false;          // --speak: say the game's text aloud
    std::optional<TimeToAct> timeToAct;  // --time-to-act: overrides the saved step
    std::string notice;                  // an argument left out, said before play
};

// The range --scale accepts.
inline constexpr float kSmallestScale = 0.5f;
inline constexpr float kLargestScale = 4.0f;

// What --help prints around the window's keys: the usage and options, then the files the game
// reads and writes, both of which differ by system.
extern const char* const kWindowOptions;
extern const char* const kWindowFiles;

// Reads the arguments after the program name; the first one that is not understood wins.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// Prints what the arguments ask for and returns the exit status; nothing when the game should
// start.
std::optional<int> AnswerCommandLine(const CommandLine& command);
