#include "app/startup/command_line.h"

const char* const kWindowOptions =
    "Usage: tarnwick [--scale F] [--speak] [--time-to-act STEP] [--help | --version]\n"
    "Plays Vosk - Tarnwick III, a very short text adventure, in a 1280 x 720 window, scaled\n"
    "by the desktop's scale (Xft.dpi / 96) and made smaller if the screen has no room for it.\n"
    "  --scale F  draw the window at F times its size instead (0.5 to 4, e.g. 1.5)\n"
    "  --speak    say the game's text aloud through Speech Dispatcher; a screen reader\n"
    "             (Orca) reads the game's window itself and needs no --speak\n"
    "  --time-to-act STEP\n"
    "             the time to act once the story warns you, all else as written: normal\n"
    "             (as written: the beast strikes 2 s after its warning), longer (three\n"
    "             times as long: 6 s) or longest (ten times: 20 s); F7 changes it in play\n"
    "  --help     show this text\n"
    "  --version  show the version\n";

const char* const kWindowFiles =
    "The zoom, full screen, speech and time to act are kept in\n"
    "$XDG_CONFIG_HOME/tarnwick/settings (else in ~/.config/tarnwick/settings); with --scale the\n"
    "saved zoom is neither used nor changed, with --time-to-act the saved step is not used.\n"
    "Hack-Bold.ttf and splash.png are looked for in the working directory, beside the\n"
    "program, in ../share/games/tarnwick from the program's folder, and the font also in\n"
    "/usr/share/fonts/truetype/hack. tarnwick-text plays the same story in a terminal.\n";
