#include "app/startup/command_line.h"

const char* const kWindowScaleSource =
    "by the display's scale setting and made smaller if the screen has no room for it.\n";

const char* const kWindowSpeakOption =
    "  --speak    say the game's text aloud in Windows' own voice; with a screen reader\n"
    "             running (NVDA, JAWS, Narrator), the reader says it, even without --speak\n";

const char* const kWindowFiles =
    "The zoom, full screen, speech and time to act are kept in\n"
    "%APPDATA%\\tarnwick\\settings; with --scale the saved zoom is neither used nor changed, with\n"
    "--time-to-act the saved step is not used.\n"
    "Hack-Bold.ttf and splash.png are looked for in the working folder and beside the\n"
    "program.\n";
