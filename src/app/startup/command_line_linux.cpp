#include "app/startup/command_line.h"

const char* const kWindowScaleSource =
    "by the desktop's scale (Xft.dpi / 96) and made smaller if the screen has no room for it.\n";

const char* const kWindowSpeakOption =
    "  --speak    say the game's text aloud through Speech Dispatcher; a screen reader\n"
    "             (Orca) reads the game's window itself and needs no --speak\n";

const char* const kWindowFiles =
    "The zoom, full screen, speech and time to act are kept in\n"
    "$XDG_CONFIG_HOME/tarnwick/settings (else in ~/.config/tarnwick/settings); with --scale the\n"
    "saved zoom is neither used nor changed, with --time-to-act the saved step is not used.\n"
    "Hack-Bold.ttf and splash.png are looked for in the working directory, beside the\n"
    "program, in ../share/games/tarnwick from the program's folder, and the font also in\n"
    "/usr/share/fonts/truetype/hack. tarnwick-text plays the same story in a terminal.\n";
