#pragma once

#include <optional>
#include <string>
#include <vector>

// What the window program was asked to do by its arguments.
enum class CommandLineAction { kPlay, kPrintHelp, kPrintVersion, kBadArgument };

struct CommandLine {
    CommandLineAction action = CommandLineAction::kPlay;
    std::string error;           // why, for kBadArgument
    std::optional<float> scale;  // --scale: overrides the desktop's scale and the screen's size
    bool speak = false;          // --speak: say the game's text aloud
};

// The range --scale accepts.
inline constexpr float kSmallestScale = 0.5f;
inline constexpr float kLargestScale = 4.0f;

#ifdef _WIN32
inline constexpr const char* kWindowUsage =
    "Usage: tarnwick [--scale F] [--speak] [--help | --version]\n"
    "Plays Vosk - Tarnwick III, a very short text adventure, in a 1280 x 720 window, scaled\n"
    "by the display's scale setting and made smaller if the screen has no room for it.\n"
    "  --scale F  draw the window at F times its size instead (0.5 to 4, e.g. 1.5)\n"
    "  --speak    say the game's text aloud in Windows' own voice; with a screen reader\n"
    "             running (NVDA, JAWS, Narrator), the reader says it, even without --speak\n"
    "  --help     show this text\n"
    "  --version  show the version\n"
    "Keys: Ctrl with + or = / - / 0 (or the keypad's + and -, or Ctrl with the wheel) zoom\n"
    "the text from 50% to 300% and back; F11 or Alt+Enter full screen; Page Up / Page Down\n"
    "scroll the story, Ctrl+Home / Ctrl+End to its start and end; Ctrl+Shift+C copies it;\n"
    "F5 turns speech on or off, F6 says the last reply again, Ctrl stops what is said.\n"
    "The zoom, full screen and speech are kept in %APPDATA%\\tarnwick\\settings.\n"
    "Hack-Bold.ttf and splash.png are looked for in the working folder and beside the\n"
    "program.\n";
#else
inline constexpr const char* kWindowUsage =
    "Usage: tarnwick [--scale F] [--speak] [--help | --version]\n"
    "Plays Vosk - Tarnwick III, a very short text adventure, in a 1280 x 720 window, scaled\n"
    "by the desktop's scale (Xft.dpi / 96) and made smaller if the screen has no room for it.\n"
    "  --scale F  draw the window at F times its size instead (0.5 to 4, e.g. 1.5)\n"
    "  --speak    say the game's text aloud through Speech Dispatcher; it also speaks when\n"
    "             the desktop says a screen reader runs\n"
    "  --help     show this text\n"
    "  --version  show the version\n"
    "Keys: Ctrl with + or = / - / 0 (or the keypad's + and -, or Ctrl with the wheel) zoom\n"
    "the text from 50% to 300% and back; F11 or Alt+Enter full screen; Page Up / Page Down\n"
    "scroll the story, Ctrl+Home / Ctrl+End to its start and end; Ctrl+Shift+C copies it;\n"
    "F5 turns speech on or off, F6 says the last reply again, Ctrl stops what is said.\n"
    "The zoom, full screen and speech are kept in $XDG_CONFIG_HOME/tarnwick/settings (else\n"
    "in ~/.config/tarnwick/settings); with --scale the saved zoom is neither used nor changed.\n"
    "Hack-Bold.ttf and splash.png are looked for in the working directory, beside the\n"
    "program, in ../share/games/tarnwick from the program's folder, and the font also in\n"
    "/usr/share/fonts/truetype/hack. tarnwick-text plays the same story in a terminal.\n";
#endif

// Reads the arguments after the program name; the first one that is not understood wins.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// Prints what the arguments ask for and returns the exit status; nothing when the game should
// start.
std::optional<int> AnswerCommandLine(const CommandLine& command);
