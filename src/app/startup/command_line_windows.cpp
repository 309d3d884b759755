#include "app/startup/command_line.h"

const char* const kWindowUsage =
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
