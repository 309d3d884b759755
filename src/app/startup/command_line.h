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

// What --help says that differs by system: where the window's scale comes from, the voice
// --speak uses, and the files the game reads and writes.
extern const char* const kWindowScaleSource;
extern const char* const kWindowSpeakOption;
extern const char* const kWindowFiles;

// Reads the arguments after the program name; the first one that is not understood wins.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// Prints what the arguments ask for and returns the exit status; nothing when the game should
// start.
std::optional<int> AnswerCommandLine(const CommandLine& command);
