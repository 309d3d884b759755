#include "app/startup/command_line.h"

const char* const kWindowOptions =
    "Usage: tarnwick [--scale F] [--speak] [--time-to-act STEP] [--help | --version]\n"
    "Plays Vosk - Tarnwick III, a very short text adventure, in a 1280 x 720 window, scaled\n"
    "by the display's scale setting and made smaller if the screen has no room for it.\n"
    "  --scale F  draw the window at F times its size instead (0.5 to 4, e.g. 1.5)\n"
    "  --speak    say the game's text aloud in Windows' own voice; with a screen reader\n"
    "             running (NVDA, JAWS, Narrator), the reader says it, even without --speak\n"
    "  --time-to-act STEP\n"
    "             the time to act once the story warns you, all else as written: normal\n"
    "             (as written: the beast strikes 2 s after its warning), longer (three\n"
    "             times as long: 6 s) or longest (ten times: 20 s); F7 changes it in play\n"
    "  --help     show this text\n"
    "  --version  show the version\n";

const char* const kWindowFiles =
    "The zoom, full screen, speech and time to act are kept in\n"
    "%APPDATA%\\tarnwick\\settings.\n"
    "Hack-Bold.ttf and splash.png are looked for in the working folder and beside the\n"
    "program.\n";
