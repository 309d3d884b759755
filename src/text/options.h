#pragma once

#include <string>

#include <vector>
#include "engine/time_to_act.h"

struct Options {
    std::string scriptPath;      // scripted play when not empty
    std::string transcriptPath;  // a transcript is written when not empty
    double pace = 1.0;           // game seconds per real second, interactive play only
    TimeToAct timeToAct = TimeToAct::kNormal;
    std::string notice;   // said on standard error before play: an option left out
    bool markup = false;  // transcripts keep the log's colour markup
    bool plain = false;   // the terminal edits typed lines itself
    bool help = false;
    bool version = false;
};

inline constexpr const char* kUsage =
    "Usage: tarnwick-text [--pace F] [--time-to-act STEP] [--plain] [--transcript FILE]\n"
    "                     [--markup]\n"
    "       tarnwick-text --script FILE [--time-to-act STEP] [--transcript FILE] [--markup]\n"
    "Plays Vosk - Tarnwick III in a terminal.\n"
    "  --pace F           run the whole game clock at F times real time (default 1):\n"
    "                     every timed text and reminder moves with it\n"
    "  --time-to-act STEP the time to act once the story warns you, all else as written:\n"
    "                     normal (as written: the beast strikes 2 s after its warning),\n"
    "                     longer (three times as long: 6 s), longest (ten times: 20 s)\n"
    "  --plain            leave line editing to the terminal: no history, no redrawing\n"
    "  --script FILE      play the lines of FILE on a virtual clock and print the transcript;\n"
    "                     lines are '> command', 'wait SECONDS' or '# comment'\n"
    "  --transcript FILE  also write everything shown, as plain text, to FILE\n"
    "  --markup           write transcripts with the colour markup of the log: <a>actions</>,\n"
    "                     <h>hints</>, <i>things to use</> (for --script and --transcript)\n"
    "  --help             show this text\n"
    "  --version          show the version\n"
    "Colours are left out when NO_COLOR is set or the output is not a terminal.\n";

// Reads the arguments after the program name. False, with the reason in `error`, for anything
// it does not understand.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);
