#pragma once

#include <string>

#include "console/span_style.h"

// How many colours the terminal shows, from most to fewest.
enum class ColourDepth { None, Ansi8, Ansi16, Palette256, TrueColour };

// The depth a terminal asks for: 24-bit where COLORTERM says "truecolor" or "24bit", else what
// its terminfo description counts (`terminfoColours`, -1 without one). Either may be null.
ColourDepth ChooseColourDepth(const char* colorTerm, int terminfoColours);

// The select-graphic-rendition sequence that colours what follows in a style's colour, or the
// nearest one the depth has; empty for None.
std::string ColourSequence(SpanStyle style, ColourDepth depth);
inline constexpr const char* kResetSequence = "\x1b[0m";
